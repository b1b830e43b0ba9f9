#!/usr/bin/env bash
# Scale and memory of the file road on the real program under Wine and Xvfb:
# a hand-off of many files (default 5000) with the window's round trip, the
# working set for a 2 GiB file against a 1 MiB file, and a cancel's delay.
# Usage: bench/road.sh [FILES [files|memory|cancel]]   (default: 5000, all parts)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

. "$root/scripts/xvfb.sh"
reexec_under_xvfb 1280x1024 "$0" "$@"

prefix="$root/build/$CALVERIN_ARCH/wineprefix"
"$root/scripts/wine-prefix.sh" "$CALVERIN_ARCH" "$prefix"
use_wine "$CALVERIN_ARCH" "$prefix"
wineserver -p
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
cd "$root/build/$CALVERIN_ARCH"
"$WINE" ./road_bench.exe "$@"
