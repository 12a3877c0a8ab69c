#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds, and starts the program.
# Without a display it says so and shows the sample's computed values with zeltarn-cli.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target zeltarn zeltarn-cli

mapfile -t sample < samples/sample-formulas.txt
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    echo "Sample values (samples/sample-formulas.txt, column A):"
    ./build/src/app/zeltarn-cli calc "${sample[@]}"
    exec ./build/src/app/zeltarn
fi
echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): the window cannot open here."
echo "The sample's computed values instead (samples/sample-formulas.txt, column A):"
./build/src/app/zeltarn-cli calc "${sample[@]}"
