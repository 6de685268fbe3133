#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for a bounded time
# on its seed inputs plus the regression inputs kept in fuzz/corpus (images)
# and fuzz/corpus-patch (patches).
# usage: tools/run-fuzz.sh [SECONDS]    (default 60; each harness gets as long)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
CC=clang CXX=clang++ tools/bootstrap.sh build-fuzz -DVORNED_BUILD_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
seeds=build-fuzz/seeds
work=build-fuzz/corpus
rm -rf "$seeds" "$seeds-patch"
build-fuzz/fuzz/make_seeds "$seeds"
mkdir -p "$work"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# New inputs go to the scratch corpus; fuzz/corpus holds the regression inputs.
build-fuzz/fuzz/fuzz_image -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 \
    -max_len=1100000 -print_final_stats=1 -artifact_prefix=build-fuzz/ \
    "$work" "$seeds" fuzz/corpus
# The patch formats: applied to a fixed image, and made between two images.
mkdir -p "$work-patch" fuzz/corpus-patch
build-fuzz/fuzz/fuzz_patch -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 \
    -max_len=200000 -print_final_stats=1 -artifact_prefix=build-fuzz/patch- \
    "$work-patch" "$seeds-patch" fuzz/corpus-patch
