#!/usr/bin/env bash
# Fails when a register or a parameter is named by a bare number in the program's sources instead of by
# its name in the register map (platform/stage/reg_map.h) or the parameter ids (enum ParamId).
#
# What counts: a call of a register accessor with a number as its register argument, a call of a
# parameter accessor with a number as its id argument, and a comparison of a variable `id` with a
# number other than 0. A number anywhere else (a value, a count, a bit) is not looked at.
#   usage: scripts/check-named-numbers.sh [source root]      (default: this repository)
#          scripts/check-named-numbers.sh --self-test         (plants literals and expects a failure)
set -euo pipefail

folders=(core panel screens scpi src remote engine storage sysadmin GUI app platform)

# Functions and the position (0-based) of their register or parameter id argument.
pos0=(Bus_Write16 Bus_Read16 BusReg_ReadFloat BusReg_WriteFloatAt Write32Locked Read32Locked
      paramGetValue menuEnterParamState ReadPhaseRecord PhaseValue PhaseMax PhaseMin SetWithinLimits
      LineValueFromPhase GlobalIndexOfId ParamLocate VoltRec Param Param1 Store SetPhaseEnableState
      VoltOfSet MiscRowOf)
pos1=(BusReg_ReadInt BusReg_ReadIntAt BusReg_ReadRaw BusReg_ReadAt BusReg_ReadStepWord BusReg_ReadStepFloat
      BusReg_WriteFloat BusReg_WriteIntEx BusReg_WriteStep BusReg_WriteGuarded2447
      paramAccess paramRW paramPutValue paramAccessByUnit MarkParamGroupChanged PhaseChanged EnableChange
      GetVolt PutVolt)
pos2=(ApplyPhaseSetting)

join() { local IFS='|'; echo "$*"; }
# One argument: no comma or parenthesis, or one level of parentheses inside.
arg='(?:[^,()]|\([^()]*\))*'
number='\(?\s*(?:0[xX][0-9a-fA-F]+|[0-9]+)\b'
patterns=(
  "\b(?:$(join "${pos0[@]}"))\s*\(\s*$number"
  "\b(?:$(join "${pos1[@]}"))\s*\(${arg},\s*$number"
  "\b(?:$(join "${pos2[@]}"))\s*\((?:${arg},\s*){2}$number"
  "\b(?:[a-z]+\.)?id\s*(?:==|!=|<=|>=|<|>)\s*[1-9][0-9]*\b"
)

check() {
  local root=$1 found=0 dirs=() p hits
  for d in "${folders[@]}"; do [ -d "$root/$d" ] && dirs+=("$root/$d"); done
  [ ${#dirs[@]} -gt 0 ] || { echo "check-named-numbers: no source folder under $root"; return 2; }
  for p in "${patterns[@]}"; do
    # -z reads a file as one record, so that a call spread over lines is seen whole.
    hits=$(grep -rPzo --include='*.cpp' --include='*.h' "$p" "${dirs[@]}" | tr '\0\n' '\n ' || true)
    if [ -n "$hits" ]; then
      echo "$hits"
      found=1
    fi
  done
  if [ $found -ne 0 ]; then
    echo "check-named-numbers: a register or parameter is named by a number above; use platform/stage/reg_map.h" \
      "or enum ParamId"
    return 1
  fi
  echo "check-named-numbers: no register or parameter number outside the register map and ParamId"
}

self_test() {
  local work rc
  work=$(mktemp -d)
  trap 'rm -rf "$work"' RETURN
  mkdir -p "$work/core"
  cat >"$work/core/named.cpp" <<'EOF'
int a = BusReg_WriteIntEx(0, regmap::kApply, 1) + BusReg_ReadInt(1, regmap::kStatus + 2);
int b = paramGetValue(kParamAcv + phase, 0, 0) + paramRW(0, id, &rec, 3);
int c = ApplyPhaseSetting(all, kShwAcv, kParamAcv, WriteAcv, kDirtyAcv) + (id == kParamAcvLine) + (n < 0);
EOF
  check "$work" >/dev/null || { echo "self-test: named numbers were refused"; return 1; }
  local planted=(
    'int x = BusReg_WriteIntEx(0, 2340, 1);'
    'float y = BusReg_ReadFloat(2128 + row);'
    'int z = paramGetValue(47 + p, 0, p);'
    'int w = paramRW(0,
                     119, &rec, 0);'
    'int v = ApplyPhaseSetting(all, Word(k), 61, WriteIrms, kDirtyIrms);'
    'bool u = r.id == 30;'
  )
  for line in "${planted[@]}"; do
    printf '%s\n' "$line" >"$work/core/planted.cpp"
    rc=0
    check "$work" >/dev/null || rc=$?
    [ $rc -eq 1 ] || { echo "self-test: not caught: $line"; return 1; }
  done
  echo "self-test: every planted number was caught"
}

if [ "${1:-}" = "--self-test" ]; then
  self_test
else
  check "${1:-$(cd "$(dirname "$0")/.." && pwd)}"
fi
