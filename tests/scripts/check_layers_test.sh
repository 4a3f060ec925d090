#!/usr/bin/env bash
# Plants small trees and expects the layering check to pass or fail on each; then plants a relative
# include in a copy of the real tree (TREE) and expects the check to find it.
#   usage: check_layers_test.sh CHECK TREE
set -u
check=$1
real=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

# case <name> <expect: pass|fail> <file:line>... : each file gets its one include line (or none).
case_() {
    local name=$1 expect=$2
    shift 2
    local tree="$tmp/$name"
    mkdir -p "$tree"
    for spec in "$@"; do
        local file=${spec%%=*} include=${spec#*=}
        mkdir -p "$tree/$(dirname "$file")"
        { echo "#pragma once"; [ -n "$include" ] && echo "#include \"$include\""; } >>"$tree/$file"
    done
    local got=pass
    bash "$check" "$tree" >"$tmp/$name.out" 2>&1 || got=fail
    if [ "$got" != "$expect" ]; then
        echo "case $name: expected $expect, got $got"
        cat "$tmp/$name.out"
        failures=$((failures + 1))
    fi
}

case_ downward pass "core/params/a.h=core/regbus/b.h" "core/regbus/b.h=platform/c.h" "platform/c.h="
case_ same_folder pass "panel/a.cpp=panel/a.h" "panel/a.h="
case_ upward fail "core/regbus/b.cpp=core/params/a.h" "core/params/a.h="
case_ upward_far fail "platform/x.cpp=app/y.h" "app/y.h="
case_ circle fail "scpi/a.h=scpi/b.h" "scpi/b.h=scpi/c.h" "scpi/c.h=scpi/a.h"
case_ unknown_folder fail "core/misc/a.cpp=platform/c.h" "platform/c.h="
# A subfolder is part of the nearest listed folder above it, with that folder's rank.
case_ subfolder_down pass "scpi/parser/a.cpp=core/params/limits/b.h" "core/params/limits/b.h=platform/stage/c.h" \
    "platform/stage/c.h="
case_ subfolder_up fail "core/params/limits/b.cpp=panel/x/a.h" "panel/x/a.h="
case_ subfolder_sideways pass "scpi/parser/a.cpp=scpi/status/b.h" "scpi/status/b.h="
# GUI/Core is a layer of its own below GUI, though it lies inside it.
case_ nested_layer fail "GUI/Core/a.cpp=GUI/text/b.h" "GUI/text/b.h="
case_ relative_up fail "core/params/a.cpp=../../panel/b.h" "panel/b.h="
case_ relative_beside fail "scpi/parser/a.cpp=b.h" "scpi/parser/b.h="
case_ dotted fail "core/params/a.cpp=core/../panel/b.h" "panel/b.h="
# Two modules whose files include each other, though no header includes itself.
case_ module_pair fail "engine/a.cpp=engine/b.h" "engine/a.h=" "engine/b.cpp=engine/a.h" "engine/b.h="
# A source file without a header of its own belongs to the module whose name starts its own.
case_ module_part fail "engine/a_rules.cpp=engine/a.h" "engine/a_rules.cpp=engine/b.h" "engine/a.h=" "engine/b.cpp=engine/a.h" "engine/b.h="
case_ module_chain pass "engine/a.cpp=engine/b.h" "engine/a.h=" "engine/b.cpp=engine/c.h" "engine/b.h=" "engine/c.h="

# The real tree passes, and fails once a relative include that climbs up a layer is planted in it.
copy="$tmp/real"
mkdir -p "$copy"
(cd "$real" && find . -path ./build -prune -o -path './build-*' -prune -o -path ./.git -prune -o \
    \( -name '*.h' -o -name '*.cpp' \) -print0 | xargs -0 cp --parents -t "$copy")
mkdir -p "$copy/docs" && cp "$real/docs/architecture.md" "$copy/docs/"
target=core/params/param_store.cpp
if ! bash "$check" "$copy" >"$tmp/real.out" 2>&1; then
    echo "case real_tree: expected pass, got fail"
    cat "$tmp/real.out"
    failures=$((failures + 1))
fi
panel_header=$(cd "$copy" && ls panel/*.h | head -1)
sed -i "0,/^#include/s||#include \"../../$panel_header\"\n#include|" "$copy/$target"
grep -q "\.\./\.\./$panel_header" "$copy/$target" || { echo "could not plant the include"; exit 1; }
if bash "$check" "$copy" >"$tmp/planted.out" 2>&1 || ! grep -q "$target" "$tmp/planted.out"; then
    echo "case planted_relative: expected a failure naming $target, got:"
    cat "$tmp/planted.out"
    failures=$((failures + 1))
fi

# The architecture drawing: a folder drawn below a lower layer, a folder gone, a source folder not drawn.
doc_case() {
    local name=$1 edit=$2 expect=$3
    cp "$real/docs/architecture.md" "$copy/docs/architecture.md"
    sed -i "$edit" "$copy/docs/architecture.md"
    if bash "$check" "$copy" >"$tmp/$name.out" 2>&1 || ! grep -q "$expect" "$tmp/$name.out"; then
        echo "case $name: expected a failure naming $expect, got:"
        cat "$tmp/$name.out"
        failures=$((failures + 1))
    fi
}
sed -i "s|#include \"../../$panel_header\"||" "$copy/$target"
doc_case doc_order '/^  app\//{h;d};/^  platform\/panel_channel\//{p;x}' 'draws app/ below platform/panel_channel/'
doc_case doc_gone 's|^  remote/web/ |  remote/www/ |' 'draws remote/www/'
doc_case doc_missing '/^  engine\/arb\//d' 'engine/arb: holds sources but is not drawn'

[ "$failures" -eq 0 ] && echo "all cases as expected"
exit "$failures"
