#!/usr/bin/env bash
# Fuzzes the Modbus request parser (the header's framing, then the register map) with libFuzzer for a bounded time (scripts/fuzz-target.sh does
# the work):
#   bash scripts/fuzz-modbus.sh [seconds]        (default 60)
#   bash scripts/fuzz-modbus.sh --build-only     (builds the target)
# Starts from the request frames in tests/remote/fuzz/seeds; keeps what it finds in <build>/modbus-corpus.
# The seeds are replayed by remote_tests (ModbusFuzzReplay) in every build.
exec bash "$(dirname "$0")/fuzz-target.sh" fuzz-modbus modbus_request_fuzz tests/remote tests/remote/fuzz/seeds \
  modbus-corpus 260 "" "$@"
