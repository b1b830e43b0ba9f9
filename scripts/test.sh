#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the host (sanitizers) and
# both Windows programs, and runs all tests headless under Xvfb and Wine: the
# 32-bit suite where this machine can run 32-bit programs, the 64-bit suite
# everywhere. Extra arguments go to ctest (for example -R wine_tests).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"

if [ -z "${CALVERIN_UNDER_XVFB:-}" ]; then
    "$root/scripts/install-deps.sh" || fail "installing packages" "read the messages above"
    "$root/scripts/build.sh" host || exit 1
    "$root/scripts/build.sh" win32 || exit 1
    "$root/scripts/build.sh" win64 || exit 1
    # 24-bit depth so screen colours read back exactly.
    CALVERIN_UNDER_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
    status=$?
    # xvfb-run's own failures (no Xvfb, no free display) end here too.
    [ $status -eq 0 ] || echo "test.sh: tests or Xvfb failed (exit $status); see above" >&2
    exit $status
fi
xdpyinfo >/dev/null 2>&1 ||
    fail "starting Xvfb (display ${DISPLAY:-none} does not answer)" \
        "check that the xvfb and x11-utils packages are installed"

suites=(win64)
if win32_runs; then
    suites=(win32 win64)
    echo "Windows suites: win32 and win64"
else
    echo "Windows suites: win64 only; win32's Wine tests skipped: $WIN32_WHY"
fi

servers=()
stop_servers() {
    for prefix in "${servers[@]}"; do
        WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
    done
}
trap stop_servers EXIT
for arch in "${suites[@]}"; do
    prefix="$root/build/$arch/wineprefix"
    "$root/scripts/wine-prefix.sh" "$arch" "$prefix" || exit 1
    (
        use_wine "$arch" "$prefix"
        # One wineserver per prefix for the whole run; every test process
        # attaches to it.
        wineserver -p
        # Start Wine's own services now, detached from ctest's output pipes: a
        # service that inherited a test's pipe would keep ctest waiting for its end.
        "$WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1
    ) || fail "starting Wine in $prefix" "remove $prefix and run this again"
    servers+=("$prefix")
done

# One summary for every build; the tests of a build that cannot run here
# report themselves skipped, saying why.
printf 'subdirs("host")\nsubdirs("win32")\nsubdirs("win64")\n' > "$root/build/CTestTestfile.cmake"
ctest --test-dir "$root/build" --output-on-failure "$@"
