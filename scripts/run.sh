#!/usr/bin/env bash
# Builds the controller and starts it on the simulated instrument; extra arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target vrn-controller vrn-fbpng
exec ./build/app/vrn-controller "$@"
