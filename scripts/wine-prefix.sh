#!/usr/bin/env bash
# Makes a private 32-bit Wine prefix once (the first start takes ~20 s).
# Usage: wine-prefix.sh DIR
set -euo pipefail
prefix=${1:?prefix folder}
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all
if [ -f "$prefix/.calverin-ready" ]; then
    exit 0
fi
rm -rf "$prefix"
# No Mono or Gecko prompts: the program needs neither.
WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
# Without a window manager Wine waits ~2 s per closed window unless unmanaged.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
touch "$prefix/.calverin-ready"
