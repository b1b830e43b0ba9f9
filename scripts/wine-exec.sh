#!/usr/bin/env bash
# Runs a Windows program of a build under Wine with the build's prefix
# (WINEPREFIX) and loader (CALVERIN_WINE_ARCH, win32 unless set). The caller
# (test.sh) provides DISPLAY and keeps a wineserver alive.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"
skip_unless_runs "${CALVERIN_WINE_ARCH:-win32}"
use_wine "${CALVERIN_WINE_ARCH:-win32}" "${WINEPREFIX:?}"
exec "$WINE" "$@"
