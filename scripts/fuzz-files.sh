#!/usr/bin/env bash
# Fuzzes the readers of stored and received data with libFuzzer for a bounded time (scripts/fuzz-target.sh
# does the work):
#   bash scripts/fuzz-files.sh TARGET [seconds]      (default 60)
#   bash scripts/fuzz-files.sh all [seconds]         (every target in turn, each for the seconds)
#   bash scripts/fuzz-files.sh TARGET --build-only   (builds every fuzz target)
# TARGET: preset_file arb_file barcode_file calibration_file nv_block config_text told_record (tests/storage/fuzz),
# seq_file sim_file names_file stored_record (tests/engine/fuzz). Each starts from its seed files in <folder>/fuzz/seeds/TARGET and
# keeps what it finds in <build>/TARGET-corpus. The seeds are replayed by storage_tests
# (StorageFuzzReplay) and engine_tests (SeqSimFuzzReplay) in every build. The targets write only below a
# temporary instrument root, made in $TMPDIR (/dev/shm when it is unset and writable: the readers' saves
# are synced to disk, which a RAM disk makes cheap).
set -euo pipefail
cd "$(dirname "$0")/.."
targets="preset_file arb_file barcode_file calibration_file nv_block config_text told_record seq_file sim_file names_file stored_record"
if [ $# -lt 1 ]; then
  echo "usage: $0 TARGET|all [seconds|--build-only]; TARGET one of: $targets" >&2
  exit 2
fi
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
target=$1
shift
if [ "$target" = all ]; then
  for t in $targets; do
    bash "$0" "$t" "$@"
  done
  exit 0
fi
# TARGET -> test folder, longest input, dictionary.
case "$target" in
  preset_file)      dir=tests/storage max_len=4096 dict="" ;;
  arb_file)         dir=tests/storage max_len=8600 dict="" ;;
  barcode_file)     dir=tests/storage max_len=2048 dict="" ;;
  calibration_file) dir=tests/storage max_len=1024 dict="" ;;
  nv_block)         dir=tests/storage max_len=8200 dict="" ;;
  config_text)      dir=tests/storage max_len=3200 dict=tests/storage/fuzz/config_text.dict ;;
  told_record)      dir=tests/storage max_len=6000 dict="" ;;
  seq_file)         dir=tests/engine max_len=4096 dict="" ;;
  sim_file)         dir=tests/engine max_len=2048 dict="" ;;
  names_file)       dir=tests/engine max_len=1024 dict="" ;;
  stored_record)    dir=tests/engine max_len=256 dict="" ;;
  *)
    echo "$0: unknown target $target; one of: $targets" >&2
    exit 2
    ;;
esac
exec bash scripts/fuzz-target.sh "fuzz-$target" "${target}_fuzz" "$dir" "$dir/fuzz/seeds/$target" \
  "$target-corpus" "$max_len" "$dict" "$@"
