#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the host (sanitizers) and
# the Windows builds, and runs all tests headless under Xvfb and Wine.
# Extra arguments go to ctest (for example -R wine_tests).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${CALVERIN_UNDER_XVFB:-}" ]; then
    "$root/scripts/install-deps.sh" || exit 1
    "$root/scripts/build.sh" host || exit 1
    "$root/scripts/build.sh" win || exit 1
    # 24-bit depth so screen colours read back exactly.
    CALVERIN_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
        "$0" "$@"
fi

prefix="$root/build/win/wineprefix"
"$root/scripts/wine-prefix.sh" "$prefix" || exit 1
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all
# One wineserver for the whole run; every test process attaches to it.
wineserver -p
# Start Wine's own services now, detached from ctest's output pipes: a service
# that inherited a test's pipe would keep ctest waiting for its end.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

# One summary for both builds.
cat > "$root/build/CTestTestfile.cmake" <<'CTEST'
subdirs("host")
subdirs("win")
CTEST
ctest --test-dir "$root/build" --output-on-failure "$@"
