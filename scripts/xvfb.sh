# Sourced by the scripts that drive the program on a virtual screen.
# reexec_under_xvfb SIZE SCRIPT [ARGS...]: unless already there, installs what
# is missing, builds the Windows program that runs here (CALVERIN_ARCH, win32
# where it runs, else win64) and runs SCRIPT again under an Xvfb of SIZE
# (WIDTHxHEIGHT) at 24-bit depth, so screen colours read back exactly.
source "$root/scripts/wine-env.sh"
reexec_under_xvfb() {
    local size=$1
    shift
    if [ -z "${CALVERIN_UNDER_XVFB:-}" ]; then
        "$root/scripts/install-deps.sh" || fail "installing packages" "read the messages above"
        CALVERIN_ARCH=${CALVERIN_ARCH:-$(preferred_arch)}
        export CALVERIN_ARCH
        "$root/scripts/build.sh" "$CALVERIN_ARCH"
        CALVERIN_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 ${size}x24 -nolisten tcp" "$@"
    fi
}
