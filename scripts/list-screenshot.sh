#!/usr/bin/env bash
# Takes the README's picture of the list window under Xvfb: a list with OK,
# FAILED and missing rows, verified as from the command line
# (Calverin.exe /verify list). Writes list-window.png into docs/. Options:
# --dpi N takes it at N DPI, named with "-N" before ".png"; --out DIR writes
# it into DIR.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

. "$root/scripts/xvfb.sh"
shot_options "$@"
reexec_under_xvfb "$(scaled 800)x$(scaled 600)" "$0" "$@"

prefix="$root/build/$CALVERIN_ARCH/dialogshots-prefix"
"$root/scripts/wine-prefix.sh" "$CALVERIN_ARCH" "$prefix"
use_wine "$CALVERIN_ARCH" "$prefix"
set_prefix_dpi

stage=$(mktemp -d)
trap 'restore_prefix_dpi; wineserver -k 2>/dev/null || true; rm -rf "$stage"' EXIT
cp "$root/build/$CALVERIN_ARCH/Calverin.exe" "$stage/"
printf '[OPTIONS]\r\nGetFileOnStart=0\r\nStartInFullMode=1\r\nStartInTopMost=0\r\n' \
    >"$stage/Calverin.ini"
mkdir -p "$stage/release/docs"
(
    cd "$stage/release"
    printf 'Release notes\n' >NOTES.txt
    printf 'setup data\n' >setup.bin
    printf 'manual\n' >docs/manual.txt
    printf 'licence\n' >LICENSE.txt
    md5sum NOTES.txt setup.bin docs/manual.txt LICENSE.txt >SUMS.md5
    # A file the list names but the folder lacks, in the tag layout.
    printf 'MD5 (README.txt) = d41d8cd98f00b204e9800998ecf8427e\n' >>SUMS.md5
    printf 'changed after listing\n' >setup.bin
)

"$WINE" "$stage/Calverin.exe" /verify "$(winepath -w "$stage/release/SUMS.md5")" &

window=$(wait_for_window 'SUMS.md5 - Calverin') ||
    { echo "The list window did not appear" >&2; exit 1; }
sleep 2
eval "$(xdotool getwindowgeometry --shell "$window")"
margin=$(scaled 8)
file="$SHOT_OUT/list-window$SHOT_SUFFIX.png"
import -window root \
    -crop "$((WIDTH + 2 * margin))x$((HEIGHT + 2 * margin))+$((X - margin))+$((Y - margin))" \
    +repage "$file"
echo "$file"
