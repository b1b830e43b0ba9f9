#!/usr/bin/env bash
# Runs the SearchUnprivileged tests in a Wine process without the capabilities
# that let root pass file permissions (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH).
# Wine checks access in the client process: the shared wineserver opens a
# folder, but the client's own fchdir and stat calls into it are refused.
#
# The tree it makes in the prefix's drive C (the tests rely on this layout):
#   open/a.txt "a", open/z.txt "z", open/locked/ (mode 000) with hidden.txt "a"
#   closed/ (mode 000) with x.txt "a"
#   drive/one.txt "root", drive/sub/two.txt "root", mapped as a drive letter
# Usage: search-unprivileged.sh CALVERIN_TESTS_EXE
set -euo pipefail
exe=${1:?test executable}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-env.sh"
prefix=${WINEPREFIX:?}
skip_unless_runs "${CALVERIN_WINE_ARCH:-win32}"
use_wine "${CALVERIN_WINE_ARCH:-win32}" "$prefix"

name=calverin-unprivileged-$$
tree=$prefix/drive_c/$name
letter=
for candidate in r s t u v w x y; do
    if [ ! -e "$prefix/dosdevices/$candidate:" ] && [ ! -L "$prefix/dosdevices/$candidate:" ]; then
        letter=$candidate
        break
    fi
done
[ -n "$letter" ] || { echo "no free drive letter in $prefix/dosdevices" >&2; exit 1; }

cleanup() {
    chmod -R u+rwx "$tree" 2>/dev/null || true
    rm -rf "$tree"
    rm -f "$prefix/dosdevices/$letter:"
}
trap cleanup EXIT

mkdir -p "$tree/open/locked" "$tree/closed" "$tree/drive/sub"
printf a > "$tree/open/a.txt"
printf z > "$tree/open/z.txt"
printf a > "$tree/open/locked/hidden.txt"
printf a > "$tree/closed/x.txt"
printf root > "$tree/drive/one.txt"
printf root > "$tree/drive/sub/two.txt"
chmod 000 "$tree/open/locked" "$tree/closed"
ln -s "$tree/drive" "$prefix/dosdevices/$letter:"

CALVERIN_UNPRIVILEGED_TREE="C:\\$name" CALVERIN_UNPRIVILEGED_DRIVE="${letter^^}:" \
    setpriv --inh-caps=-dac_override,-dac_read_search \
            --bounding-set=-dac_override,-dac_read_search \
    "$WINE" "$exe" --gtest_filter='SearchUnprivileged*' --gtest_brief=1
