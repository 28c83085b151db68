#!/usr/bin/env bash
# The Windows pieces: cross-builds with mingw-w64 what needs no Qt (the platform layer, the
# settings fields with their registry store, the name rules, the reference counts) together
# with their tests and the ZIP writer they use, and runs the tests under Wine, headless, in a
# Wine prefix inside the build folder.
#   scripts/windows-check.sh        (build folder: build-windows, or $WENDMOOR_WINDOWS_BUILD_DIR)
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${WENDMOOR_WINDOWS_BUILD_DIR:-$here/build-windows}

"$here/scripts/install-packages.sh" --no-install-recommends cmake ninja-build libgtest-dev \
    g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine64

echo "== cross build for Windows (mingw-w64)"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" -DWENDMOOR_WINDOWS_CORE_ONLY=ON >/dev/null
cmake --build "$build" -j 2

echo "== tests under Wine"
# Debian's wine64 package has its programs in /usr/lib/wine; the "wine" package would add the
# commands on the PATH.
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export WINEPREFIX="$build/wine-prefix"
export WINEDEBUG=-all
# No Mono and no Gecko: the prefix is made without asking to download them. No display either.
export WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY=
status=0
"$wine" "$build/tests/windows/wendmoor_windows_tests.exe" </dev/null || status=$?
# Ends the Wine server of this prefix only.
"$wineserver" -k 2>/dev/null || true
if [ "$status" -ne 0 ]; then
    echo "windows-check: the Windows tests failed (status $status)" >&2
    exit "$status"
fi
echo "windows-check: the Windows pieces build and their tests pass under Wine"
