#!/usr/bin/env bash
# Fuzzes the update package check with libFuzzer for a bounded time (scripts/fuzz-target.sh does the work):
#   bash scripts/fuzz-pkg.sh [seconds]        (default 60)
#   bash scripts/fuzz-pkg.sh --build-only     (builds the target; the build of ctest's smoke run)
# Every input goes through the package unpack and the web pages' archive checks, and is unpacked by the
# real tar wherever a check passes: a run needs tar and gzip. Starts from the seed files in
# tests/sysadmin/fuzz/seeds with the tar dictionary; keeps what it finds in <build>/pkg-corpus. The seeds
# are replayed by sysadmin_tests (PkgFuzzReplay) in every build.
exec bash "$(dirname "$0")/fuzz-target.sh" fuzz-pkg pkg_check_fuzz tests/sysadmin tests/sysadmin/fuzz/seeds \
  pkg-corpus 16384 tests/sysadmin/fuzz/tar.dict "$@"
