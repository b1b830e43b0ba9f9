# Sourced by package.sh and the installer tests: how a package is made from a
# build's Calverin.exe, and how the versions inside packages are read back.

package_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../package" && pwd)
package_icon=$(cd "$(dirname "${BASH_SOURCE[0]}")/../res" && pwd)/Calverin.ico

# make_msi ARCH EXE VERSION OUT: the installer of a build (win32 or win64).
make_msi() {
    local arch=$1 exe=$2 version=$3 out=$4 wixarch win64 stage status=0
    case "$arch" in
        win32) wixarch=x86 win64=no ;;
        win64) wixarch=x64 win64=yes ;;
        *) echo "unknown Windows build: $arch (win32 or win64)" >&2; return 2 ;;
    esac
    stage=$(mktemp -d)
    cp "$exe" "$stage/Calverin.exe"
    cp "$package_icon" "$package_dir/Calverin.wxs" "$stage/"
    # wixl finds its sources only by paths relative to its working folder.
    (cd "$stage" &&
        wixl -a "$wixarch" -D Version="$version" -D Win64="$win64" -o out.msi Calverin.wxs) &&
        mv "$stage/out.msi" "$out" || status=1
    rm -rf "$stage"
    return $status
}

# make_zip EXE OUT: the portable zip, Calverin.exe with a README.txt for Notepad.
make_zip() {
    local exe=$1 out=$2 stage status=0
    stage=$(mktemp -d)
    cp "$exe" "$stage/Calverin.exe"
    sed 's/$/\r/' "$package_dir/README.txt" > "$stage/README.txt"
    rm -f "$out"
    (cd "$stage" && zip -q -X out.zip Calverin.exe README.txt) && mv "$stage/out.zip" "$out" ||
        status=1
    rm -rf "$stage"
    return $status
}

# exe_version EXE: MAJOR.MINOR.PATCH of the file version in the program's
# version block (its fixed part, which the version texts and the About dialog
# share through the generated Version.h).
exe_version() {
    python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
at = data.find(struct.pack('<I', 0xFEEF04BD))
if at < 0:
    sys.exit('no version block in ' + sys.argv[1])
ms, ls = struct.unpack_from('<II', data, at + 8)
print(f'{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}')
PY
}

# msi_property MSI NAME: a value of the installer's Property table.
msi_property() {
    msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v name="$2" '$1 == name { print $2 }'
}
