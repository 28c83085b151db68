#!/usr/bin/env bash
# The install as a user and a packager get it: a Release build (with the benchmark, which only
# CI and scripts/bench.sh build), installed into a staging folder and checked with
# appstreamcli, desktop-file-validate and man; the Debian package checked with lintian; the
# bash completion asked for games and packages on the sample set-up. scripts/ci-extra.sh runs it.
#   scripts/check-package.sh        (build folder: build-release, or $WENDMOOR_RELEASE_BUILD_DIR)
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-packages.sh" --no-install-recommends appstream desktop-file-utils lintian \
    dpkg-dev file man-db

release_build=${WENDMOOR_RELEASE_BUILD_DIR:-$here/build-release}
cmake -S "$here" -B "$release_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DWENDMOOR_BUILD_TESTS=OFF -DWENDMOOR_BUILD_BENCH=ON -DCMAKE_INSTALL_BINDIR=games >/dev/null
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
lintian --fail-on error "$release_build"/wendmoor_*.deb

# The bash completion offers the games, then the packages the tool lists for the game.
"$release_build/tools/sample_setup/wendmoor-sample-setup" -- "$stage/sample" >/dev/null
cli=$release_build/src/cli/wendmoor-cli
settings=$stage/sample/wendmoor-sample.ini
offers() {
    bash -c 'source "$0"; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _wendmoor_cli
             printf "%s\n" "${COMPREPLY[@]}" | sort' \
        "$stage/usr/share/bash-completion/completions/wendmoor-cli" "$@"
}
expect() {  # WHAT GOT WANTED
    if [ -z "$3" ] || [ "$2" != "$3" ]; then
        printf '%s: got "%s", wanted "%s"\n' "$1" "$2" "$3" >&2
        exit 1
    fi
}
expect "bash completion of the games" "$(offers "$cli" list "" | tr '\n' ' ')" \
    "caesar3 emperor pharao zeus "
# Offered quoted for the shell ("Olympia\ Saves.zip").
expect "bash completion of the available packages" \
    "$(offers "$cli" --settings "$settings" install zeus "" | sed 's/\\//g')" \
    "$("$cli" --settings "$settings" list zeus | sed -n 's/^A //p' | sort)"

echo "check-package: all checks passed"
