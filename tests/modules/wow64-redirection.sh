#!/usr/bin/env bash
# Runs the Wow64 tests of the 32-bit test program in a 64-bit prefix. There
# the system folder (drive_c/windows/system32) holds 64-bit files, and a
# 32-bit program that names it is sent to drive_c/windows/syswow64 unless it
# switches redirection off.
#
# What it makes in the system folder (the tests rely on this layout):
#   calvwow/found.txt "wow64"
#   calvwow/d/d/.../ddddd: folders down to the search's deepest level (256,
#   calvwow being level 1), and below them one too deep to be entered
# Exits 77 (skipped) where this machine cannot run 32-bit programs.
# Usage: wow64-redirection.sh CALVERIN_TESTS_EXE_OF_THE_32_BIT_BUILD
set -euo pipefail
exe=${1:?32-bit test executable}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-env.sh"
skip_unless_runs win32
[ -f "$exe" ] || fail "finding the 32-bit test program $exe" "build it: scripts/build.sh win32"
prefix=${WINEPREFIX:?}
use_wine win64 "$prefix"

system=$prefix/drive_c/windows/system32
file=comctl32.dll
if cmp -s "$system/$file" "$prefix/drive_c/windows/syswow64/$file"; then
    fail "telling $file from its 32-bit namesake in $prefix" "remove $prefix and run again"
fi

# An 8.3 name: the search's short path is then as long as the real one.
name=calvwow
tree=$system/$name
cleanup() { rm -rf "$tree"; }
trap cleanup EXIT
cleanup
mkdir -p "$tree"
printf wow64 > "$tree/found.txt"
unix=$tree
for ((level = 2; level <= 256; level++)); do
    unix+=/d
done
mkdir -p "$unix/ddddd"

md5() { md5sum < "$1" | cut -d' ' -f1; }
CALVERIN_WOW64_SYSTEM_FILE="C:\\windows\\system32\\$file" \
    CALVERIN_WOW64_SYSTEM_MD5=$(md5 "$system/$file") \
    CALVERIN_WOW64_NAMESAKE_MD5=$(md5 "$prefix/drive_c/windows/syswow64/$file") \
    CALVERIN_WOW64_TREE="C:\\windows\\system32\\$name" \
    "$(wine_loader win32)" "$exe" --gtest_filter='*Wow64*' --gtest_brief=1
