#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the run need, if any
# are missing. Idempotent: does nothing when all are present.
set -euo pipefail

packages=(
    cmake ninja-build clang clang-format g++ libclang-rt-14-dev
    g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
    googletest libssl-dev
    wine wine32:i386 wine64 fonts-wine wixl msitools zip unzip
    xvfb xauth x11-utils xdotool imagemagick python3
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    sudo=(sudo)
else
    echo "Missing packages: ${missing[*]}" >&2
    echo "Install them with:" >&2
    echo "  sudo dpkg --add-architecture i386 && sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
if ! "${sudo[@]}" apt-get update -qq; then
    echo "FAILED: apt-get update (see above)." >&2
    echo "  What to do: check the network and /etc/apt/sources.list, then run this again." >&2
    exit 1
fi
if ! "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"; then
    echo "FAILED: installing ${missing[*]} (see above)." >&2
    echo "  What to do: install them by hand with apt-get, then run this again." >&2
    exit 1
fi
