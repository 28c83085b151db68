#!/bin/sh
# Builds the benchmark in Release into build-bench and runs it. Arguments go to the benchmark
# ("--help" tells them; "--smoke" runs every step on tiny sizes). unzip and Python are the
# baselines, strace counts the system calls.
set -eu
repo=$(cd "$(dirname "$0")/.." && pwd)
build="$repo/build-bench"
"$repo/scripts/install-packages.sh" unzip python3 strace
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DWENDMOOR_BUILD_BENCH=ON >/dev/null
ninja -C "$build" -j2 wendmoor_bench wendmoor_finder_bench
QT_QPA_PLATFORM=offscreen "$build/bench/wendmoor_bench" "$@"
"$build/bench/wendmoor_finder_bench"
