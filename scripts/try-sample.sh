#!/usr/bin/env bash
# Tries Wendmoor without owning the games: builds it, makes stand-in game folders with sample
# mission packages, and starts the program on them. Your own settings stay untouched: the
# program reads and writes the sample's settings file instead.
#   scripts/try-sample.sh [FOLDER]    the sample's folder, /tmp/wendmoor-sample unless given
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${WENDMOOR_BUILD_DIR:-$here/build}
folder=${1:-/tmp/wendmoor-sample}

WENDMOOR_BUILD_DIR=$build "$here/scripts/setup.sh" build
"$build/tools/sample_setup/wendmoor-sample-setup" -- "$folder"
settings=$(cd "$folder" && pwd)/wendmoor-sample.ini

# "Help" opens qarn_readme.htm from the folder the program starts in.
cd "$here/data"
WENDMOOR_SETTINGS=$settings exec "$build/src/app/wendmoor"
