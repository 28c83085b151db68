#!/usr/bin/env bash
# The Windows build: cross-builds with mingw-w64 the core, wendmoor-cli.exe, the Win32 window
# wendmoor.exe and the test programs (the same core tests as on Linux, and the Windows-only
# ones), runs the tests under Wine in a Wine prefix inside the build folder (headless; the
# window's view tests on a virtual display, Xvfb), compares wendmoor-cli.exe with the Linux tool
# on the sample of all four games (scripts/compare-windows-cli.sh), and last packs the installer
# and the portable ZIP (scripts/windows-package.sh) and installs and uninstalls the installer
# silently under Wine (scripts/check-windows-installer.sh).
#   scripts/windows-check.sh        (build folder: build-windows, or $WENDMOOR_WINDOWS_BUILD_DIR;
#                                    the Linux tool from build, or $WENDMOOR_BUILD_DIR)
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${WENDMOOR_WINDOWS_BUILD_DIR:-$here/build-windows}
linux_build=${WENDMOOR_BUILD_DIR:-$here/build}

"$here/scripts/install-packages.sh" --no-install-recommends cmake ninja-build libgtest-dev \
    g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine64 xvfb xauth

echo "== cross build for Windows (mingw-w64)"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$build" -j 2

echo "== the Linux tool to compare with"
if [ ! -f "$linux_build/CMakeCache.txt" ]; then
    cmake -S "$here" -B "$linux_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$linux_build" -j 2 --target wendmoor-cli wendmoor-sample-setup

echo "== tests under Wine"
# Debian's wine64 package has its programs in /usr/lib/wine; the "wine" package would add the
# commands on the PATH.
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export WINEPREFIX="$build/wine-prefix"
export WINEDEBUG=-all
# No Mono and no Gecko: the prefix is made without asking to download them. No display either.
# No menu builder: the installer's Start Menu shortcut would become an entry in the menu of
# the Linux desktop running this check.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export DISPLAY=
# One Wine server for all the programs below (each start would otherwise wait for a new one);
# it ends with this script, the server of this prefix only.
# The prefix is made once per build folder.
[ -d "$WINEPREFIX" ] || "$wine" wineboot >/dev/null 2>&1 </dev/null || true
"$wineserver" -w
"$wineserver" -p
trap '"$wineserver" -k 2>/dev/null || true' EXIT
failed=()
while IFS= read -r program; do
    echo "-- ${program#"$build"/}"
    "$wine" "$program" --gtest_brief=1 </dev/null || failed+=("${program#"$build"/}")
done < <(find "$build/tests" -name '*_tests.exe' -not -name 'win32_view_tests.exe' \
    -not -path '*/CMakeFiles/*' | sort)
# The window's tests drive real windows, which need a display: a virtual one of their own. The
# Wine server above began without a display and its desktop would stay without one, so the
# window's tests get a server of their own, and the headless one comes back after them.
echo "-- tests/win32/win32_view_tests.exe (Xvfb)"
# The short-screen tests get a screen shorter than the options dialog, as a large scaling does.
view_tests() {
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w
    xvfb-run -a -s "-screen 0 $1x24" \
        "$wine" "$build/tests/win32/win32_view_tests.exe" --gtest_brief=1 --gtest_filter="$2" \
        </dev/null || failed+=("tests/win32/win32_view_tests.exe ($1)")
}
view_tests 1600x1000 '-Win32ShortScreenTest.*'
view_tests 1600x500 'Win32ShortScreenTest.*'
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w
"$wineserver" -p
if [ "${#failed[@]}" -ne 0 ]; then
    echo "windows-check: tests failed under Wine: ${failed[*]}" >&2
    exit 1
fi

echo "== wendmoor-cli.exe against the Linux tool"
WINE=$wine "$here/scripts/compare-windows-cli.sh" "$linux_build" "$build" "$build/compare"

echo "== the installer and the portable ZIP"
"$here/scripts/windows-package.sh" "$build"
WINE=$wine "$here/scripts/check-windows-installer.sh" "$build/package"
echo "windows-check: under Wine the core's and the window's tests pass, wendmoor-cli.exe matches" \
    "the Linux tool, the installer works"
