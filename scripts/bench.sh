#!/usr/bin/env bash
# Builds the benchmark programs of bench/ and runs each whose name matches NAME-REGEX (every one without
# it), printing its figures; the other arguments go to each program (--benchmark_filter=...). The
# black-box ones of bench/system start the controller of the same build folder (VRN_BUILD_DIR, default
# build), which is built with them. A program that fails does not stop the others; the script then fails.
#   usage: bench.sh [NAME-REGEX] [benchmark arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
pattern=${1:-.}
[ $# -gt 0 ] && shift
build=$(realpath -m "${VRN_BUILD_DIR:-build}")

programs=()
while IFS= read -r source; do
  name=$(basename "$source" .cpp)
  if grep -Eq -- "$pattern" <<<"$name"; then
    programs+=("$(dirname "${source#bench/}")/$name")
  fi
done < <(find bench -name '*_bench.cpp' | sort)
if [ ${#programs[@]} -eq 0 ]; then
  echo "bench.sh: no benchmark program matches '$pattern'" >&2
  exit 2
fi

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVRN_BUILD_TESTS=ON -DVRN_BUILD_BENCHMARKS=ON \
  ${VRN_CMAKE_FLAGS:-} >/dev/null
cmake --build "$build" -j"$(nproc)" --target vrn-controller "${programs[@]##*/}"

failed=()
for program in "${programs[@]}"; do
  echo "=== ${program##*/}"
  VRN_BUILD_DIR=$build "$build/bench/$program" "$@" || failed+=("${program##*/}")
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "bench.sh: failed: ${failed[*]}" >&2
  exit 1
fi
