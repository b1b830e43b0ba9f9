#!/usr/bin/env bash
# The release packages of one build under Wine, silently, in a scratch prefix
# of their own (build/installer/ARCH, made once): the installer is installed,
# its context-menu command is started for two files, a higher version is
# installed over it and then uninstalled; the portable zip is unpacked and
# started with a file. For win64 also: the x64 installer refuses a 32-bit
# Windows (where this machine runs 32-bit programs).
# Usage: installer-test.sh win32|win64 BUILD_DIR VERSION
set -uo pipefail
arch=${1:?win32 or win64}
build=${2:?build folder}
version=${3:?project version}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-env.sh"
source "$root/scripts/package-lib.sh"
skip_unless_runs "$arch"

failures=0
# check WHAT COMMAND...: runs the command and reports the outcome.
check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAILED: $what"
        failures=$((failures + 1))
        return 1
    fi
}
finish() {
    if [ $failures -eq 0 ]; then
        rm -rf "$work"
        echo "installer_$arch: all checks passed"
    else
        echo "installer_$arch: $failures check(s) failed; the packages are in $work"
    fi
    exit $((failures > 0))
}

# start_wine ARCH PREFIX: the scratch prefix with one wineserver for the run;
# Wine's services start detached from ctest's output pipes (as in test.sh).
start_wine() {
    "$root/scripts/wine-prefix.sh" "$1" "$2" >/dev/null || exit 1
    use_wine "$1" "$2"
    wineserver -p </dev/null >/dev/null 2>&1
    "$WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1
}
win() { "$WINE" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
# The prefix's drive C in Unix form.
unix_path() {
    local path=${1#[Cc]:\\}
    echo "$WINEPREFIX/drive_c/${path//\\//}"
}
# reg_value KEY [NAME]: a value (the default one without NAME); fails when absent.
reg_value() {
    local out
    if [ $# -gt 1 ]; then
        out=$(win reg query "$1" /v "$2") || return 1
    else
        out=$(win reg query "$1" /ve) || return 1
    fi
    sed -n 's/^    .*    REG_[A-Z_]*    //p' <<<"$out" | head -1
}
# The Apps & features entries of Calverin (keys of either uninstall list).
arp_keys() {
    local hive
    for hive in HKLM HKCU; do
        win reg query "$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s |
            awk '/^HKEY/ { key = $0 } /^    DisplayName    REG_SZ    Calverin$/ { print key }'
    done
}
no_key() { ! win reg query "$1" >/dev/null; }
# The icons the Windows Installer keeps for its per-user products.
product_icons() {
    win reg query 'HKCU\Software\Microsoft\Installer\Products' /s |
        sed -n 's/^    ProductIcon    REG_SZ    //p'
}
# msiexec ARGS...: its exit code (Wine passes on the low byte only).
msiexec_code() {
    win msiexec "$@" /qn >/dev/null
    echo $?
}
# run_shell_test COMMAND FILE...: the command line started for each file by
# the test program, which waits for one window holding all their checksums.
run_shell_test() {
    local command=$1 files= sums= file out
    shift
    for file in "$@"; do
        files+=${files:+|}$file
        sums+=${sums:+ }$(md5sum <"$(unix_path "$file")" | cut -d' ' -f1)
    done
    out=$(CALVERIN_SHELL_COMMAND=$command CALVERIN_SHELL_FILES=$files CALVERIN_SHELL_SUMS=$sums \
        "$WINE" "$build/calverin_tests.exe" --gtest_brief=1 \
        --gtest_filter='StartupTest.PackagedCommandStartedForEachFileEndsInOneWindow' 2>&1)
    grep -q 'PASSED .* 1 test' <<<"$out" || { echo "$out"; return 1; }
}

start_wine "$arch" "$root/build/installer/$arch"
trap 'wineserver -k 2>/dev/null' EXIT
local_appdata=$(win cmd.exe /c echo %LOCALAPPDATA%)
appdata=$(win cmd.exe /c echo %APPDATA%)
dir_win="$local_appdata\\Programs\\Calverin"
dir=$(unix_path "$dir_win")
exe_win="$dir_win\\Calverin.exe"
start_menu=$(unix_path "$appdata\\Microsoft\\Windows\\Start Menu\\Programs\\Calverin.lnk")
send_to=$(unix_path "$appdata\\Microsoft\\Windows\\SendTo\\Calverin.lnk")
verb='HKCU\Software\Classes\*\shell\Calverin'
folder_verbs='HKCU\Software\Classes\Directory\shell\CalverinCreateList HKCU\Software\Classes\Drive\shell\CalverinCreateList'
work_win='C:\calverin-packages'
work=$(unix_path "$work_win")

# What a failed earlier run left behind.
for key in $(arp_keys); do win msiexec /x "${key##*\\}" /qn; done
rm -rf "$dir" "$work"
mkdir -p "$work"

IFS=. read -r major minor patch <<<"$version"
higher=$major.$minor.$((patch + 1))
make_msi "$arch" "$build/Calverin.exe" "$version" "$work/this.msi" &&
    make_msi "$arch" "$build/Calverin.exe" "$higher" "$work/higher.msi" ||
    { echo "FAILED: making the installers"; exit 1; }

# Another program's claim on .md5 files, which uninstall must keep.
lists='HKCU\Software\Classes\.md5\OpenWithProgids'
win reg add "$lists" /v Other.List /d "" /f >/dev/null

# Install.
check "install exits with 0" [ "$(msiexec_code /i "$work_win\\this.msi")" = 0 ] || finish
check "Calverin.exe in $dir_win" cmp -s "$build/Calverin.exe" "$dir/Calverin.exe"
check "its version block says $version" [ "$(exe_version "$dir/Calverin.exe")" = "$version" ]
for link in "$start_menu" "$send_to"; do
    check "shortcut $link starts it" grep -qxF "$exe_win" <(strings -a "$link")
done
check "context-menu entry" [ "$(reg_value "$verb")" = "Calverin MD5" ]
check "its icon (the program's)" [ "$(reg_value "$verb" Icon)" = "$exe_win,0" ]
command=$(reg_value "$verb\\command")
check "its command" [ "$command" = "\"$exe_win\" \"%1\"" ]
verify_verb='HKCU\Software\Classes\SystemFileAssociations\.md5\shell\CalverinVerify'
progid='HKCU\Software\Classes\Calverin.ChecksumList'
check ".md5 entry verifies the list" [ "$(reg_value "$verify_verb")" = "Verify with Calverin" -a \
    "$(reg_value "$verify_verb\command")" = "\"$exe_win\" /verify \"%1\"" ]
progid_named() {
    [ "$(reg_value "$progid\shell\open\command")" = "\"$exe_win\" /verify \"%1\"" ] &&
        reg_value "$lists" Calverin.ChecksumList >/dev/null
}
check "its ProgID opens it the same way, named for .md5" progid_named
for folder_verb in $folder_verbs; do
    check "${folder_verb%\\*} entry creates a checksum list" \
        [ "$(reg_value "$folder_verb")" = "Create checksum list with Calverin" -a \
          "$(reg_value "$folder_verb\\command")" = "\"$exe_win\" /create \"%1\"" ]
done
keys=$(arp_keys)
check "one Apps & features entry" [ "$(wc -w <<<"$keys")" = 1 ]
check "its version $version" [ "$(reg_value "$keys" DisplayVersion)" = "$version" ]
check "its publisher" [ "$(reg_value "$keys" Publisher)" = Orrendale ]
check "its maker's page" [ "$(reg_value "$keys" URLInfoAbout)" = "http://orrendale.example/" ]
icon=$(product_icons)
check "its icon (the product's)" [ -n "$icon" -a -f "$(unix_path "$icon")" ]

# The context-menu command for two files, one right after the other. The
# user's settings show both fields.
printf '[OPTIONS]\r\nStartInFullMode=1\r\nGetFileOnStart=0\r\n' >"$dir/Calverin.ini"
printf 'first file\n' >"$work/first file.txt"
printf 'second file\n' >"$work/second file.txt"
check "the command for two files ends in one window with both checksums" \
    run_shell_test "$command" "$work_win\\first file.txt" "$work_win\\second file.txt"

# Upgrade in place.
cp "$dir/Calverin.ini" "$work/user.ini"
check "installing $higher over it exits with 0" \
    [ "$(msiexec_code /i "$work_win\\higher.msi")" = 0 ]
keys=$(arp_keys)
check "one Apps & features entry, version $higher" \
    [ "$(wc -w <<<"$keys")" = 1 -a "$(reg_value "$keys" DisplayVersion)" = "$higher" ]
check "Calverin.exe still there" cmp -s "$build/Calverin.exe" "$dir/Calverin.exe"
check "the user's Calverin.ini kept as it was" cmp -s "$work/user.ini" "$dir/Calverin.ini"
check "the same context-menu command" [ "$(reg_value "$verb\\command")" = "$command" ]

# Uninstall: only the user's Calverin.ini stays.
check "uninstall exits with 0" [ "$(msiexec_code /x "$work_win\\higher.msi")" = 0 ]
check "only Calverin.ini left in $dir_win" [ "$(ls -A "$dir")" = Calverin.ini ]
check "no shortcuts" [ ! -e "$start_menu" -a ! -e "$send_to" ]
check "no context-menu entry" no_key "$verb"
md5_entries_gone() {
    no_key "$verify_verb" && no_key "$progid" &&
        ! reg_value "$lists" Calverin.ChecksumList >/dev/null &&
        reg_value "$lists" Other.List >/dev/null
}
check "no .md5 entry or ProgID, the other program's claim kept" md5_entries_gone
for folder_verb in $folder_verbs; do
    check "no ${folder_verb%\\*} entry" no_key "$folder_verb"
done
check "no Apps & features entry" [ -z "$(arp_keys)" ]
check "no product icon" [ -z "$(product_icons)" ]
rm -rf "$dir"
rmdir "$(dirname "$dir")" 2>/dev/null

# The portable zip: unpacked, started with a file, shows its checksum.
make_zip "$build/Calverin.exe" "$work/portable.zip" &&
    unzip -q "$work/portable.zip" -d "$work/portable"
check "the zip holds Calverin.exe and README.txt" \
    [ "$(ls "$work/portable" | tr '\n' ' ')" = "Calverin.exe README.txt " ]
check "the unpacked program started with a file shows its checksum" \
    run_shell_test "\"$work_win\\portable\\Calverin.exe\" \"%1\"" "$work_win\\first file.txt"

if [ "$arch" = win64 ]; then
    if win32_runs; then
        # 1633: this installation package is not supported by this processor type.
        refused=$(
            start_wine win32 "$root/build/installer/win32"
            mkdir -p "$(unix_path "$work_win")"
            cp "$work/this.msi" "$(unix_path "$work_win")/"
            code=$(msiexec_code /i "$work_win\\this.msi")
            installed=$(ls -A "$(unix_path "$dir_win")" 2>/dev/null)
            rm -rf "$(unix_path "$work_win")"
            wineserver -k 2>/dev/null
            echo "$code:$installed"
        )
        check "a 32-bit Windows refuses the x64 installer (error 1633)" \
            [ "$refused" = "$((1633 & 255)):" ]
    else
        echo "skipped: the x64 installer on a 32-bit Windows ($WIN32_WHY)"
    fi
fi
finish
