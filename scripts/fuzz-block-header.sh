#!/usr/bin/env bash
# Fuzzes the definite-length block header reader of the memory transfers with libFuzzer for a bounded time
# (scripts/fuzz-target.sh does the work):
#   bash scripts/fuzz-block-header.sh [seconds]        (default 60)
#   bash scripts/fuzz-block-header.sh --build-only     (builds the target)
# Starts from the seed blocks in tests/scpi/fuzz/block_seeds; keeps what it finds in <build>/block-corpus.
exec bash "$(dirname "$0")/fuzz-target.sh" fuzz-block-header block_header_fuzz tests/scpi \
  tests/scpi/fuzz/block_seeds block-corpus 64 "" "$@"
