#!/usr/bin/env bash
# The checks CI runs after the test suite: the whole suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, every fuzz target for a short while, the formatting, and the
# install as a user and a packager get it (Release build with the benchmark, .deb, lintian,
# AppStream, desktop entry, man pages, shell completion).
#   scripts/ci-extra.sh [FUZZ_SECONDS]   (20 seconds per fuzz target when not given)
set -euo pipefail

fuzz_seconds=${1:-20}
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

"$here/scripts/install-packages.sh" clang-14 libclang-rt-14-dev clang-format-14 clang
"$here/scripts/install-packages.sh" --no-install-recommends appstream desktop-file-utils lintian \
    dpkg-dev file man-db
clang_format=$(command -v clang-format-14 || command -v clang-format)

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
asan_build=${WENDMOOR_ASAN_BUILD_DIR:-$here/build-asan}
cmake -S "$here" -B "$asan_build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWENDMOOR_SANITIZE=ON >/dev/null
cmake --build "$asan_build" -j 2
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    LSAN_OPTIONS="suppressions=$here/scripts/lsan-suppressions.txt:print_suppressions=0" \
    ctest --test-dir "$asan_build" --output-on-failure -j 2

echo "== fuzz targets, ${fuzz_seconds}s each"
"$here/scripts/fuzz.sh" "$fuzz_seconds"

echo "== layers"
"$here/scripts/check-layers.sh"

echo "== formatting"
find src tests bench fuzz tools \( -name '*.cpp' -o -name '*.h' \) -print0 2>/dev/null |
    xargs -0 -r "$clang_format" --dry-run --Werror
echo "== install and package"
release_build=${WENDMOOR_RELEASE_BUILD_DIR:-$here/build-release}
cmake -S "$here" -B "$release_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DWENDMOOR_BUILD_TESTS=OFF -DWENDMOOR_BUILD_BENCH=ON >/dev/null
cmake --build "$release_build" -j 2
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR=$stage cmake --install "$release_build" --prefix /usr >/dev/null
appstreamcli validate --no-net "$stage"/usr/share/metainfo/*.metainfo.xml
desktop-file-validate "$stage"/usr/share/applications/*.desktop
for page in "$stage"/usr/share/man/man1/*.1.gz; do
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$page: $warnings" >&2; exit 1; }
done
rm -f "$release_build"/wendmoor_*.deb
(cd "$release_build" && cpack -G DEB >/dev/null)
lintian --fail-on error --suppress-tags running-as-root "$release_build"/wendmoor_*.deb

# The bash completion offers the games, then the packages the tool lists for the game.
"$release_build/tools/sample_setup/wendmoor-sample-setup" -- "$stage/sample" >/dev/null
cli=$release_build/src/cli/wendmoor-cli
settings=$stage/sample/wendmoor-sample.ini
offers() {
    bash -c 'source "$0"; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _wendmoor_cli
             printf "%s\n" "${COMPREPLY[@]}" | sort' \
        "$stage/usr/share/bash-completion/completions/wendmoor-cli" "$@"
}
[ "$(offers "$cli" list "" | tr '\n' ' ')" = "caesar3 emperor pharao zeus " ]
available=$("$cli" --settings "$settings" list zeus | sed -n 's/^A //p' | sort)
[ -n "$available" ]
[ "$(offers "$cli" --settings "$settings" install zeus "" | sed 's/\\//g')" = "$available" ]

echo "ci-extra: all checks passed"
