#!/usr/bin/env bash
# Fuzzes the SCPI lexer and parser with libFuzzer for a bounded time (scripts/fuzz-target.sh does the work):
#   bash scripts/fuzz-scpi.sh [seconds]        (default 60)
#   bash scripts/fuzz-scpi.sh --build-only     (builds the target; the build of ctest's smoke run)
# Starts from the seed messages in tests/scpi/fuzz/seeds with the SCPI dictionary; keeps what it finds in
# <build>/corpus.
exec bash "$(dirname "$0")/fuzz-target.sh" fuzz-scpi scpi_parser_fuzz tests/scpi tests/scpi/fuzz/seeds corpus 4096 \
  tests/scpi/fuzz/scpi.dict "$@"
