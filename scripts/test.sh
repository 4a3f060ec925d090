#!/usr/bin/env bash
# Builds everything (tests and benchmarks included) and runs every test with ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
# Each stage prints its time at its end, so that a slow run shows where the time went.
stage_start=$SECONDS
stage_done() {
  echo "=== stage ${VRN_STAGE_PREFIX:-}$1: $((SECONDS - stage_start)) s"
  stage_start=$SECONDS
}
bash scripts/install-deps.sh
stage_done install
build=${VRN_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${VRN_CMAKE_FLAGS:-} >/dev/null
cmake --build "$build" -j"$(nproc)"
stage_done build
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 300
stage_done tests
