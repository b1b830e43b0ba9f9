#!/usr/bin/env bash
# Takes the README's screenshots under Xvfb, as a user sees the window: the
# collapsed window, the expanded one (Down key) and main_menu (right click).
# Writes main-collapsed.png, main-expanded.png and main-menu.png into docs/.
# Options: --dpi N takes them at N DPI (144 for 150 %, 192 for 200 %), named
# with "-N" before ".png"; --out DIR writes them into DIR.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

. "$root/scripts/xvfb.sh"
shot_options "$@"
reexec_under_xvfb "$(scaled 640)x$(scaled 480)" "$0" "$@"

prefix="$root/build/$CALVERIN_ARCH/runprefix"
"$root/scripts/wine-prefix.sh" "$CALVERIN_ARCH" "$prefix"
use_wine "$CALVERIN_ARCH" "$prefix"
set_prefix_dpi

# A copy of the program with settings of its own: no file dialog at start.
stage=$(mktemp -d)
trap 'restore_prefix_dpi; wineserver -k 2>/dev/null || true; rm -rf "$stage"' EXIT
cp "$root/build/$CALVERIN_ARCH/Calverin.exe" "$stage/"
printf '[OPTIONS]\r\nGetFileOnStart=0\r\nStartInFullMode=0\r\nStartInTopMost=0\r\n' \
    >"$stage/Calverin.ini"

"$WINE" "$stage/Calverin.exe" &
window=$(wait_for_window Calverin) || { echo "The main window did not appear" >&2; exit 1; }

# The window's place on the screen, with a margin for the frame and the menu.
shot() {
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$window")"
    local margin
    margin=$(scaled 8)
    local w=$((WIDTH + 2 * margin)) h=$((HEIGHT + $(scaled "${2:-16}")))
    local file="$SHOT_OUT/${1%.png}$SHOT_SUFFIX.png"
    import -window root -crop "${w}x${h}+$((X - margin))+$((Y - margin))" +repage "$file"
    echo "$file"
}

eval "$(xdotool getwindowgeometry --shell "$window")"
shot main-collapsed.png
# A click into field 1 gives the window the keyboard; Down expands it.
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - $(scaled 22))) click 1
xdotool key Down
shot main-expanded.png
eval "$(xdotool getwindowgeometry --shell "$window")"
# A right click on a free spot, below the Open button, opens main_menu.
xdotool mousemove $((X + $(scaled 70))) $((Y + HEIGHT - $(scaled 8))) click 3
shot main-menu.png 150
xdotool key Escape
