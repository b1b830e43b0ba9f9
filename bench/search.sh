#!/usr/bin/env bash
# The checksum search under Wine, in two parts:
#  1. Throughput with a typed checksum (every file read) over 2,000 files of
#     500 MiB in all, against `find ... -type f -exec md5sum {} +` over the
#     same tree: files/s, MB/s and the ratio, best of three runs each.
#  2. The size filter: with field 1 taken from a file, a tree of 20,000 files
#     of which 20 have that file's size; the search counts how many files it
#     opened for hashing, and is timed against a typed checksum.
# Installs and builds what is missing; the trees are made once in build/bench.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"

"$root/scripts/install-deps.sh"
arch=${CALVERIN_ARCH:-$(preferred_arch)}
"$root/scripts/build.sh" "$arch"

work=$root/build/bench
mkdir -p "$work"
winpath() { echo "Z:${1//\//\\}"; }

# Part 1 tree: 20 folders of 100 files of 256 KiB, random bytes.
big=$work/search-2000
if [ ! -f "$big.done" ]; then
    rm -rf "$big"
    for d in $(seq -w 0 19); do
        mkdir -p "$big/d$d"
        head -c $((100 * 262144)) /dev/urandom | split -b 262144 -a 3 -d - "$big/d$d/f"
    done
    touch "$big.done"
fi

# Part 2 tree: 100 folders of 200 small files, sizes 1 to 4000 bytes but never
# 4096; 20 of them, spread over the folders, have 4096 bytes (each different).
# The target of that size lies outside the tree.
small=$work/search-20000
target=$work/search-target.bin
if [ ! -f "$small.done" ]; then
    rm -rf "$small"
    head -c 4096 /dev/urandom > "$target"
    pool=$work/search-pool.bin
    head -c 8192 /dev/urandom > "$pool"
    for d in $(seq -w 0 99); do
        mkdir -p "$small/d$d"
        for f in $(seq -w 0 199); do
            n=$((10#$d * 200 + 10#$f))
            if [ $((n % 1000)) -eq 500 ]; then
                { printf '%05d' "$n"; head -c 4091 "$pool"; } > "$small/d$d/f$f"
            else
                head -c $((n % 4000 + 1)) "$pool" > "$small/d$d/f$f"
            fi
        done
    done
    rm -f "$pool"
    touch "$small.done"
fi

prefix=$root/build/$arch/wineprefix
"$root/scripts/wine-prefix.sh" "$arch" "$prefix"
use_wine "$arch" "$prefix"
bench=$root/build/$arch/calverin_searchbench.exe
run_bench() {  # FOLDER TARGET -> "met read seconds"
    xvfb-run -a -s "-screen 0 1024x768x24" "$WINE" "$bench" "$(winpath "$1")" "$2" 3 </dev/null |
        tr -d '\r' | tail -n 1
}
best_of_3() {  # COMMAND... -> seconds
    local best=0 start elapsed
    for _ in 1 2 3; do
        start=$(date +%s%N)
        "$@" > /dev/null
        elapsed=$(( $(date +%s%N) - start ))
        if [ "$best" -eq 0 ] || [ "$elapsed" -lt "$best" ]; then best=$elapsed; fi
    done
    awk -v ns="$best" 'BEGIN { printf "%.6f", ns / 1e9 }'
}

echo "== Search throughput, typed checksum: 2,000 files, 500 MiB"
bytes=$(find "$big" -type f -printf '%s\n' | awk '{ s += $1 } END { print s }')
files=$(find "$big" -type f | wc -l)
cat $(find "$big" -type f) > /dev/null  # both read from the page cache
read -r met read_ ours < <(run_bench "$big" typed)
theirs=$(best_of_3 find "$big" -type f -exec md5sum {} +)
awk -v f="$files" -v b="$bytes" -v m="$met" -v r="$read_" -v o="$ours" -v t="$theirs" 'BEGIN {
    printf "search (Wine):  %d files met, %d read, %.3f s: %8.1f files/s %8.1f MB/s\n",
           m, r, o, m / o, b / 1e6 / o
    printf "find | md5sum:  %d files, %.3f s:            %8.1f files/s %8.1f MB/s\n",
           f, t, f / t, b / 1e6 / t
    printf "ratio search/md5sum: %.3f\n", t / o
}'

echo "== Size filter: 20,000 files, 20 of the target's size"
read -r met read_ filtered < <(run_bench "$small" "$(winpath "$target")")
read -r met2 read2 typed < <(run_bench "$small" typed)
printf 'field 1 from a file: %d files met, %d opened, %.3f s\n' "$met" "$read_" "$filtered"
printf 'typed checksum:      %d files met, %d opened, %.3f s\n' "$met2" "$read2" "$typed"
if [ "$read_" -ne 20 ] || [ "$met" -ne 20000 ]; then
    echo "expected 20,000 files met and 20 opened" >&2
    exit 1
fi
