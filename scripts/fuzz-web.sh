#!/usr/bin/env bash
# Fuzzes what the web server reads from outside (the web key query, websocket frames into the web
# channel's receive buffer, a Range header) and how it cuts replies into frames, with libFuzzer for a
# bounded time (scripts/fuzz-target.sh does the work):
#   bash scripts/fuzz-web.sh [seconds]        (default 60)
#   bash scripts/fuzz-web.sh --build-only     (builds the target)
# Starts from the seeds in tests/remote/fuzz/seeds; keeps what it finds in <build>/web-corpus.
exec bash "$(dirname "$0")/fuzz-target.sh" fuzz-web web_input_fuzz tests/remote tests/remote/fuzz/seeds \
  web-corpus 4096 "" "$@"
