#!/usr/bin/env bash
# Builds Calverin and starts it under Wine with the given files. Without a
# display it runs under Xvfb, saves a screenshot, prints its path and ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${CALVERIN_UNDER_XVFB:-}" ]; then
    "$root/scripts/install-deps.sh"
    "$root/scripts/build.sh" win
fi

prefix="$root/build/win/runprefix"
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all
exe="$root/build/win/Calverin.exe"

if [ -n "${DISPLAY:-}" ] && [ -z "${CALVERIN_UNDER_XVFB:-}" ]; then
    "$root/scripts/wine-prefix.sh" "$prefix"
    exec wine "$exe" "$@"
fi

if [ -z "${CALVERIN_UNDER_XVFB:-}" ]; then
    CALVERIN_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@"
fi

"$root/scripts/wine-prefix.sh" "$prefix"
wine "$exe" "$@" &
pid=$!
# Wait (bounded) for the main window, then give it a moment to finish painting.
for _ in $(seq 1 100); do
    if xdotool search --name '^Calverin$' >/dev/null 2>&1; then break; fi
    sleep 0.2
done
sleep 2
shot="$root/build/screenshot.png"
import -window root "$shot"
echo "Screenshot: $shot"
kill "$pid" 2>/dev/null || true
wineserver -k 2>/dev/null || true
