#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds, and starts the program.
# Without a display it says so and shows the sample's computed values with zeltarn-cli.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target zeltarn zeltarn-cli

sample=samples/sample.zel
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    echo "Starting zeltarn with the sample sheet $sample."
    exec ./build/src/app/zeltarn "$sample"
fi
echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): the window cannot open here."
echo "What the cells of the sample sheet $sample show, through zeltarn-cli:"
./build/src/app/zeltarn-cli show "$sample"
