#!/usr/bin/env bash
# Fuzzes the BMP decoder with libFuzzer for a bounded time (scripts/fuzz-target.sh does the work):
#   bash scripts/fuzz-bmp.sh [seconds]        (default 60)
#   bash scripts/fuzz-bmp.sh --build-only     (builds the target only)
# Starts from the seed files in tests/GUI/fuzz/seeds; keeps what it finds in <build>/bmp-corpus. The seeds
# are replayed by gui_tests (BmpFuzzReplay) in every build.
exec bash "$(dirname "$0")/fuzz-target.sh" fuzz-bmp bmp_fuzz tests/GUI tests/GUI/fuzz/seeds bmp-corpus 8192 "" "$@"
