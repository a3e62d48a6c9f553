#!/usr/bin/env bash
# Builds the fuzz targets as libFuzzer programs with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a few seconds: fuzz.sh <build-dir> [seconds].
# Findings are written to <build-dir>/fuzz/fuzz-findings/.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$1
seconds=${2:-4}
jobs=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc 2>/dev/null || echo 2)}
# clang also warns of private fields the classes keep unused on purpose; the other warnings stay errors.
CC=clang-14 CXX=clang++-14 cmake -S "$here" -B "$dir" -DORV_WERROR=ON -DORV_FUZZ=ON -DORV_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS=-Wno-unused-private-field -DCMAKE_BUILD_TYPE=Debug -DORV_BUILD_TESTS=OFF -DORV_BUILD_BENCHMARKS=OFF -DORV_FUZZ_SECONDS="$seconds" >/dev/null
cmake --build "$dir" -j "$jobs" --target orv_fuzzers
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
(cd "$dir" && ctest --output-on-failure -j "$jobs" -R '^fuzz\.')
