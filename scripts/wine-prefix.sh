#!/usr/bin/env bash
# Makes a private Wine prefix for one build once (the first start takes ~20 s
# for win32, up to 2 min for win64). Usage: wine-prefix.sh win32|win64 DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"
arch=${1:?win32 or win64}
prefix=$(realpath -m "${2:?prefix folder}")
use_wine "$arch" "$prefix"
if [ -f "$prefix/.calverin-ready" ]; then
    exit 0
fi
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
# No Mono or Gecko prompts: the program needs neither.
if ! log=$(WINEDLLOVERRIDES="mscoree,mshtml=" "$WINE" wineboot -i 2>&1); then
    echo "$log" | tail -5 >&2
    fail "making the $arch Wine prefix $prefix" \
        "check that Wine runs ($WINE --version); remove $prefix and try again"
fi
# Without a window manager Wine waits ~2 s per closed window unless unmanaged.
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 ||
    fail "setting Managed=N in the $arch Wine prefix $prefix" "remove $prefix and try again"
wineserver -w
touch "$prefix/.calverin-ready"
