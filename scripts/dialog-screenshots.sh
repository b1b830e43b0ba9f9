#!/usr/bin/env bash
# Takes the README's pictures of the Hash String, Options and About dialogs
# under Xvfb, opened as a user opens them: Ctrl+T, and the main menu's
# "&Options..." and "&About..." items. Writes docs/hash-string-dialog.png,
# docs/options-dialog.png and docs/about-dialog.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

. "$root/scripts/xvfb.sh"
reexec_under_xvfb 800x600 "$0" "$@"

prefix="$root/build/$CALVERIN_ARCH/dialogshots-prefix"
"$root/scripts/wine-prefix.sh" "$CALVERIN_ARCH" "$prefix"
use_wine "$CALVERIN_ARCH" "$prefix"
# Wine's light theme makes the hot-light colour of the About link pale grey;
# the pictures show the Windows default blue.
"$WINE" reg add 'HKCU\Control Panel\Colors' /v HotTrackingColor /d '0 102 204' /f >/dev/null 2>&1

# A copy of the program with settings of its own: no file dialog at start.
stage=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$stage"' EXIT
cp "$root/build/$CALVERIN_ARCH/Calverin.exe" "$stage/"
printf '[OPTIONS]\r\nGetFileOnStart=0\r\nStartInFullMode=1\r\nStartInTopMost=0\r\n' \
    >"$stage/Calverin.ini"

"$WINE" "$stage/Calverin.exe" &

# The id of the window named exactly $1, waiting for it to appear.
find_window() {
    local id=""
    for _ in $(seq 1 100); do
        id=$(xdotool search --name "^$1\$" 2>/dev/null | head -1) && [ -n "$id" ] && break
        sleep 0.2
    done
    [ -n "$id" ] || { echo "The window \"$1\" did not appear" >&2; exit 1; }
    echo "$id"
}

# The window's picture with its frame.
shot() {
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$2")"
    import -window root -crop "$((WIDTH + 16))x$((HEIGHT + 16))+$((X - 8))+$((Y - 8))" \
        +repage "$root/docs/$1"
    echo "docs/$1"
}

# Opens main_menu with a right click on a free spot and picks an item by its
# mnemonic.
menu_item() {
    eval "$(xdotool getwindowgeometry --shell "$main")"
    xdotool mousemove $((X + 70)) $((Y + HEIGHT - 8)) click 3
    sleep 0.5
    xdotool key "$1"
}

mkdir -p "$root/docs"
main=$(find_window Calverin)
eval "$(xdotool getwindowgeometry --shell "$main")"
# A click into field 1 gives the window the keyboard.
xdotool mousemove $((X + WIDTH / 2)) $((Y + 30)) click 1

xdotool key ctrl+t
dialog=$(find_window "Hash String - Calverin")
xdotool type --delay 20 "The quick brown fox"
shot hash-string-dialog.png "$dialog"
xdotool key alt+F4

menu_item o
dialog=$(find_window "Options - Calverin")
shot options-dialog.png "$dialog"
xdotool key alt+F4

menu_item a
dialog=$(find_window "About - Calverin")
shot about-dialog.png "$dialog"
xdotool key alt+F4
