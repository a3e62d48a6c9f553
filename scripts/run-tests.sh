#!/usr/bin/env bash
# Installs what is needed, builds the project twice (plain, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs the whole test suite in both builds.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

bash "$here/scripts/install-deps.sh"

bash "$here/scripts/build.sh" "$here/build"
(cd "$here/build" && ctest --output-on-failure -j "$jobs")

# intercept_tls_get_addr=0: the leak check otherwise notes each dynamic thread-local block that a
# library loaded at run time (libcups's and libgs's dependencies) hands out, and this compiler's
# sanitizer misreads such a block when it happens to start 16 bytes into a page: it then crashes
# at the program's exit after every test passed ("Tracer caught signal 11"), depending only on
# where the allocations fall. Heap blocks those libraries keep are still found through the heap.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
bash "$here/scripts/build.sh" "$here/build-asan" -DORV_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DORV_BUILD_BENCHMARKS=OFF
(cd "$here/build-asan" && ctest --output-on-failure -j "$jobs")

# The fuzz targets under libFuzzer, when clang is installed: a build of their own (only the fuzz
# programs and what they need), each target run for a few seconds under the sanitizers.
if command -v clang++-14 >/dev/null 2>&1; then
  bash "$here/scripts/fuzz.sh" "$here/build-fuzz"
fi
