# Sourced by the scripts that drive the program on a virtual screen.
# reexec_under_xvfb SIZE SCRIPT [ARGS...]: unless already there, installs what
# is missing, builds the Windows program and runs SCRIPT again under an Xvfb
# of SIZE (WIDTHxHEIGHT) at 24-bit depth, so screen colours read back exactly.
reexec_under_xvfb() {
    local size=$1
    shift
    if [ -z "${CALVERIN_UNDER_XVFB:-}" ]; then
        "$root/scripts/install-deps.sh"
        "$root/scripts/build.sh" win
        CALVERIN_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 ${size}x24 -nolisten tcp" "$@"
    fi
}
