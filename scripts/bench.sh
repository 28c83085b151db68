#!/bin/sh
# Builds the benchmark in Release into build-bench and runs it. Arguments go to the benchmark
# ("--smoke" for a quick run of every step on tiny sizes).
set -eu
repo=$(cd "$(dirname "$0")/.." && pwd)
build="$repo/build-bench"
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$build" -j2 wendmoor_bench wendmoor_finder_bench
QT_QPA_PLATFORM=offscreen "$build/bench/wendmoor_bench" "$@"
"$build/bench/wendmoor_finder_bench"
