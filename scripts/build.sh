#!/usr/bin/env bash
# Configures and builds. Usage: build.sh win32|win64|win|host|bench
# (win builds both Windows programs). CALVERIN_BUILD_TYPE sets the CMake build
# type of a Windows build (Release unless set); CALVERIN_BUILD_TARGET builds
# only that target (for example Calverin) instead of everything.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"
kind=${1:?win32, win64, win, host or bench}
type=${CALVERIN_BUILD_TYPE:-Release}

build() {
    local dir=$1
    shift
    cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null ||
        fail "configuring $dir" "read the CMake errors above; remove $dir and try again"
    cmake --build "$dir" ${CALVERIN_BUILD_TARGET:+--target "$CALVERIN_BUILD_TARGET"} ||
        fail "building $dir" "read the compiler errors above"
}

case "$kind" in
    win32 | win64)
        build "$root/build/$kind" -DCMAKE_BUILD_TYPE="$type" \
            -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$kind.cmake" ;;
    win)
        "$0" win32
        "$0" win64 ;;
    host)
        build "$root/build/host" -DCMAKE_BUILD_TYPE=Debug \
            -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ ;;
    bench)
        cmake -S "$root/bench" -B "$root/build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ >/dev/null ||
            fail "configuring build/bench" "read the CMake errors above"
        cmake --build "$root/build/bench" || fail "building build/bench" "read the errors above" ;;
    *) echo "unknown build: $kind (win32, win64, win, host or bench)" >&2; exit 2 ;;
esac
