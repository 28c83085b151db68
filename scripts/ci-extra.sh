#!/usr/bin/env bash
# The checks CI runs after the test suite: the whole suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, the core and command-line tests under ThreadSanitizer, every fuzz
# target for a short while, the formatting, and the install as a user and a packager get it
# (Release build with the benchmark, .deb, lintian, AppStream, desktop entry, man pages, shell
# completion).
#   scripts/ci-extra.sh [FUZZ_SECONDS]   (20 seconds per fuzz target when not given)
set -euo pipefail

fuzz_seconds=${1:-20}
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

"$here/scripts/install-packages.sh" clang-14 libclang-rt-14-dev clang-format-14 clang
clang_format=$(command -v clang-format-14 || command -v clang-format)

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
asan_build=${WENDMOOR_ASAN_BUILD_DIR:-$here/build-asan}
cmake -S "$here" -B "$asan_build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWENDMOOR_SANITIZE=ON >/dev/null
cmake --build "$asan_build" -j 2
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    LSAN_OPTIONS="suppressions=$here/scripts/lsan-suppressions.txt:print_suppressions=0" \
    ctest --test-dir "$asan_build" --output-on-failure -j 2

echo "== core and command-line tests under ThreadSanitizer"
# The scan reads archives on several threads and the window runs its commands off its own; the
# Qt window is left out (WENDMOOR_TSAN), as Qt is not built for the race detector.
tsan_build=${WENDMOOR_TSAN_BUILD_DIR:-$here/build-tsan}
CC=clang-14 CXX=clang++-14 cmake -S "$here" -B "$tsan_build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DWENDMOOR_TSAN=ON >/dev/null
cmake --build "$tsan_build" -j 2
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
    ctest --test-dir "$tsan_build" --output-on-failure -j 2

echo "== fuzz targets, ${fuzz_seconds}s each"
"$here/scripts/fuzz.sh" "$fuzz_seconds"

echo "== layers"
"$here/scripts/check-layers.sh"

echo "== formatting"
find src tests bench fuzz tools \( -name '*.cpp' -o -name '*.h' \) -print0 2>/dev/null |
    xargs -0 -r "$clang_format" --dry-run --Werror
echo "== install and package"
"$here/scripts/check-package.sh"

echo "ci-extra: all checks passed"
