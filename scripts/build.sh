#!/usr/bin/env bash
# Configures and builds. Usage: build.sh win|host|bench
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:?win, host or bench}
case "$kind" in
    win)
        cmake -S "$root" -B "$root/build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
        cmake --build "$root/build/win" ;;
    host)
        cmake -S "$root" -B "$root/build/host" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
            -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
        cmake --build "$root/build/host" ;;
    bench)
        cmake -S "$root/bench" -B "$root/build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ >/dev/null
        cmake --build "$root/build/bench" ;;
    *) echo "unknown build: $kind" >&2; exit 2 ;;
esac
