#!/usr/bin/env bash
# Packs the Windows build for players: an installer made with NSIS
# (packaging/windows/wendmoor.nsi) and a portable ZIP, each with wendmoor.exe, wendmoor-cli.exe
# (both stripped), the readme and the licence. Refuses a program that needs a DLL which Windows
# does not bring, since neither package ships one.
#   scripts/windows-package.sh [BUILD_FOLDER]   (default: build-windows, or
#                                                $WENDMOOR_WINDOWS_BUILD_DIR)
# Writes BUILD_FOLDER/package/wendmoor-VERSION-setup.exe and
# BUILD_FOLDER/package/wendmoor-VERSION-windows-portable.zip.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-${WENDMOOR_WINDOWS_BUILD_DIR:-$here/build-windows}}" && pwd)
out=$build/package
stage=$out/stage

"$here/scripts/install-packages.sh" --no-install-recommends nsis binutils-mingw-w64-x86-64 cmake

# The one built program of that name; the packages and the Wine prefix hold installed copies.
built_program() {
    local found
    found=$(find "$build" \( -name CMakeFiles -o -path "$out" -o -path "$build/wine-prefix" \) \
        -prune -o -name "$1" \( -type f -o -type l \) -print)
    if [ -z "$found" ]; then
        echo "windows-package: no $1 in $build: build it first" >&2
        exit 1
    fi
    if [ "$(printf '%s\n' "$found" | wc -l)" -ne 1 ]; then
        printf 'windows-package: more than one %s in %s:\n%s\n' "$1" "$build" "$found" >&2
        exit 1
    fi
    printf '%s\n' "$found"
}

# Windows' own DLLs, as the programs may import them; anything else (the compiler's runtime,
# zlib1.dll) would have to be shipped, so the build links those statically instead.
system_dll='^(kernel32|user32|gdi32|advapi32|shell32|shlwapi|comctl32|comdlg32|ole32|oleaut32|uxtheme|dwmapi|shcore|version|msvcrt|ucrtbase|ntdll|api-ms-win-.*)\.dll$'
check_imports() {
    local dll foreign=()
    while IFS= read -r dll; do
        printf '%s\n' "$dll" | grep -qiE "$system_dll" || foreign+=("$dll")
    done < <(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p')
    if [ "${#foreign[@]}" -ne 0 ]; then
        echo "windows-package: $(basename "$1") needs ${foreign[*]}, which Windows does not bring;" \
            "link it statically (cmake/mingw-w64.cmake)" >&2
        exit 1
    fi
}

cache_value() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
version=$(cache_value CMAKE_PROJECT_VERSION)
version_text=$(sed -n 's/.*kVersionText = "\(.*\)";/\1/p' "$build/generated/platform/Version.h")
if [ -z "$version" ] || [ -z "$version_text" ]; then
    echo "windows-package: $build is no configured Windows build folder" >&2
    exit 1
fi

rm -rf "$out"
mkdir -p "$stage"
for program in wendmoor.exe wendmoor-cli.exe; do
    source=$(built_program "$program")
    check_imports "$source"
    x86_64-w64-mingw32-strip -o "$stage/$program" "$source"
done
cp "$here/data/qarn_readme.htm" "$stage/"
# Windows line ends, so that any editor shows the licence as it is meant.
sed 's/$/\r/' "$here/LICENSE" >"$stage/LICENSE.txt"

installer=$out/wendmoor-$version-setup.exe
makensis -V2 -INPUTCHARSET UTF8 \
    "-DVERSION=$version" "-DVERSION_TEXT=$version_text" "-DSTAGE=$stage" \
    "-DOUTFILE=$installer" "-DSIZE_KB=$(du -sk "$stage" | cut -f1)" \
    "-DICON=$here/packaging/icon/wendmoor.ico" \
    "$here/packaging/windows/wendmoor.nsi"

# The portable ZIP unpacks into one folder; the program keeps its settings in the registry
# and its backups in %LOCALAPPDATA%\QARN, as an installed one does.
portable=$out/wendmoor-$version-windows-portable.zip
mkdir -p "$out/portable/Wendmoor"
cp "$stage/wendmoor.exe" "$stage/wendmoor-cli.exe" "$stage/qarn_readme.htm" "$stage/LICENSE.txt" \
    "$out/portable/Wendmoor/"
(cd "$out/portable" && cmake -E tar cf "$portable" --format=zip Wendmoor)
rm -rf "$out/portable"

ls -l "$installer" "$portable"
