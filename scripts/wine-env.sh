# Sourced by every script that runs a Windows build under Wine.
#
# Debian's `wine` wrapper picks the 32-bit loader whenever wine32 is installed,
# even on a kernel that cannot execute 32-bit code ("Exec format error"), so
# each build names its own loader and passes it on in WINELOADER.

# The Wine loader of a build: win32 or win64.
wine_loader() {
    case "$1" in
        win32) echo /usr/lib/wine/wine ;;
        win64) echo /usr/lib/wine/wine64 ;;
        *) echo "unknown Windows build: $1 (win32 or win64)" >&2; return 2 ;;
    esac
}

# use_wine ARCH PREFIX: exports what runs ARCH's programs in PREFIX and sets
# WINE to the loader to run them with.
use_wine() {
    WINE=$(wine_loader "$1") || return 2
    export WINEPREFIX=$2 WINEARCH=$1 WINELOADER=$WINE WINEDEBUG=${WINEDEBUG:--all}
}

# win32_runs: whether this machine can run 32-bit Windows programs; when it
# cannot, WIN32_WHY says why. CALVERIN_NO_WIN32=1 acts as such a machine.
win32_runs() {
    local out
    if [ -n "${CALVERIN_NO_WIN32:-}" ]; then
        WIN32_WHY="CALVERIN_NO_WIN32 is set"
        return 1
    fi
    if [ ! -x /usr/lib/wine/wine ]; then
        WIN32_WHY="Wine's 32-bit loader (package wine32:i386) is not installed"
        return 1
    fi
    if ! out=$(/usr/lib/wine/wine --version 2>&1); then
        WIN32_WHY="this machine cannot run 32-bit programs (Wine's 32-bit loader: ${out##*: })"
        return 1
    fi
    return 0
}

# fail WHAT TODO: says which step failed and what to do, then exits non-zero.
fail() {
    echo "FAILED: $1" >&2
    echo "  What to do: $2" >&2
    exit 1
}

# preferred_arch: the build to run here: win32 (the program as specified)
# where this machine runs it, else win64. Says so on stderr when it is win64.
preferred_arch() {
    if win32_runs; then
        echo win32
    else
        echo "The 32-bit program cannot run here ($WIN32_WHY): using the 64-bit one." >&2
        echo win64
    fi
}

# skip_unless_runs ARCH: for a test script of ARCH's build: where this machine
# cannot run ARCH's programs, says so and exits 77, which ctest counts as
# skipped.
skip_unless_runs() {
    if [ "$1" = win32 ] && ! win32_runs; then
        echo "skipped: $WIN32_WHY"
        exit 77
    fi
}
