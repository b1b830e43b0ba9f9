#!/usr/bin/env bash
# Builds Calverin and starts it under Wine with the given files: the 32-bit
# program where this machine can run it, the 64-bit one otherwise. Without a
# display it runs under Xvfb, saves a screenshot, prints its path and ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/xvfb.sh"

if [ -n "${DISPLAY:-}" ] && [ -z "${CALVERIN_UNDER_XVFB:-}" ]; then
    build_for_screen
    echo "Running build/$CALVERIN_ARCH/Calverin.exe"
    prefix="$root/build/$CALVERIN_ARCH/runprefix"
    "$root/scripts/wine-prefix.sh" "$CALVERIN_ARCH" "$prefix"
    use_wine "$CALVERIN_ARCH" "$prefix"
    exec "$WINE" "$root/build/$CALVERIN_ARCH/Calverin.exe" "$@"
fi

reexec_under_xvfb 1024x768 "$0" "$@"
xdpyinfo >/dev/null 2>&1 || fail "starting Xvfb" "check that the xvfb and x11-utils packages are installed"
arch=$CALVERIN_ARCH
prefix="$root/build/$arch/runprefix"
exe="$root/build/$arch/Calverin.exe"
echo "Running build/$arch/Calverin.exe"

"$root/scripts/wine-prefix.sh" "$arch" "$prefix"
use_wine "$arch" "$prefix"
"$WINE" "$exe" "$@" &
pid=$!
# Wait (bounded) for the main window, then give it a moment to finish painting.
found=
wait_for_window Calverin >/dev/null && found=1
[ -n "$found" ] || echo "warning: the main window did not appear within 20 s" >&2
sleep 2
shot="$root/build/screenshot.png"
import -window root "$shot" || fail "taking the screenshot" "check that imagemagick is installed"
echo "Screenshot: $shot"
kill "$pid" 2>/dev/null || true
wineserver -k 2>/dev/null || true
[ -n "$found" ] || fail "starting Calverin: no main window appeared" "look at $shot"
