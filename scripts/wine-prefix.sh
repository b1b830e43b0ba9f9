#!/usr/bin/env bash
# Makes a private Wine prefix for one build once (the first start takes ~20 s
# for win32, up to 2 min for win64). Usage: wine-prefix.sh win32|win64 DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"
arch=${1:?win32 or win64}
prefix=$(realpath -m "${2:?prefix folder}")
use_wine "$arch" "$prefix"

# Wine's own fonts (package fonts-wine: Tahoma, and Marlett, whose symbols are
# the caption buttons) lie where this Wine does not look for them; linked into
# the prefix's Fonts folder they are found, and windows look as on Windows.
link_wine_fonts() {
    local font
    for font in /usr/share/wine/fonts/*.ttf; do
        [ -e "$font" ] && [ ! -e "$prefix/drive_c/windows/Fonts/${font##*/}" ] || continue
        ln -sf "$font" "$prefix/drive_c/windows/Fonts/" ||
            fail "linking Wine's fonts into $prefix" "remove $prefix and try again"
    done
}

if [ -f "$prefix/.calverin-ready" ]; then
    link_wine_fonts
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
link_wine_fonts
touch "$prefix/.calverin-ready"
