#!/usr/bin/env bash
# The planted-fault lister on a small file: each kind of fault is offered where the code has it, and
# never inside a comment, a string, a preprocessor line or a template's angle brackets.
set -euo pipefail
lister=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/sample.cpp" <<'CPP'
#include <array>
// if (a < b) return 1;
std::array<int, 3> kTable{};
int Clamp(int v, int lo) {
    const char* text = "a < b && 7";
    if (v < lo && v != 0) return std::min(v, lo);
    Notify(v, lo);
    return v >= 10 ? 2 : 0;
}
CPP
out=$(python3 "$lister" list "$work/sample.cpp")
expect() {
  grep -qF -- "$1" <<<"$out" || { echo "missing fault: $1"; echo "$out"; exit 1; }
}
refuse() {
  if grep -qF -- "$1" <<<"$out"; then echo "fault where none belongs: $1"; echo "$out"; exit 1; fi
}
expect $'6\tcompare\tif (v <= lo && v != 0) return std::min(v, lo);'
expect $'6\tcompare\tif (v < lo && v == 0) return std::min(v, lo);'
expect $'6\tlogic\tif (v < lo || v != 0) return std::min(v, lo);'
expect $'6\tclamp\tif (v < lo && v != 0) return std::max(v, lo);'
expect $'6\tcondition\tif (!(v < lo && v != 0)) return std::min(v, lo);'
expect $'7\tcall dropped\t(void)0;  // planted: Notify(v, lo);'
expect $'7\targuments\tNotify(lo, v);'
expect $'8\tconstant\treturn v >= 11 ? 2 : 0;'
expect $'8\tcompare\treturn v > 10 ? 2 : 0;'
refuse $'\t1\t'
refuse $'\t2\t'
refuse $'\t5\t'
refuse 'std::array<int, 4>'
refuse 'array<='
# Applying a fault changes that one line and nothing else.
index=$(grep -F $'\tNotify(lo, v);' <<<"$out" | cut -f 1)
cp "$work/sample.cpp" "$work/before.cpp"
python3 "$lister" apply "$work/sample.cpp" "$index" 0
[ "$(diff "$work/before.cpp" "$work/sample.cpp" | grep -c '^[<>]')" -eq 2 ] || { echo "apply changed more than a line"; exit 1; }
grep -qxF '    Notify(lo, v);' "$work/sample.cpp" || { echo "apply did not plant the fault"; exit 1; }
# The script's --help prints how to call it and succeeds, with no build or file needed.
help=$(bash "$(dirname "$lister")/../mutate.sh" --help) || { echo "mutate.sh --help failed"; exit 1; }
grep -qF 'bash scripts/mutate.sh FILE [N]' <<<"$help" || { echo "mutate.sh --help printed no usage"; echo "$help"; exit 1; }
echo "mutants: every kind offered where it belongs"
