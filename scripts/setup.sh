#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine and builds Wendmoor, then runs it or its tests.
#   scripts/setup.sh run    install what is missing, build, start the program
#   scripts/setup.sh build  install what is missing, build
#   scripts/setup.sh test   install what is missing, build, run every test
set -euo pipefail

mode=${1:-run}
case "$mode" in
    run | build | test) ;;
    *)
        echo "usage: $0 run|build|test" >&2
        exit 2
        ;;
esac
here=$(cd "$(dirname "$0")/.." && pwd)
build=${WENDMOOR_BUILD_DIR:-$here/build}

"$here/scripts/install-packages.sh" --no-install-recommends cmake ninja-build g++ pkg-config qt6-base-dev zlib1g-dev libgtest-dev xdg-utils

# Only what the command needs: the tests only for "test"; the benchmark and the fuzz targets
# never (scripts/bench.sh, scripts/fuzz.sh and CI build them).
tests=OFF
[ "$mode" = test ] && tests=ON
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWENDMOOR_BUILD_TESTS=$tests
cmake --build "$build"

case "$mode" in
    build) ;;
    run)
        # "Help" opens qarn_readme.htm from the folder the program starts in.
        cd "$here/data"
        exec "$build/src/app/wendmoor"
        ;;
    test)
        ctest --test-dir "$build" --output-on-failure
        ;;
esac
