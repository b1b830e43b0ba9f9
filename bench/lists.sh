#!/usr/bin/env bash
# Checksum lists on the real program under Wine and Xvfb against md5sum, one run
# each, for every build that runs here (or the one named):
#   - verifying 20,000 files of 4 KiB and one file of 1 GiB against md5sum -c,
#     and the list window's largest round trip while 100,000 entries are checked
#     (lists_bench.exe);
#   - creating a list of the same files against md5sum writing it
#     (find ... -exec md5sum {} +); the save-file dialog of /create is answered
#     with Enter (its proposed name, in the folder).
# Usage: bench/lists.sh [win32|win64]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/xvfb.sh"
reexec_under_xvfb 1280x1024 "$0" "$@"
if [ $# -gt 0 ]; then
    archs=("$1")
elif win32_runs; then
    archs=(win32 win64)
else
    echo "win32 skipped: $WIN32_WHY"
    archs=(win64)
fi
work=$(mktemp -d /tmp/calverin-lists-bench.XXXXXX)
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

echo "Creating the files..."
python3 - "$work" <<'PY'
import os, sys
work = sys.argv[1]
for i in range(20):
    d = os.path.join(work, "many", "d%d" % i)
    os.makedirs(d)
    for j in range(1000):
        with open(os.path.join(d, "f%d" % j), "wb") as f:
            f.write(os.urandom(4096))
for i in range(100):
    d = os.path.join(work, "huge", "d%d" % i)
    os.makedirs(d)
    for j in range(1000):
        with open(os.path.join(d, "f%d" % j), "wb") as f:
            f.write(b"%d %d" % (i, j))
PY
mkdir -p "$work/big"
head -c $((1 << 30)) /dev/urandom >"$work/big/one.bin"
for tree in many big huge; do
    (cd "$work/$tree" && find . -type f -printf '%P\0' | sort -z | xargs -0 md5sum >"$work/$tree.md5")
    mv "$work/$tree.md5" "$work/$tree/$tree.md5"
done
md5sum_verify() {
    local start
    start=$(now)
    (cd "$1" && md5sum -c --quiet "$2" >/dev/null)
    echo "$(now) - $start" | bc
}
# lists_bench's line: "NAME: MS ms; ..."
calverin_verify() {
    local line
    line=$("$WINE" "$root/build/$arch/lists_bench.exe" "$(winepath -w "$1")" | tr -d '\r')
    echo "$line" >&2
    echo "${line#*: }" | awk '{printf "%.3f", $1 / 1000}'
}

for arch in "${archs[@]}"; do
    echo "== $arch"
    prefix="$root/build/$arch/wineprefix"
    "$root/scripts/wine-prefix.sh" "$arch" "$prefix" >/dev/null
    use_wine "$arch" "$prefix"
    wineserver -p
    m=$(md5sum_verify "$work/many" many.md5); c=$(calverin_verify "$work/many/many.md5")
    report "verify 20,000 files of 4 KiB" $((20000 * 4096)) "$c" "$m"
    m=$(md5sum_verify "$work/big" big.md5); c=$(calverin_verify "$work/big/big.md5")
    report "verify one file of 1 GiB" $((1 << 30)) "$c" "$m"
    m=$(md5sum_verify "$work/huge" huge.md5); c=$(calverin_verify "$work/huge/huge.md5")
    echo "verify 100,000 entries: Calverin $c s, md5sum -c $m s (window round trips above)"
    rm -f "$work/many/many.md5" "$work/big/big.md5"
    c=$(calverin_create "$work/many"); m=$(md5sum_create "$work/many")
    report "create for 20,000 files of 4 KiB (with the window's start)" $((20000 * 4096)) "$c" "$m"
    c=$(calverin_create "$work/big"); m=$(md5sum_create "$work/big")
    report "create for one file of 1 GiB" $((1 << 30)) "$c" "$m"
    for tree in many big; do
        (cd "$work/$tree" && mv "$tree.md5" "$tree.created" && md5sum -c --quiet "$tree.created" >/dev/null &&
            echo "$tree: the created list reads back as all OK with md5sum -c")
        rm -f "$work/$tree/$tree.created"
        (cd "$work/$tree" && find . -type f -printf '%P\0' | sort -z | xargs -0 md5sum >"$work/$tree.md5")
        mv "$work/$tree.md5" "$work/$tree/$tree.md5"
    done
    wineserver -k >/dev/null 2>&1 || true
done
