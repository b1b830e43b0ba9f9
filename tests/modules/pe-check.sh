#!/usr/bin/env bash
# Checks what a build's Calverin.exe is made of: the expected PE format for
# its architecture and imports of system DLLs only (the C++ runtime and
# threads linked in, nothing to ship beside the exe).
# Usage: pe-check.sh win32|win64 CALVERIN_EXE
set -euo pipefail
arch=${1:?win32 or win64}
exe=${2:?Calverin.exe}
case "$arch" in
    win32) objdump=i686-w64-mingw32-objdump format=pei-i386 magic=PE32 ;;
    win64) objdump=x86_64-w64-mingw32-objdump format=pei-x86-64 magic=PE32+ ;;
    *) echo "unknown build: $arch" >&2; exit 2 ;;
esac
system='^(advapi32|comctl32|comdlg32|gdi32|kernel32|msvcrt|ole32|shell32|user32)\.dll$'
headers=$("$objdump" -p "$exe")
status=0
grep -q "file format $format\$" <<<"$headers" || { echo "$exe: not $format" >&2; status=1; }
grep -qF "($magic)" <<<"$headers" || { echo "$exe: not $magic" >&2; status=1; }
while read -r dll; do
    if ! grep -Eqi "$system" <<<"$dll"; then
        echo "$exe imports $dll, which is no system DLL" >&2
        status=1
    fi
done < <(sed -n 's/^\s*DLL Name: //p' <<<"$headers")
[ $status -eq 0 ] && echo "$exe: $format ($magic), system DLL imports only"
exit $status
