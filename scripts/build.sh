#!/usr/bin/env bash
# Configures and builds one build tree: build.sh <build-dir> [extra cmake arguments...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
jobs=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc 2>/dev/null || echo 2)}
cmake -S "$here" -B "$dir" -DORV_WERROR=ON "$@" >/dev/null
cmake --build "$dir" -j "$jobs"
