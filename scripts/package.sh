#!/usr/bin/env bash
# Builds both programs in Release and writes the release packages to dist/:
#   Calverin-VERSION-win32.zip, Calverin-VERSION-win64.zip  (portable:
#       Calverin.exe and README.txt)
#   Calverin-VERSION-win32.msi, Calverin-VERSION-win64.msi  (per-user
#       installers made by wixl from package/Calverin.wxs)
# VERSION is the project version in CMakeLists.txt, read from the build; the
# script fails when a program's version block or an installer's product
# version says otherwise.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"
source "$root/scripts/package-lib.sh"

"$root/scripts/install-deps.sh" || fail "installing packages" "read the messages above"
for arch in win32 win64; do
    CALVERIN_BUILD_TYPE=Release CALVERIN_BUILD_TARGET=Calverin "$root/scripts/build.sh" "$arch"
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/win32/CMakeCache.txt")
[ -n "$version" ] ||
    fail "reading the project version from build/win32/CMakeCache.txt" \
        "remove build/win32 and run this again"

dist=$root/dist
mkdir -p "$dist"
rm -f "$dist"/Calverin-*.zip "$dist"/Calverin-*.msi
for arch in win32 win64; do
    exe=$root/build/$arch/Calverin.exe
    name=Calverin-$version-$arch
    found=$(exe_version "$exe") || fail "reading the version block of $exe" "remove build/$arch and run this again"
    [ "$found" = "$version" ] ||
        fail "build/$arch/Calverin.exe has version $found, the project version is $version" \
            "let res/Calverin.rc take its versions from Version.h; remove build/$arch and run this again"
    make_zip "$exe" "$dist/$name.zip" || fail "making $name.zip" "read the messages above"
    make_msi "$arch" "$exe" "$version" "$dist/$name.msi" ||
        fail "making $name.msi with wixl" "read wixl's messages above (package/Calverin.wxs)"
    found=$(msi_property "$dist/$name.msi" ProductVersion)
    [ "$found" = "$version" ] ||
        fail "$name.msi has product version $found, the project version is $version" \
            "let package/Calverin.wxs take its version from \$(var.Version)"
done
echo "Packages of Calverin $version in $dist:"
ls -l "$dist"/Calverin-"$version"-*
