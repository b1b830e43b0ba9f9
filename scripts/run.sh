#!/usr/bin/env bash
# Builds Calverin and starts it under Wine with the given files: the 32-bit
# program where this machine can run it, the 64-bit one otherwise. Without a
# display it runs under Xvfb, saves a screenshot, prints its path and ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"

if [ -z "${CALVERIN_UNDER_XVFB:-}" ]; then
    "$root/scripts/install-deps.sh" || fail "installing packages" "read the messages above"
fi
arch=${CALVERIN_ARCH:-$(preferred_arch)}
if [ -z "${CALVERIN_UNDER_XVFB:-}" ]; then
    "$root/scripts/build.sh" "$arch"
    echo "Running build/$arch/Calverin.exe"
fi

prefix="$root/build/$arch/runprefix"
exe="$root/build/$arch/Calverin.exe"

if [ -n "${DISPLAY:-}" ] && [ -z "${CALVERIN_UNDER_XVFB:-}" ]; then
    "$root/scripts/wine-prefix.sh" "$arch" "$prefix"
    use_wine "$arch" "$prefix"
    exec "$WINE" "$exe" "$@"
fi

if [ -z "${CALVERIN_UNDER_XVFB:-}" ]; then
    CALVERIN_UNDER_XVFB=1 CALVERIN_ARCH=$arch exec xvfb-run -a \
        -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@"
fi
xdpyinfo >/dev/null 2>&1 || fail "starting Xvfb" "check that the xvfb and x11-utils packages are installed"

"$root/scripts/wine-prefix.sh" "$arch" "$prefix"
use_wine "$arch" "$prefix"
"$WINE" "$exe" "$@" &
pid=$!
# Wait (bounded) for the main window, then give it a moment to finish painting.
found=
for _ in $(seq 1 100); do
    if xdotool search --name '^Calverin$' >/dev/null 2>&1; then found=1; break; fi
    sleep 0.2
done
[ -n "$found" ] || echo "warning: the main window did not appear within 20 s" >&2
sleep 2
shot="$root/build/screenshot.png"
import -window root "$shot" || fail "taking the screenshot" "check that imagemagick is installed"
echo "Screenshot: $shot"
kill "$pid" 2>/dev/null || true
wineserver -k 2>/dev/null || true
[ -n "$found" ] || fail "starting Calverin: no main window appeared" "look at $shot"
