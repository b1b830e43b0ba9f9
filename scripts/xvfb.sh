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
        build_for_screen
        CALVERIN_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 ${size}x24 -nolisten tcp" "$@"
    fi
}

# build_for_screen: installs what is missing and builds the Windows program
# that runs here, CALVERIN_ARCH (exported; win32 where it runs, else win64).
build_for_screen() {
    "$root/scripts/install-deps.sh" || fail "installing packages" "read the messages above"
    CALVERIN_ARCH=${CALVERIN_ARCH:-$(preferred_arch)}
    export CALVERIN_ARCH
    "$root/scripts/build.sh" "$CALVERIN_ARCH"
}

# wait_for_window NAME: prints the id of the window named exactly NAME once it
# appears, polling for up to 20 s; fails without printing when it does not.
wait_for_window() {
    local id
    for _ in $(seq 1 100); do
        id=$(xdotool search --name "^$1\$" 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}

# shot_options ARGS...: reads the screen scripts' options: --dpi N (the
# screen's DPI for the run, 96 unless given) and --out DIR (where the pictures
# go, docs/ unless given). Sets SHOT_DPI, SHOT_OUT and SHOT_SUFFIX ("-N" for a
# DPI other than 96, so the pictures at 96 keep their names).
shot_options() {
    SHOT_DPI=96 SHOT_OUT="$root/docs"
    while [ $# -gt 0 ]; do
        case "$1" in
            --dpi) SHOT_DPI=${2:?--dpi needs a number such as 144}; shift 2 ;;
            --out) SHOT_OUT=$(realpath -m "${2:?--out needs a folder}"); shift 2 ;;
            *) echo "unknown option: $1 (--dpi N, --out DIR)" >&2; exit 2 ;;
        esac
    done
    SHOT_SUFFIX=""
    [ "$SHOT_DPI" = 96 ] || SHOT_SUFFIX="-$SHOT_DPI"
    mkdir -p "$SHOT_OUT"
}

# scaled N: N pixels at 96 DPI as at SHOT_DPI.
scaled() {
    echo $((($1 * SHOT_DPI + 48) / 96))
}

# set_prefix_dpi: Wine takes each new program's DPI from LogPixels; sets it to
# SHOT_DPI in WINEPREFIX and puts the old value back when the script ends
# (after the traps that the caller sets later, which are chained to it).
set_prefix_dpi() {
    local key='HKCU\Control Panel\Desktop' old
    old=$("$WINE" reg query "$key" /v LogPixels 2>/dev/null | tr -d '\r' |
        awk '/LogPixels/ {print $3}') || old=""
    "$WINE" reg add "$key" /v LogPixels /t REG_DWORD /d "$SHOT_DPI" /f >/dev/null 2>&1
    if [ -n "$old" ]; then
        PREFIX_DPI_RESTORE=("$WINE" reg add "$key" /v LogPixels /t REG_DWORD /d $((old)) /f)
    else
        PREFIX_DPI_RESTORE=("$WINE" reg delete "$key" /v LogPixels /f)
    fi
}

# restore_prefix_dpi: puts LogPixels back as set_prefix_dpi found it.
restore_prefix_dpi() {
    [ -n "${PREFIX_DPI_RESTORE+x}" ] || return 0
    "${PREFIX_DPI_RESTORE[@]}" >/dev/null 2>&1 || true
    unset PREFIX_DPI_RESTORE
}
