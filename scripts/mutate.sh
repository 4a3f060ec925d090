#!/usr/bin/env bash
# Plants simple faults in one source file, one at a time, and runs the tests of the file's area against
# each: a fault that no test notices is a survivor, printed with its line. The file is always put back.
#
#   bash scripts/mutate.sh FILE [N]      at most N faults (default 20), spread over the file
#
# The faults (scripts/mutate/mutants.py): a comparison flipped or made strict, && and || swapped, an
# integer constant moved by one, a call statement dropped, std::min and std::max swapped, an if
# condition inverted, the two arguments of a call swapped.
# The tests of the area are the unit-test program of the deepest tests/ folder over FILE's folder
# (screens/menu/editors/x.cpp: tests/screens/menu's screens_menu_tests); MUTATE_TESTS="prog ..." names
# other programs of tests/ instead, MUTATE_FILTER is a gtest filter for them. MUTATE_TESTS=system_tests
# runs the black-box suites of tests/system against the program built with the fault: each suite in one
# process, since its tests share one started controller (MUTATE_FILTER=ScpiSource.* names the suites). The build in
# $VRN_BUILD_DIR (default build) is reused, so only FILE's object and the test programs are made again;
# each test runs in a process of its own, MUTATE_JOBS (default: the cores) at a time, until the first failure.
# Prints one line per fault (killed, SURVIVED, no build) and a count; exits 0.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
# The usage is the comment block above, printed without its comment marks.
case "${1:-}" in
  -h|--help) sed -n '2,/^set -euo/{/^#/s/^# \{0,1\}//p}' "$0"; exit 0 ;;
esac
file=${1:?usage: mutate.sh FILE [N] (--help for more)}
limit=${2:-20}
build=${VRN_BUILD_DIR:-build}
jobs=${MUTATE_JOBS:-$(nproc)}
file=${file#./}
[ -f "$file" ] || { echo "mutate.sh: no file $file" >&2; exit 2; }
case "$file" in tests/*) echo "mutate.sh: $file is a test; plant faults in the code it tests" >&2; exit 2 ;; esac
[ -f "$build/CMakeCache.txt" ] || { echo "mutate.sh: no build in $build; run scripts/test.sh first" >&2; exit 2; }
build=$(cd "$build" && pwd)

# The test programs of the file's area.
programs=()
if [ -n "${MUTATE_TESTS:-}" ]; then
  for name in $MUTATE_TESTS; do
    path=$(cd "$top/tests" && grep -rlE --include=CMakeLists.txt "(vrn_tests|add_executable)\($name\b" . | head -n 1)
    [ -n "$path" ] || { echo "mutate.sh: no test program $name" >&2; exit 2; }
    programs+=("$(dirname "${path#./}")/$name")
  done
else
  dir=$(dirname "$file")
  while :; do
    list="tests/$dir/CMakeLists.txt"
    if [ -f "$list" ] && name=$(sed -n 's/^vrn_tests(\([A-Za-z0-9_]*\).*/\1/p' "$list") && [ -n "$name" ]; then
      programs+=("$dir/$name")
      break
    fi
    [ "$dir" = "." ] || [ "$dir" = "$(dirname "$dir")" ] && break
    dir=$(dirname "$dir")
  done
  [ ${#programs[@]} -gt 0 ] || { echo "mutate.sh: no unit tests over $file; name them in MUTATE_TESTS" >&2; exit 2; }
fi
targets=()
for p in "${programs[@]}"; do targets+=(--target "$(basename "$p")"); done
# The black-box suites start the controller program and run the screen tool: both carry the fault.
case " ${programs[*]} " in *" system/system_tests "*) targets+=(--target vrn-controller --target vrn-fbpng) ;; esac

backup=$(mktemp)
logs=$(mktemp -d)
cp -p "$file" "$backup"
restore() {
  cp -p "$backup" "$file"
  touch "$file"   # its object is rebuilt from the original on the next build
  rm -rf "$backup" "$logs"
}
trap restore EXIT
trap 'exit 130' INT TERM

# Runs every test of the programs in a process of its own, in the program's folder, as ctest does (tests
# of one program may rely on a fresh process, golden pictures on the folder), MUTATE_JOBS at a time;
# stops at the first failure.
run_tests() {
  local p
  : >"$logs/list"
  for p in "${programs[@]}"; do
    "$build/tests/$p" --gtest_list_tests ${MUTATE_FILTER:+--gtest_filter=$MUTATE_FILTER} </dev/null |
      if [ "$p" = system/system_tests ]; then
        awk -v prog="$build/tests/$p" '/^[^ ]/ { print prog " " $1 "*" }'
      else
        awk -v prog="$build/tests/$p" '/^[^ ]/ { suite = $1 } /^  / { print prog " " suite $1 }'
      fi >>"$logs/list"
  done
  # xargs stops at the first command that exits with 255.
  VRN_BUILD_DIR="$build" xargs -P "$jobs" -L 1 sh -c \
    'cd "${0%/*}" && timeout 300 "$0" --gtest_filter="$1" >/dev/null 2>&1 </dev/null || exit 255' <"$logs/list" 2>/dev/null
}

echo "mutate: $file against ${programs[*]} ($jobs at a time)"
cmake --build "$build" "${targets[@]}" -j"$(nproc)" >"$logs/build" 2>&1 || {
  echo "mutate.sh: the unchanged tree does not build" >&2; exit 2; }
run_tests || { echo "mutate.sh: the tests fail without a planted fault" >&2; exit 2; }

killed=0 survived=0 unbuilt=0
while IFS=$'\t' read -r index line kind text; do
  python3 scripts/mutate/mutants.py apply "$file" "$index" "$limit"
  if ! cmake --build "$build" "${targets[@]}" -j"$(nproc)" >"$logs/build" 2>&1; then
    unbuilt=$((unbuilt + 1))
    echo "no build  $file:$line  $kind: $text"
  elif run_tests; then
    survived=$((survived + 1))
    echo "SURVIVED  $file:$line  $kind: $text"
  else
    killed=$((killed + 1))
    echo "killed    $file:$line  $kind"
  fi
  cp -p "$backup" "$file"
done < <(python3 scripts/mutate/mutants.py list "$file" "$limit")
touch "$file"
echo "mutate: $killed killed, $survived survived, $unbuilt did not build"
cmake --build "$build" "${targets[@]}" -j"$(nproc)" >/dev/null 2>&1 || true
