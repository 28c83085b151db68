#!/usr/bin/env bash
# Checks the packages scripts/windows-package.sh made: the portable ZIP holds the four files in
# one folder; the installer installs silently for the current user under Wine (the files, the
# Start Menu shortcut to the program in its folder, the uninstall entry, a wendmoor-cli.exe that
# runs), and its uninstaller removes all that again but keeps the player's settings and backups.
#   scripts/check-windows-installer.sh PACKAGE_FOLDER
# WINE, WINEPREFIX and the other Wine variables come from the caller (scripts/windows-check.sh),
# with a Wine server running.
set -euo pipefail

packages=$1
wine=${WINE:?}
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Wendmoor'

fail() {
    echo "check-windows-installer: $*" >&2
    exit 1
}

only_file() {
    local found
    found=$(find "$packages" -maxdepth 1 -type f -name "$1")
    if [ -z "$found" ] || [ "$(printf '%s\n' "$found" | wc -l)" -ne 1 ]; then
        fail "not one $1 in $packages"
    fi
    printf '%s\n' "$found"
}

echo "-- the portable ZIP"
listing=$(cmake -E tar tf "$(only_file '*-windows-portable.zip')" | sort)
expected=$(printf '%s\n' Wendmoor/ Wendmoor/LICENSE.txt Wendmoor/qarn_readme.htm \
    Wendmoor/wendmoor-cli.exe Wendmoor/wendmoor.exe)
[ "$listing" = "$expected" ] || fail "the portable ZIP holds:"$'\n'"$listing"

windows_variable() { "$wine" cmd /c echo "%$1%" </dev/null | tr -d '\r'; }
unix_path() { "$wine" winepath -u "$1" </dev/null | tr -d '\r'; }

u16() { od -An -tu2 -j "$2" -N2 "$1" | tr -d ' '; }
u32() { od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '; }
# A shell link's target and working folder, one a line: the target from its link info (the
# local path), the working folder from its string data, which follows the optional name and
# relative path.
shortcut_target_and_folder() {
    local lnk=$1 flags offset info count target='' folder='' bit
    flags=$(u32 "$lnk" 20)
    ((flags & 0x80)) || fail "$lnk: not a Unicode shell link"
    offset=76
    ((flags & 0x01)) && offset=$((offset + 2 + $(u16 "$lnk" "$offset")))
    if ((flags & 0x02)); then
        info=$offset
        target=$(tail -c +$((info + $(u32 "$lnk" $((info + 16))) + 1)) "$lnk" | tr '\0' '\n' | sed -n 1p)
        offset=$((offset + $(u32 "$lnk" "$info")))
    fi
    for bit in 0x04 0x08 0x10; do
        ((flags & bit)) || continue
        count=$(u16 "$lnk" "$offset")
        if ((bit == 0x10)); then
            # Wine counts a closing NUL in the string.
            folder=$(tail -c +$((offset + 3)) "$lnk" | head -c $((count * 2)) | iconv -f UTF-16LE -t UTF-8 | tr -d '\0')
        fi
        offset=$((offset + 2 + count * 2))
    done
    printf '%s\n%s\n' "$target" "$folder"
}

echo "-- install silently"
"$wine" "$(only_file '*-setup.exe')" /S </dev/null || fail "the installer failed"
local_data=$(windows_variable LOCALAPPDATA)
program_folder="$local_data\\Programs\\Wendmoor"
installed=$(unix_path "$program_folder")
for file in wendmoor.exe wendmoor-cli.exe qarn_readme.htm LICENSE.txt uninstall.exe; do
    [ -f "$installed/$file" ] || fail "$file is not installed in $installed"
done
shortcut=$(unix_path "$(windows_variable APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\Wendmoor.lnk")
[ -f "$shortcut" ] || fail "no Start Menu shortcut $shortcut"
expected=$(printf '%s\n' "$program_folder\\wendmoor.exe" "$program_folder")
[ "$(shortcut_target_and_folder "$shortcut")" = "$expected" ] ||
    fail "the shortcut starts $(shortcut_target_and_folder "$shortcut" | paste -sd ' ') instead of $(paste -sd ' ' <<<"$expected")"
entry=$("$wine" reg query "$uninstall_key" </dev/null | tr -d '\r') || fail "no uninstall entry"
grep -qF "\"$program_folder\\uninstall.exe\"" <<<"$entry" || fail "the uninstall entry lacks the uninstaller:"$'\n'"$entry"
version=$(sed -n 's/^ *DisplayVersion *REG_SZ *//p' <<<"$entry")
[ "$("$wine" "$installed/wendmoor-cli.exe" --version </dev/null | tr -d '\r')" = "wendmoor-cli $version" ] ||
    fail "the installed wendmoor-cli.exe does not tell its version $version"

echo "-- uninstall silently, keeping the settings and backups"
settings=$(unix_path "$local_data\\QARN")
mkdir -p "$settings/backups/keep"
echo kept >"$settings/backups/keep/file.sav"
"$wine" reg add 'HKCU\Software\QARN' /v caesar3_path /d 'C:\Games\Caesar3' /f </dev/null >/dev/null
# The uninstaller runs from a copy of itself in the temporary folder, so wine returns at once.
"$wine" "$installed/uninstall.exe" /S </dev/null || fail "the uninstaller failed"
for _ in $(seq 150); do
    [ -e "$installed" ] || break
    sleep 0.2
done
[ ! -e "$installed" ] || fail "the uninstaller left $installed: $(ls "$installed")"
[ ! -e "$shortcut" ] || fail "the uninstaller left the shortcut"
! "$wine" reg query "$uninstall_key" </dev/null >/dev/null 2>&1 || fail "the uninstall entry is left"
[ "$(cat "$settings/backups/keep/file.sav")" = kept ] || fail "the uninstaller removed the backups"
"$wine" reg query 'HKCU\Software\QARN' /v caesar3_path </dev/null >/dev/null || fail "the uninstaller removed the settings"
rm -rf "$settings/backups/keep"
"$wine" reg delete 'HKCU\Software\QARN' /v caesar3_path /f </dev/null >/dev/null
echo "check-windows-installer: the installer installs and uninstalls, keeping the settings; the ZIP is complete"
