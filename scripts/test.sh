#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds, and runs every test:
#   0. the code is formatted as .clang-format says;
#   1. the Release build (gcc), warnings as errors, with all tests;
#   2. the sanitizer build (clang, address + undefined behaviour) with the tests again and the
#      fuzz targets for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)

echo "== Format"
find src tests -name '*.cpp' -o -name '*.h' | sort | xargs clang-format --dry-run --Werror

echo "== Release build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs" --timeout 900)

echo "== Sanitizer build (address, undefined behaviour) with fuzzing"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DZELTARN_SANITIZE=ON -DZELTARN_FUZZ=ON -DZELTARN_BENCHMARKS=OFF
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
# System libraries keep a few allocations for the life of a process started under X.
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure -j "$jobs" --timeout 900)
