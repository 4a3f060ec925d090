#!/usr/bin/env bash
# What the fuzz scripts share: builds one libFuzzer target with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/ (or $VRN_FUZZ_BUILD_DIR) and runs it for a bounded time from
# its seed files, keeping the inputs it finds in <build>/<corpus>. A crash leaves its input in <build>/ and
# fails the script. The seconds are the whole run's, a build included. Exits 77 when clang or its
# libFuzzer runtime is not installed, or when VRN_SKIP_FUZZ_SMOKE=1 (--build-only then exits 0).
#   bash scripts/fuzz-target.sh NAME TARGET TARGET_DIR SEEDS CORPUS MAX_LEN DICT [--build-only] [seconds]
set -euo pipefail
started=$(date +%s%N)
cd "$(dirname "$0")/.."
name=$1 target_name=$2 target_dir=$3 seeds=$4 corpus=$5 max_len=$6 dict=$7
shift 7
build_only=0
if [ "${1:-}" = --build-only ]; then
  build_only=1
  shift
fi
seconds=${1:-60}
build=${VRN_FUZZ_BUILD_DIR:-build-fuzz}
cxx=${VRN_FUZZ_CXX:-clang++}
skip=77
[ $build_only = 1 ] && skip=0

if [ "${VRN_SKIP_FUZZ_SMOKE:-0}" = 1 ]; then
  echo "$name: skipped (VRN_SKIP_FUZZ_SMOKE=1)" >&2
  exit $skip
fi
if ! command -v "$cxx" >/dev/null 2>&1; then
  echo "$name: $cxx not found (Debian packages clang and libclang-rt-dev)" >&2
  exit $skip
fi
target="$build/$target_dir/$target_name"
if [ ! -x "$target" ]; then
  probe=$(mktemp -d)
  trap 'rm -rf "$probe"' EXIT
  echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' > "$probe/p.cpp"
  if ! "$cxx" -fsanitize=fuzzer "$probe/p.cpp" -o "$probe/p" >/dev/null 2>&1; then
    echo "$name: $cxx cannot link libFuzzer (Debian package libclang-rt-dev)" >&2
    exit $skip
  fi
fi

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
# A configured folder is only built again (the build itself notices changed CMake files).
if ! grep -qxF "CMAKE_CXX_FLAGS:STRING=$flags" "$build/CMakeCache.txt" 2>/dev/null; then
  cmake -S . -B "$build" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVRN_FUZZ=ON \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
fi
# Run from the main build's make, the jobserver of that make is not handed down: build with a job count
# of its own ($VRN_FUZZ_JOBS, else one per core). --build-only builds every fuzz target (fuzz_targets),
# so that one build serves all smoke runs.
unset MAKEFLAGS MFLAGS MAKELEVEL
jobs=${VRN_FUZZ_JOBS:-$(nproc)}
if [ $build_only = 1 ]; then
  cmake --build "$build" -j"$jobs" --target fuzz_targets >/dev/null
  exit 0
fi
cmake --build "$build" -j"$jobs" --target "$target_name" >/dev/null

# libFuzzer counts from its own start and stops only once a whole second more has passed: what the build
# took and that second come off the fuzzing time.
spent=$(( ($(date +%s%N) - started + 999999999) / 1000000000 ))
fuzz=$(( seconds - spent - 1 ))
[ $fuzz -lt 1 ] && fuzz=1
mkdir -p "$build/$corpus"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
dict_arg=()
[ -n "$dict" ] && dict_arg=(-dict="$dict")
# libFuzzer's own failure status is 77, the smoke tests' "skipped": a crash must fail them instead.
"$target" -max_total_time="$fuzz" -max_len="$max_len" -timeout=10 -error_exitcode=1 "${dict_arg[@]}" \
  -artifact_prefix="$build/" -print_final_stats=1 "$build/$corpus" "$seeds"
