#!/usr/bin/env bash
# Runs the hand-off test across builds in the 64-bit build's prefix, which
# runs both programs: this build's and the 32-bit build's Calverin.exe.
# Exits 77 (skipped) where this machine cannot run 32-bit programs.
# Usage: cross-build.sh CALVERIN_TESTS_EXE OTHER_CALVERIN_EXE
set -euo pipefail
exe=${1:?test executable}
other=${2:?Calverin.exe of the other build}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-env.sh"
skip_unless_runs win32
[ -f "$other" ] || fail "finding $other" "build it with scripts/build.sh win32"
use_wine win64 "${WINEPREFIX:?}"
windows_path=Z:$(realpath "$other" | tr / '\\')
CALVERIN_OTHER_BUILD_EXE=$windows_path \
    "$WINE" "$exe" --gtest_filter='HashFilesRoad.SecondStartsHandOverAcrossBuilds' --gtest_brief=1
