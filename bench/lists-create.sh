#!/usr/bin/env bash
# Creating a checksum list with Calverin under Wine and Xvfb against md5sum
# writing it (find ... -exec md5sum {} +), one run each: 20,000 files of
# 4 KiB, then one file of 1 GiB; rates and ratios. The save-file dialog of
# /create is answered with Enter (its proposed name, in the folder).
# Usage: bench/lists-create.sh [ARCH]   (default win64)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-win64}
. "$root/scripts/xvfb.sh"
reexec_under_xvfb 1280x1024 "$0" "$@"
prefix="$root/build/$arch/wineprefix"
"$root/scripts/wine-prefix.sh" "$arch" "$prefix" >/dev/null
use_wine "$arch" "$prefix"
wineserver -p
work=$(mktemp -d /tmp/calverin-create-bench.XXXXXX)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

now() { date +%s.%N; }
# calverin_create FOLDER: seconds from start to the list's arrival.
calverin_create() {
    local folder=$1 list="$1/$(basename "$1").md5" start window
    rm -f "$list"
    "$WINE" "$root/build/$arch/Calverin.exe" >/dev/null 2>&1 &
    for _ in $(seq 1 100); do xdotool search --name '^Calverin$' >/dev/null 2>&1 && break; sleep 0.1; done
    start=$(now)
    "$WINE" "$root/build/$arch/Calverin.exe" /create "$(winepath -w "$folder")" >/dev/null 2>&1
    for _ in $(seq 1 200); do window=$(xdotool search --name '^Save' 2>/dev/null | head -1) && [ -n "$window" ] && break; sleep 0.05; done
    xdotool key --window "$window" Return
    while [ ! -f "$list" ]; do sleep 0.05; done
    echo "$(now) - $start" | bc
    wineserver -k >/dev/null 2>&1 || true
    wineserver -p
}
md5sum_create() {
    local start
    start=$(now)
    (cd "$1" && find . -type f ! -name '*.md5' -exec md5sum {} + >"$work/peer.md5")
    echo "$(now) - $start" | bc
}
report() { # WHAT BYTES CALVERIN_S MD5SUM_S
    printf '%s: Calverin %.1f MB/s (%.2f s), md5sum %.1f MB/s (%.2f s), ratio %.2f\n' "$1" \
        "$(echo "$2 / $3 / 1000000" | bc -l)" "$3" "$(echo "$2 / $4 / 1000000" | bc -l)" "$4" \
        "$(echo "$4 / $3" | bc -l)"
}

mkdir -p "$work/many"
for i in $(seq 0 19); do
    mkdir -p "$work/many/d$i"
    for j in $(seq 0 999); do head -c 4096 /dev/urandom >"$work/many/d$i/f$j"; done
done
c=$(calverin_create "$work/many"); m=$(md5sum_create "$work/many")
report "20,000 files of 4 KiB (with the window's start)" $((20000 * 4096)) "$c" "$m"
mkdir -p "$work/big"
head -c $((1 << 30)) /dev/urandom >"$work/big/one.bin"
c=$(calverin_create "$work/big"); m=$(md5sum_create "$work/big")
report "one file of 1 GiB" $((1 << 30)) "$c" "$m"
