#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds, and shows the program at work on
# the sample: each sample expression is entered into a cell and what the cell shows is printed.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target zeltarn-cli

mapfile -t sample < samples/sample-formulas.txt
echo "Sample: samples/sample-formulas.txt (column A, one expression per cell)"
./build/src/app/zeltarn-cli calc "${sample[@]}"
