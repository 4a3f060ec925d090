#!/usr/bin/env bash
# Fuzzes the SCPI lexer and parser with libFuzzer for a bounded time:
#   bash scripts/fuzz-scpi.sh [seconds]        (default 60)
# Builds the fuzz target with clang, AddressSanitizer and UndefinedBehaviorSanitizer in build-fuzz/
# (or $VRN_FUZZ_BUILD_DIR), starts from the seed messages in tests/scpi/fuzz/seeds and keeps the inputs
# it finds in <build>/corpus. A crash leaves its input in <build>/ and fails the script. Exits 77 when
# clang or its libFuzzer runtime is not installed, or when VRN_SKIP_FUZZ_SMOKE=1.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${VRN_FUZZ_BUILD_DIR:-build-fuzz}
cxx=${VRN_FUZZ_CXX:-clang++}

if [ "${VRN_SKIP_FUZZ_SMOKE:-0}" = 1 ]; then
  echo "fuzz-scpi: skipped (VRN_SKIP_FUZZ_SMOKE=1)" >&2
  exit 77
fi
if ! command -v "$cxx" >/dev/null 2>&1; then
  echo "fuzz-scpi: $cxx not found (Debian packages clang and libclang-rt-dev)" >&2
  exit 77
fi
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' > "$probe/p.cpp"
if ! "$cxx" -fsanitize=fuzzer "$probe/p.cpp" -o "$probe/p" >/dev/null 2>&1; then
  echo "fuzz-scpi: $cxx cannot link libFuzzer (Debian package libclang-rt-dev)" >&2
  exit 77
fi

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVRN_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build" -j"$(nproc)" --target scpi_parser_fuzz >/dev/null
mkdir -p "$build/corpus"
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
"$build/tests/scpi/scpi_parser_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
  -dict=tests/scpi/fuzz/scpi.dict -artifact_prefix="$build/" -print_final_stats=1 \
  "$build/corpus" tests/scpi/fuzz/seeds
