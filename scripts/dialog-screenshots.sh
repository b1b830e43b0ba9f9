#!/usr/bin/env bash
# Takes the README's pictures of the Hash String, Options and About dialogs
# under Xvfb, opened as a user opens them: Ctrl+T, and the main menu's
# "&Options..." and "&About..." items. Writes hash-string-dialog.png,
# options-dialog.png and about-dialog.png into docs/. Options: --dpi N takes
# them at N DPI, named with "-N" before ".png"; --out DIR writes them into DIR.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

. "$root/scripts/xvfb.sh"
shot_options "$@"
reexec_under_xvfb "$(scaled 800)x$(scaled 600)" "$0" "$@"

prefix="$root/build/$CALVERIN_ARCH/dialogshots-prefix"
"$root/scripts/wine-prefix.sh" "$CALVERIN_ARCH" "$prefix"
use_wine "$CALVERIN_ARCH" "$prefix"
set_prefix_dpi
# Wine's light theme makes the hot-light colour of the About link pale grey;
# the pictures show the Windows default blue.
"$WINE" reg add 'HKCU\Control Panel\Colors' /v HotTrackingColor /d '0 102 204' /f >/dev/null 2>&1

# A copy of the program with settings of its own: no file dialog at start.
stage=$(mktemp -d)
trap 'restore_prefix_dpi; wineserver -k 2>/dev/null || true; rm -rf "$stage"' EXIT
cp "$root/build/$CALVERIN_ARCH/Calverin.exe" "$stage/"
printf '[OPTIONS]\r\nGetFileOnStart=0\r\nStartInFullMode=1\r\nStartInTopMost=0\r\n' \
    >"$stage/Calverin.ini"

"$WINE" "$stage/Calverin.exe" &

# The id of the window named exactly $1, waiting for it to appear.
find_window() {
    wait_for_window "$1" || { echo "The window \"$1\" did not appear" >&2; exit 1; }
}

# The window's picture with its frame.
shot() {
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$2")"
    local margin file="$SHOT_OUT/${1%.png}$SHOT_SUFFIX.png"
    margin=$(scaled 8)
    import -window root \
        -crop "$((WIDTH + 2 * margin))x$((HEIGHT + 2 * margin))+$((X - margin))+$((Y - margin))" \
        +repage "$file"
    echo "$file"
}

# Opens main_menu with a right click on a free spot and picks an item by its
# mnemonic.
menu_item() {
    eval "$(xdotool getwindowgeometry --shell "$main")"
    xdotool mousemove $((X + $(scaled 70))) $((Y + HEIGHT - $(scaled 8))) click 3
    sleep 0.5
    xdotool key "$1"
}

main=$(find_window Calverin)
eval "$(xdotool getwindowgeometry --shell "$main")"
# A click into field 1 gives the window the keyboard.
xdotool mousemove $((X + WIDTH / 2)) $((Y + $(scaled 30))) click 1

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
