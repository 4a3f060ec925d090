#!/usr/bin/env bash
# Plants small trees and expects the layering check to pass or fail on each.
set -u
check=$1
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

[ "$failures" -eq 0 ] && echo "all cases as expected"
exit "$failures"
