#!/usr/bin/env bash
# Fuzzes the BMP reader of the sandbox's cjpeg with libFuzzer for a bounded time (scripts/fuzz-target.sh
# does the work):
#   bash scripts/fuzz-bmp24.sh [seconds]        (default 60)
#   bash scripts/fuzz-bmp24.sh --build-only     (builds the target)
# Starts from the seeds in tests/platform/fuzz/bmp24_seeds; keeps what it finds in <build>/bmp24-corpus.
exec bash "$(dirname "$0")/fuzz-target.sh" fuzz-bmp24 bmp24_decode_fuzz tests/platform \
  tests/platform/fuzz/bmp24_seeds bmp24-corpus 4096 "" "$@"
