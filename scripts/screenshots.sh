#!/usr/bin/env bash
# Takes the README's screenshots under Xvfb, as a user sees the window: the
# collapsed window, the expanded one (Down key) and main_menu (right click).
# Writes docs/main-collapsed.png, docs/main-expanded.png, docs/main-menu.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

. "$root/scripts/xvfb.sh"
reexec_under_xvfb 640x480 "$0" "$@"

prefix="$root/build/$CALVERIN_ARCH/runprefix"
"$root/scripts/wine-prefix.sh" "$CALVERIN_ARCH" "$prefix"
use_wine "$CALVERIN_ARCH" "$prefix"

# A copy of the program with settings of its own: no file dialog at start.
stage=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$stage"' EXIT
cp "$root/build/$CALVERIN_ARCH/Calverin.exe" "$stage/"
printf '[OPTIONS]\r\nGetFileOnStart=0\r\nStartInFullMode=0\r\nStartInTopMost=0\r\n' \
    >"$stage/Calverin.ini"

"$WINE" "$stage/Calverin.exe" &
window=""
for _ in $(seq 1 100); do
    window=$(xdotool search --name '^Calverin$' 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.2
done
[ -n "$window" ] || { echo "The main window did not appear" >&2; exit 1; }

# The window's place on the screen, with a margin for the frame and the menu.
shot() {
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$window")"
    local w=$((WIDTH + 16)) h=$((HEIGHT + ${2:-16}))
    import -window root -crop "${w}x${h}+$((X - 8))+$((Y - 8))" +repage "$root/docs/$1"
    echo "docs/$1"
}

mkdir -p "$root/docs"
eval "$(xdotool getwindowgeometry --shell "$window")"
shot main-collapsed.png
# A click into field 1 gives the window the keyboard; Down expands it.
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 22)) click 1
xdotool key Down
shot main-expanded.png
eval "$(xdotool getwindowgeometry --shell "$window")"
# A right click on a free spot, below the Open button, opens main_menu.
xdotool mousemove $((X + 70)) $((Y + HEIGHT - 8)) click 3
shot main-menu.png 150
xdotool key Escape
