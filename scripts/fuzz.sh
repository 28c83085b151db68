#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for SECONDS on a fresh seed corpus.
#   scripts/fuzz.sh SECONDS
# A crash, a leak, undefined behaviour or a change outside the temporary game tree stops the
# run with a non-zero status; the input that caused it is left in build-fuzz/artifacts.
set -euo pipefail

seconds=${1:?usage: scripts/fuzz.sh SECONDS}
here=$(cd "$(dirname "$0")/.." && pwd)
build=${WENDMOOR_FUZZ_BUILD_DIR:-$here/build-fuzz}
jobs=${WENDMOOR_JOBS:-2}

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DWENDMOOR_FUZZ=ON -DWENDMOOR_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target fuzz_all -j "$jobs"

seeds=$build/corpus/seeds
rm -rf "$seeds"
mkdir -p "$seeds" "$build/artifacts"
"$build/fuzz/make_seed_corpus" "$seeds"

export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS="suppressions=$here/scripts/lsan-suppressions.txt:print_suppressions=0"
for target in "$build"/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    # Each target keeps what it learned in a corpus of its own, seeded afresh every run.
    corpus=$build/corpus/$name
    mkdir -p "$corpus"
    echo "== $name for ${seconds}s"
    "$target" "$corpus" "$seeds" -max_total_time="$seconds" -max_len=65536 -timeout=20 \
        -rss_limit_mb=2048 -artifact_prefix="$build/artifacts/$name-" -print_final_stats=1 \
        2>"$build/$name.log" || {
        tail -n 60 "$build/$name.log" >&2
        echo "fuzz: $name failed; see $build/$name.log" >&2
        exit 1
    }
    grep -E "stat::number_of_executed_units|Done [0-9]+ runs" "$build/$name.log" | tail -n 1
done
