#!/usr/bin/env bash
# Fails when a register, a parameter or a front-panel state is named by a bare number in the program's
# sources instead of by its name in the register map (platform/stage/reg_map.h), the parameter ids (enum
# ParamId) or the menu states (enum MenuState, core/system/state/menu_state_ids.h).
#
# What counts: a call of a register accessor with a number as its register argument, a call of a
# parameter accessor with a number as its id argument, and a comparison of a variable `id` with a
# number other than 0, and a comparison of the menu state (g_MenuState, or a variable `state` or
# `menuState`) with a number other than 0, and a comparison of the output mode or the wiring as their
# accessors read them (GetOutputMode(), g_OutputModeIdx, GetPhaseMode(), g_PhaseMode) with a number other
# than 0 (a variable that holds one has no name to tell it by: `mode` is as often the SEQ/SIM mode or a
# format's). A number anywhere else (a value, a count, a bit) is not looked at.
# Also a copy of the names themselves, in the program and its tests: a const or constexpr named like a
# parameter id or register (kId..., kParam..., kReg...) that is given a number, an enum member kId...
# given a number, a const or constexpr named like a state (k...State) given a number of a state, and any
# definition by a number of a name of enum ParamId, of the state enums or of the register map outside those.
# Likewise the wiring codes (platform/stage/wiring_codes.h) and the output modes (the kMode
# names of core/params/param_ranges.h): a const, constexpr or enum member named like one (k3P4W,
# kWiring1P2W, kPhaseMode1P3W, kModeDcInt, kModeAcSync, kModeVca ...) that is given a number, or any
# member of a plain enum named like a wiring code, anywhere but in its home (a scoped enum's member, such
# as a row guard RowGuard::kWiring3P4W, is a name of its own).
# Likewise the settings panel's items (enum PanelItem, panel/menu/panel_items.h): in a file that uses them,
# a value of type PanelItem (a name declared with that type anywhere) compared with a number, a switch over
# one with a numbered case, or a number cast to one; and, in the program and its tests, a name of the enum,
# or one spelled like it (kItemAcv, kCodeAcv), given a number outside its home.
# Five more small vocabularies, each with its home: the waveform numbers and wave codes
# (platform/stage/wave_numbers.h: a const, constexpr or enum member named like a sine, square or triangle
# given 16-19, and the waveform, as its accessor or a variable `wave`, `waveform` or `slot` reads it,
# compared with 16-19); the SEQ/SIM mode word (enum SeqSimModeWord, engine/seqsim/seqsim_mode_word.h: the
# word compared with a number other than 0 or set by one, or a name like its members given one); the range
# codes (core/params/param_ranges.h: a range code compared with a number, a name of the home's or one like
# an AUTO code given a number); the key table's state ranges and the page ids (a const or constexpr named
# like a slot or state bound, or a page id, given a number, or a handler row over numbered states); the SCPI
# error rows (enum ScpiErr, scpi/parser/scpi_errors.h: a const, constexpr or enum member named like an
# error row given a number; the trigger action's results in core, which cannot include the SCPI layer, are
# its own).
# And the front-panel keys and the flag bits of the store: in the program and its tests, a const,
# constexpr or enum member given a key's letter ('@' to '`'), one named like a key (kExit, kKnob, kSoft1,
# kCursorUp, kDigit0, kLongDef1 ...) given a key code, or a name of enum KeyCode (platform/devices/panel_keys.h)
# given a number outside that home; a name of enum ParamFlagBit (core/params/param_store.h) given a bit
# elsewhere, or a const or constexpr named like the key lock, SHIFT or preset bit given bit 5, 6 or 9;
# and, in the program, a bit of g_ParamFlags written as a number.
#   usage: scripts/check-named-numbers.sh [source root]      (default: this repository)
#          scripts/check-named-numbers.sh --self-test         (plants literals and expects a failure)
set -euo pipefail

folders=(core panel screens scpi src remote engine storage sysadmin GUI app platform)

# Functions and the position (0-based) of their register or parameter id argument.
pos0=(Bus_Write16 Bus_Read16 BusReg_ReadFloat BusReg_WriteFloatAt Write32Locked Read32Locked
      paramGetValue paramGetRecord paramPutRecord paramPutValue paramPutState paramPutMax paramPutMin
      MarkParamGroupChanged menuEnterParamState ReadPhaseRecord PhaseValue PhaseMax PhaseMin SetWithinLimits
      LineValueFromPhase GlobalIndexOfId ParamLocate VoltRec Param Param1 Store SetPhaseEnableState
      VoltOfSet MiscRowOf)
pos1=(BusReg_ReadInt BusReg_ReadIntAt BusReg_ReadRaw BusReg_ReadAt BusReg_ReadStepWord BusReg_ReadStepFloat
      BusReg_WriteFloat BusReg_WriteIntEx BusReg_WriteStep BusReg_WriteGuarded2447
      paramAccess paramAccessByUnit PhaseChanged EnableChange
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
# A state compared with a number.
state_compare="(?:\bg_MenuState(?:\.load\([^()]*\))?|(?<![\w.>])(?:state|menuState))\s*(?:==|!=|<=|>=|<|>)\s*[1-9][0-9]*\b"
# The output mode or the wiring, read by its accessor, compared with a number, on either side.
mode_read='(?:\bGetOutputMode\(\)|\bGetPhaseMode\(\)|\bg_(?:OutputModeIdx|PhaseMode)(?:\.load\([^()]*\))?)'
mode_compare="$mode_read\s*(?:==|!=|<=|>=|<|>)\s*[1-9][0-9]*\b|(?<![\w.])[1-9][0-9]*\s*(?:==|!=|<=|>=|<|>)\s*$mode_read"
# Where the names are defined: the ParamId enum (the rest of its header is checked) and the register map.
param_home=core/params/param_store.h
reg_home=platform/stage/reg_map.h
state_home=core/system/state/menu_state_ids.h
wiring_home=platform/stage/wiring_codes.h
mode_home=core/params/param_ranges.h
item_home=panel/menu/panel_items.h
wave_home=platform/stage/wave_numbers.h
seqsim_home=engine/seqsim/seqsim_mode_word.h
scpi_err_home=scpi/parser/scpi_errors.h
key_home=platform/devices/panel_keys.h
# A key: its letter, a name like a key's and a key code (the letters, the long presses, the knob, the
# shortcut codes of SHIFT); a flag bit of the store written as a number, and a name like a key-lock, SHIFT
# or preset bit.
key_letter="'(?:[@A-Z\\[\\]^_\x60]|\\\\\\\\)'"
key_like='k\w*(?:Key|Knob|Soft|Digit|Exit|Enter|Cursor\w*|Left|Right|Prev|Next|Point|Def)(?:Key|Code)?\d?(?!\w)'
key_number='(?:6[4-9]|[78][0-9]|9[0-6]|126|19[3-9]|20[01]|21[23]|22[89]|23[0-8]|24[0-9]|25[034]|0[xX](?:[45][0-9a-fA-F]|60|[cC][1-9]|[dD][45]|[fF][0-9a-eA-E]))\b'
flag_value='(?:=\s*|\{\s*)\(?\s*(?:1u?\s*<<\s*[0-9]+|0[xX][0-9a-fA-F]+|[0-9]+)\b'
flag_bare='\bg_ParamFlags\b[^;\n]*?(?:\b1u?\s*<<\s*[0-9]+|\b0[xX][0-9a-fA-F]+\b)'
# The waveform as its accessor or a variable reads it, compared with the number of a built-in shape.
wave_read='(?:\bGetWaveform(?:Sel)?\((?:[^()]|\([^()]*\))*\)|(?<![\w.>])(?:wave|waveform|slot)\b|(?:\.|->)wave\b)'
wave_compare="$wave_read\s*(?:==|!=|<=|>=|<|>)\s*1[6-9]\b|(?<![\w.])1[6-9]\s*(?:==|!=|<=|>=|<|>)\s*$wave_read"
wave_like='k\w*?(?:Sin|Sine|Squ|Square|Tri|Triangle)(?![a-z])\w*'
# The SEQ/SIM mode word read and compared, or set, by a number.
seqsim_read='(?:\bSeqSimGetMode\(\)|\bSeqSimRunnerLastMode\(\)|\bg_SeqSimMode(?:\.load\([^()]*\))?)'
seqsim_compare="$seqsim_read\s*(?:==|!=|<=|>=|<|>)\s*[1-9][0-9]*\b|(?<![\w.])[1-9][0-9]*\s*(?:==|!=|<=|>=|<|>)\s*$seqsim_read"
seqsim_set='\b(?:SeqSimSetMode|SeqSimEnterMode|g_SeqSimMode\.store)\s*\(\s*[0-9]+\b'
seqsim_like='k(?:SeqSim(?:Off|Seq|Sim)|Sequence|Simulation|Continuous|Seq|Sim)'
# A range code, or the user's range (GetVoltRange()), compared with a number.
range_read='(?:\b(?:Current|GetVolt)?RangeCode\(\)|\bGetVoltRange\(\)|(?<![\w.>])rangeCode\b)'
range_compare="$range_read\s*(?:==|!=|<=|>=|<|>)\s*[0-9]+\b|(?<![\w.])[0-9]+\s*(?:==|!=|<=|>=|<|>)\s*$range_read"
# Names like a wiring code or an output mode, whatever their spelling in a copy.
wiring_like='k(?:Wiring|PhaseMode)?(?:3P4W|1P2W|1P3W)'
mode_like='kMode(?:AcDcInt|AcInt|DcInt|AcDcExt|AcdcExt|AcExt|AcDcAdd|AcAdd|AcDcSync|AcSync|AcVca|Vca|AcDc|Ac|Dc)'
value='(?:=\s*|\{\s*)\(?\s*(?:0[xX][0-9a-fA-F]+|[0-9]+)\b'

# The names of enum ParamId, as one alternation (empty without it): one given any number elsewhere is a copy.
param_names() {
  [ -f "$1/$param_home" ] || return 0
  sed -n '/^enum ParamId\b/,/^};/p' "$1/$param_home" | grep -oP '^\s*\Kk\w+(?=\s*=)' | paste -sd'|' -
}

# The names of the state enums (MenuState, SeqMenuState, SimMenuState), as one alternation (empty without them).
state_names() {
  [ -f "$1/$state_home" ] || return 0
  sed -n '/^enum \w*MenuState\b/,/^};/p' "$1/$state_home" | grep -oP '^\s*\Kk\w+(?=\s*=)' | paste -sd'|' -
}

# The register map's entries as name and first register, one alternation: some of its names (kStatus,
# kApply) are common words, so only a name given its own register again is a copy.
reg_names() {
  [ -f "$1/$reg_home" ] || return 0
  sed -nE 's/^\s*constexpr\s+Block\s+(k\w+)\{([0-9]+)[,}].*/\1\\s*(?:=\\s*|\\{\\s*)\\(?\\s*\2\\b/p' \
    "$1/$reg_home" | paste -sd'|' -
}

# The names a home header defines by a number (kWiring3P4W ..., kModeAcDcInt ...), as one alternation.
home_names() {
  [ -f "$1/$2" ] || return 0
  grep -oP "\\b$3\\w*(?=\\s*=\\s*[0-9])" "$1/$2" | sort -u | paste -sd'|' -
}

# Copies of the names: definitions by a number outside the ParamId enum and the register map. Each line is
# the home the pattern does not look in (- for none), a tab, and the pattern.
copy_patterns() {
  local root=$1 names
  printf -- '-\t%s\n' "\b(?:constexpr|const)\b[^;{}()]*?\bk(?:Id|Param|Reg)[A-Z]\w*\s*$value"
  printf -- '-\t%s\n' "\benum\b[^;{]*\{[^}]*?\bkId[A-Z]\w*\s*=\s*\(?\s*(?:0[xX][0-9a-fA-F]+|[0-9]+)\b"
  names=$(param_names "$root")
  [ -z "$names" ] || printf -- '-\t%s\n' "\b(?:$names)\s*$value"
  # Two names look like a state's and are none: the SIMULATE state index past its last (engine/seqsim), and the
  # simple screen, named with the home screens' words.
  printf -- '-\t%s\n' "\b(?:constexpr|const)\b[^;{}()]*?\bk(?!SimNoState\b|SimpleScreenState\b)\w*State\d*\s*=\s*\(?\s*[1-9][0-9]{0,2}\b"
  names=$(state_names "$root")
  [ -z "$names" ] || printf -- '-\t%s\n' "\b(?:$names)\s*$value"
  names=$(reg_names "$root")
  [ -z "$names" ] || printf -- '-\t%s\n' "\b(?:$names)"
  printf '%s\t%s\n' "$wiring_home" "\b$wiring_like\s*$value" \
    "$wiring_home" "\benum\b(?!\s+(?:class|struct)\b)[^;{]*\{[^}]*?\b$wiring_like\b" "$mode_home" "\b$mode_like\s*$value"
  names=$(home_names "$root" "$wiring_home" kWiring)
  [ -z "$names" ] || printf '%s\t%s\n' "$wiring_home" "\b(?:$names)\s*$value"
  names=$(home_names "$root" "$mode_home" kMode)
  [ -z "$names" ] || printf '%s\t%s\n' "$mode_home" "\b(?:$names)\s*$value"
  names=$(home_names "$root" "$item_home" kItem | sed 's/kItem//g')
  [ -z "$names" ] || printf '%s\t%s\n' "$item_home" "\bk(?:Item|Code)(?:$names)\b\s*$value"
  # The five vocabularies above: copies of their names and numbers.
  printf '%s\t%s\n' "$wave_home" "\b(?:constexpr|const)\b[^;{}()]*?\b$wave_like\s*(?:=\s*|\{\s*)\(?\s*1[6-9]\b" \
    "$wave_home" "\benum\b[^;{]*\{[^}]*?\b$wave_like\s*=\s*\(?\s*1[6-9]\b" \
    "$seqsim_home" "\b(?:constexpr|const)\b[^;{}()]*?\b$seqsim_like\s*$value" \
    "$seqsim_home" "\benum\b(?!\s+(?:class|struct)\b)[^;{]*\{[^}]*?\b$seqsim_like\b" \
    "$mode_home" "\b(?:constexpr|const)\b[^;{}()]*?\bk\w*(?:Auto|100V|200V)\w*Codes?\s*$value" \
    "-" "\b(?:constexpr|const)\b[^;{}()]*?\bk\w*(?:Slot|State)s?(?:First|Last|Count)\s*=\s*\(?\s*[1-9][0-9]*\b" \
    "-" "\bkPageId\w*\s*=\s*\(?\s*[1-9][0-9]*\b" \
    "-" "\{\s*[1-9][0-9]*\s*,\s*[1-9][0-9]*\s*,\s*(?:KeyProcess_|Keyprocess_|menu)\w*\s*\}" \
    "$scpi_err_home" "\b(?:constexpr|const)\b[^;{}()]*?\bk(?!Trig|Cmd)\w*Err(?!or)[A-Z]\w*(?<!Count)(?<!Size)\s*$value" \
    "$scpi_err_home" "\benum\b[^;{]*\{[^}]*?\bk(?!Trig|Cmd)\w*Err(?!or)[A-Z]\w*\s*=\s*\(?\s*[0-9]+\b"
  printf '%s\t%s\n' "$key_home" "\b(?:constexpr|const)\b[^;{}()]*?\bk\w*\s*(?:=\s*|\{\s*)$key_letter" \
    "$key_home" "\benum\b[^;{]*\{[^}]*?\bk\w*\s*=\s*$key_letter" \
    "$key_home" "\b(?:constexpr|const)\b[^;{}()]*?\b$key_like\s*(?:=\s*|\{\s*)\(?\s*$key_number" \
    "$key_home" "\benum\b[^;{]*\{[^}]*?\b$key_like\s*=\s*\(?\s*$key_number" \
    "$param_home" "\b(?:constexpr|const)\b[^;{}()]*?\bk\w*(?:Lock|Shift|Preset|Recall)\w*\s*(?:=\s*|\{\s*)\(?\s*1u?\s*<<\s*[569]\b"
  names=$(home_names "$root" "$key_home" kKey)
  [ -z "$names" ] || printf '%s\t%s\n' "$key_home" "\b(?:$names)\s*$value"
  names=$(sed -n '/^enum ParamFlagBit\b/,/^};/p' "$root/$param_home" 2>/dev/null | grep -oP '^\s*\Kk\w+(?=\s*=)' |
    paste -sd'|' -)
  [ -z "$names" ] || printf '%s\t%s\n' "$param_home" "\b(?:$names)\s*$flag_value"
  local home prefix
  for home in "$wave_home:kWave" "$seqsim_home:kSeqSim" "$mode_home:kRange" "$scpi_err_home:kScpiErr"; do
    prefix=${home#*:}
    home=${home%%:*}
    names=$(home_names "$root" "$home" "$prefix")
    [ -z "$names" ] || printf '%s\t%s\n' "$home" "\b(?:$names)\s*$value"
  done
}

# Bare item codes in the files that use the settings panel's items (enum PanelItem): the names declared
# with that type are the values that hold an item.
item_check() {
  local root=$1 vars names files=() hits found=0 p
  shift
  names=$(home_names "$root" "$item_home" kItem)
  [ -n "$names" ] || return 0
  vars=$(grep -rhoP --include='*.cpp' --include='*.h' '\bPanelItem\s*&?\s+\K[a-z]\w*' "$@" | sort -u |
    paste -sd'|' - || true)
  mapfile -t files < <(grep -rlP --include='*.cpp' --include='*.h' "\bPanelItem\b|\b(?:$names)\b" "$@" |
    grep -v "/$item_home\$" || true)
  [ ${#files[@]} -gt 0 ] || return 0
  local item_patterns=("\bstatic_cast<PanelItem>\(\s*$number")
  [ -z "$vars" ] || item_patterns+=(
    "(?<![\w>])(?:\w+\.)?(?:$vars)\s*(?:==|!=|<=|>=|<|>)\s*\(?\s*[0-9]+\b"
    "(?<![\w.])[0-9]+\s*(?:==|!=|<=|>=|<|>)\s*(?:\w+\.)?(?:$vars)\b(?!\s*[(\[.])"
    "(?s)\bswitch\s*\(\s*(?:\w+\.)?(?:$vars)\s*\)\s*\{(?:(?!\bswitch\b).)*?\bcase\s+[0-9]+\s*:")
  for p in "${item_patterns[@]}"; do
    hits=$(grep -HPzo "$p" "${files[@]}" | tr '\0\n' '\n ' || true)
    if [ -n "$hits" ]; then
      echo "$hits"
      found=1
    fi
  done
  return $found
}

check() {
  local root=$1 found=0 dirs=() p hits files=()
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
  for p in "$state_compare" "$mode_compare"; do
    hits=$(grep -rPzo --include='*.cpp' --include='*.h' "$p" "${dirs[@]}" | tr '\0\n' '\n ' || true)
    if [ -n "$hits" ]; then
      echo "$hits"
      found=1
    fi
  done
  item_check "$root" "${dirs[@]}" || found=1
  for p in "$wave_compare" "$seqsim_compare" "$seqsim_set" "$range_compare" "$flag_bare"; do
    hits=$(grep -rPzo --include='*.cpp' --include='*.h' "$p" "${dirs[@]}" | tr '\0\n' '\n ' || true)
    if [ -n "$hits" ]; then
      echo "$hits"
      found=1
    fi
  done
  [ -d "$root/tests" ] && dirs+=("$root/tests")
  mapfile -t files < <(find "${dirs[@]}" \( -name '*.cpp' -o -name '*.h' \) -type f \
    ! -path "$root/$param_home" ! -path "$root/$reg_home" ! -path "$root/$state_home" | sort)
  local skip others
  while IFS=$'\t' read -r skip p; do
    others=()
    for f in "${files[@]}"; do [ "$f" = "$root/$skip" ] || others+=("$f"); done
    hits=$( { [ ${#others[@]} -eq 0 ] || grep -HPzo "$p" "${others[@]}"
              [ ! -f "$root/$param_home" ] || [ "$skip" = "$param_home" ] ||
                sed '/^enum ParamId\b/,/^};/d' "$root/$param_home" |
                grep -HPzo --label="$root/$param_home" "$p"
              [ ! -f "$root/$state_home" ] || sed '/^enum \w*MenuState\b/,/^};/d' "$root/$state_home" |
                grep -HPzo --label="$root/$state_home" "$p"; } | tr '\0\n' '\n ' || true)
    if [ -n "$hits" ]; then
      echo "$hits"
      found=1
    fi
  done < <(copy_patterns "$root")
  if [ $found -ne 0 ]; then
    echo "check-named-numbers: a register, parameter, state, wiring code, output mode or settings-panel item is" \
      "named by a number above; use platform/stage/reg_map.h, enum ParamId, enum MenuState," \
      "platform/stage/wiring_codes.h, core/params/param_ranges.h or enum PanelItem (panel/menu/panel_items.h)"
    echo "check-named-numbers: or a waveform, SEQ/SIM mode, range code, key-table state or SCPI error row:" \
      "platform/stage/wave_numbers.h, engine/seqsim/seqsim_mode_word.h, core/params/param_ranges.h," \
      "core/system/state/menu_state_ids.h or scpi/parser/scpi_errors.h"
    echo "check-named-numbers: or a front-panel key or a flag bit of the store: enum KeyCode" \
      "(platform/devices/panel_keys.h) or enum ParamFlagBit (core/params/param_store.h)"
    return 1
  fi
  echo "check-named-numbers: no register, parameter, state, wiring, mode, panel item, key or flag number outside their homes"
}

self_test() {
  local work rc repo
  repo=$(cd "$(dirname "$0")/.." && pwd)
  work=$(mktemp -d)
  trap 'rm -rf "$work"' RETURN
  mkdir -p "$work/core" "$work/tests" "$work/$(dirname "$param_home")" "$work/$(dirname "$reg_home")" \
    "$work/$(dirname "$state_home")" "$work/$(dirname "$item_home")"
  # The homes of the names, which define them by number, and names that only look alike.
  local home
  for home in "$param_home" "$reg_home" "$state_home" "$wiring_home" "$mode_home" "$item_home"; do
    cp "$repo/$home" "$work/$home"
  done
  cat >"$work/core/named.cpp" <<'EOF'
int a = BusReg_WriteIntEx(0, regmap::kApply, 1) + BusReg_ReadInt(1, regmap::kStatus + 2);
int b = paramGetValue(kParamAcv + phase, 0) + paramGetRecord(id, &rec, 3);
int m = paramAccessByUnit(Access::kRead, kParamVoltLimit, &rec, {.mode = kModeAcInt, .area = 1, .unit = 2});
int c = ApplyPhaseSetting(all, kShwAcv, kParamAcv, WriteAcv, kDirtyAcv) + (id == kParamAcvLine) + (n < 0);
enum ScpiParamKind : uint32_t { kParamNumeric = 1, kParamChoice = 2 };
constexpr uint32_t kIdle = 9002, kMsgSaved = 17;
enum Sel { kStatus = 4 };
int d(const int x) { return x == kParamAcv ? 1 : 0; }
bool e = state == kMenuCalibration || rec.state == 1 || p->state != 2 || state != 0 || menuState > kMenuArbType;
bool f = g_MenuState.load(kRelaxed) == kMenuPresetPhaseDialogCheck && g_MenuState != 0;
constexpr uint32_t kFirstTeachState = MenuStateAt(kMenuBarcodeFirst, 1);
constexpr int kSimNoState = 6;
enum Guard : uint32_t { k3P4WMaster = 1u << 2 };
enum Show : uint8_t { kOnly3P4W = 1u << 3 };
enum class Cond : uint8_t { kAlways, k1P3W, kOn = 4 };
static constexpr uint32_t k1P2W[4] = {2, 3, 6, 7};
constexpr uint32_t kModeVolt = 1u << 4, kModeCodeAcSync = 18, kWiringCell = 11;
bool e(uint32_t wiring, uint32_t mode) { return wiring == kWiring1P3W && mode != kModeDcInt; }
bool g = GetOutputMode() == kModeAcSync || GetPhaseMode() != kWiring1P2W || GetOutputMode() == 0;
bool h = IsDcOrExtMode(g_OutputModeIdx.load(kRelaxed)) || g_PhaseMode.load(kRelaxed) > kWiring1P3W;
bool k = g_PhaseMode.load(kRelaxed) == 0 || GetOutputModeName(1) == nullptr || v[2] == GetOutputMode();
void Cell(PanelItem item, uint32_t row) { if (item == kItemWave && row == 9 && Decimals(item, 2) > 1) Draw(); }
struct PanelValueText { PanelItem code; char main[40]; };
void Text(PanelValueText t) { switch (t.code) { case kItemAcv: break; default: break; } }
bool l = AppendItem(cmd, kItemInt, 4, &v) && item < kItemFiller && kItemEnd > item;
EOF
  check "$work" >/dev/null || { echo "self-test: named numbers were refused"; return 1; }
  local planted=(
    'int x = BusReg_WriteIntEx(0, 2340, 1);'
    'float y = BusReg_ReadFloat(2128 + row);'
    'int z = paramGetValue(47 + p, p);'
    'int w = paramGetRecord(
                     119, &rec, 0);'
    'int v = ApplyPhaseSetting(all, Word(k), 61, WriteIrms, kDirtyIrms);'
    'paramAccess(Access::kWrite, 47, &rec, {.mode = 2, .waveform = 16});'
    'paramAccessByUnit(Access::kRead,
                      8, &rec, place);'
    'bool u = r.id == 30;'
    'if (g_MenuState.load(kRelaxed) == 6) Warn();'
    'bool t = state >= 316 && state <= 329;'
    'bool m = menuState != 94;'
    'bool s = g_MenuState == 2;'
    'if (GetOutputMode() == 7) Sync();'
    'bool dc = g_OutputModeIdx.load(kRelaxed) >= 2;'
    'bool one = GetPhaseMode() == 1;'
    'bool split = g_PhaseMode.load(std::memory_order_relaxed) != 2;'
    'bool vca = 9 <= GetOutputMode();'
    'bool ext = g_OutputModeIdx > 2;'
    'void P(PanelItem item) { if (item == 7 || item == kItemOffPhase) Angle(); }'
    'bool Big(PanelItem code) { return code == kItemAcv || 5 == code; }'
    'void Q(PanelValueText t) { switch (t.code) { case kItemAcv: break; case 14: Duty(); break; } }'
    'PanelItem end = static_cast<PanelItem>(40);'
  )
  # Copies of the names, looked for in the tests as well.
  local copies=(
    'constexpr uint32_t kIdVpkMax = 10, kIdFreq = 12,
                   kIdAcv = 47, kIdTrigWidth = 129;'
    'static const int kParamAverageCount = 135;'
    'enum : uint32_t { kOpRead = 0, kIdAcv = 47 };'
    'enum Local { kParamAcv = 47 };'
    'constexpr uint16_t kRegCmd = 2351;'
    'constexpr regmap::Block kSeqSimCmd{2351};'
    'constexpr uint32_t kPresetConfirmState = 5;'
    'constexpr uint32_t kNone = 0, kFirstCalState = 316;'
    'enum : uint32_t { kMenuBuzzer = 106 };'
    'static const uint32_t kMenuCalibration = 316;'
    'constexpr uint32_t kMenuSeqPreview = 435, kSimSelStep = 463;'
    'constexpr uint32_t kSimpleScreen = 2, k3P4W = 0;'
    'enum Wiring : uint32_t { k1P2W = 1, k1P3W = 2 };'
    'enum : int32_t { k3P4W, k1P2W, k1P3W };'
    'static constexpr uint32_t kWiring1P3W{2};'
    'inline constexpr uint32_t kPhaseMode3P4W = 0;'
    'constexpr uint32_t kModeDcInt = 2, kModeAcExt = 4;'
    'constexpr uint32_t kModeAc = 1, kModeVca = 9;'
    'enum Mode : uint32_t { kModeAcDcSync = 7 };'
    'constexpr int8_t kCodeAcv = 2, kCodeDcv = 3;'
    'enum Code : int32_t { kPhase = 0, kItemDuty = 14 };'
    'static const int kItemFiller{39};'
  )
  plant() {
    rm -f "$work/core/planted.cpp" "$work/tests/planted_test.cpp"
    printf '%s\n' "$2" >"$work/$1"
    rc=0
    check "$work" >/dev/null || rc=$?
    [ $rc -eq 1 ] || { echo "self-test: not caught in $1: $2"; return 1; }
  }
  # Each bare number of the first list planted in the program, each copy of the second in the program
  # and in its tests.
  plant_lists() {
    local -n bare=$1 copied=$2
    local line
    for line in "${bare[@]}"; do plant core/planted.cpp "$line" || return 1; done
    for line in "${copied[@]}"; do
      plant core/planted.cpp "$line" || return 1
      plant tests/planted_test.cpp "$line" || return 1
    done
  }
  plant_lists planted copies || return 1
  # The five vocabularies of the second list: their homes, names that must pass, then a copy or bare
  # number of each.
  for home in "$wave_home" "$seqsim_home" "$scpi_err_home"; do
    mkdir -p "$work/$(dirname "$home")"
    cp "$repo/$home" "$work/$home"
  done
  cat >"$work/core/named_vocab.cpp" <<'EOF'
bool wv = GetWaveform(p) == kWaveSqu || wave != kWaveSin || slot == kWaveTri || wave <= 256 || slot == 3;
bool sm = SeqSimGetMode() == kSeqSimSim || SeqSimGetMode() != 0 || SeqSimSetMode(kSeqSimOff) == 0;
bool rc = RangeCode() == core::kRangeAuto3P || core::CurrentRangeCode() != core::kRange100V1P2W;
constexpr uint32_t kMenuSlotFirst = kMenuSystemInfo, kRange200V = 1, kSinTable[17] = {}, kTrigger = 16;
enum Face { kPlain, kPressed, kOff };
enum class Kind { kSeq = 1, kSim = 2 };
constexpr uint32_t kStepErrorRow = 5, kScpiErrQueueSize = 16, kScpiErrTextSize = 64;
inline constexpr int32_t kTrigErrExecution = 41;
enum CmdId : uint32_t { kCmdSystErr = 204 };
EOF
  rm -f "$work/core/planted.cpp" "$work/tests/planted_test.cpp"
  check "$work" >/dev/null || { echo "self-test: named waveforms, modes, ranges, states or errors were refused"; return 1; }
  local vocab_planted=(
    'bool sq = GetWaveform(static_cast<int>(phase)) == 17;'
    'bool vr = !vpp || wave == 16 || 17 != wave;'
    'if (slot == 18) return 1.732f;'
    'bool arb = r.wave >= 1 && r.wave <= 16;'
    'if (SeqSimGetMode() == 2) return true;'
    'SeqSimSetMode(0);'
    'if (SeqSimEnterMode(1) != 0) return;'
    'bool s = 2 == g_SeqSimMode.load(std::memory_order_acquire);'
    'bool onAuto = RangeCode() == 4 || RangeCode() == 6;'
    'return (rangeCode == 0 || rangeCode == 2) ? 0 : 1;'
    'if (GetVoltRangeCode() >= 4) return;'
    'if (GetVoltRange() == 2) return;'
  )
  local vocab_copies=(
    'constexpr int32_t kWaveSine = 16, kWaveSquare = 17;'
    'constexpr uint32_t kSineSlot = 16, kTriangleSlot = 18;'
    'inline constexpr int kArbSlotSine = 16;'
    'constexpr uint32_t kWaveNumberSine = 17;'
    'enum Shape : uint32_t { kShapeSin = 16, kShapeSqu = 17 };'
    'constexpr int kWaveCodeSin = 17;'
    'enum Memory : uint32_t { kSeq = 1, kSim = 2 };'
    'enum : int32_t { kContinuous, kSequence, kSimulation };'
    'constexpr uint32_t kSeqSimSim = 2;'
    'constexpr uint32_t kAutoCodes = 4;'
    'inline constexpr uint32_t kRangeAuto1P2W = 6;'
    'constexpr uint32_t kMenuStateCount = 545;'
    'constexpr uint32_t kSeqSimSlotFirst = kMenuSeqOutputPhase, kSeqSimSlotLast = 494;'
    'enum PageIdValue : uint32_t { kPageIdHome = kScreenAdvanced, kPageIdSeqSimAlt = 494 };'
    '    {379, 380, KeyProcess_Ignore},'
    'constexpr uint32_t kDataErrStorageFault = 118;'
    'enum : uint32_t { kDataErrNoSuchName = 108 };'
    'constexpr uint32_t kScpiErrSystem = 112;'
  )
  plant_lists vocab_planted vocab_copies || return 1
  # The keys and the flag bits: their home, names that must pass, then copies and bare bits.
  mkdir -p "$work/$(dirname "$key_home")"
  cp "$repo/$key_home" "$work/$key_home"
  cat >"$work/core/named_keys.cpp" <<'EOF2'
bool ky = code == kKeyExit || KeyEventCode(ev) == kKeyKnob || code == kKeySoft4;
constexpr char kSeparator = ':', kQuote = '"';
constexpr int kKeyCountShift = 4, kKnobRows = 3, kEnterStateWaits = 250;
constexpr uint32_t kLeavePreviewMs = 200, kAlarmFlagBeepSounding = 1u << 5, kLampShift = 1u << 1;
bool fl = (g_ParamFlags.load() & core::kFlagShiftLatched) != 0;
EOF2
  rm -f "$work/core/planted.cpp" "$work/tests/planted_test.cpp"
  check "$work" >/dev/null || { echo "self-test: named keys or flag bits were refused"; return 1; }
  local key_planted=(
    'g_ParamFlags.fetch_or(1u << 9, std::memory_order_relaxed);'
    'bool locked = (g_ParamFlags.load() & 0x20) != 0;'
  )
  local key_copies=(
    "constexpr uint8_t kExit = 'T', kEnter = 'U', kCursorUp = 'V';"
    "inline constexpr uint8_t kSoft4 = '\\\\';"
    'enum FunctionKey : uint8_t { kMenu = '"'L'"', kOutput = '"'X'"' };'
    'inline constexpr uint8_t kKnobCode = 0xD5;'
    'constexpr uint8_t kKnob = 213, kDigit9 = 73;'
    'constexpr uint8_t kLongLockKey = 193;'
    'constexpr uint8_t kSaveDef2 = 195;'
    'enum : uint8_t { kPrev = 86 };'
    'static constexpr uint8_t kKeyLongMenu = 254;'
    'constexpr uint32_t kKeysLocked = 1u << 5;  // of g_ParamFlags'
    'constexpr uint32_t kShiftLatch = 1u << 6;'
    'inline constexpr uint32_t kFlagPresetAux = 1u << 9;'
    'inline constexpr uint32_t kFlagPresetRecalled = 512;'
  )
  plant_lists key_planted key_copies || return 1
  rm -f "$work/core/planted.cpp" "$work/tests/planted_test.cpp"
  # A copy beside the enum in the enum's own header.
  printf 'constexpr int32_t kParamAcvCopy = 47;\n' >>"$work/$param_home"
  rc=0
  check "$work" >/dev/null || rc=$?
  [ $rc -eq 1 ] || { echo "self-test: not caught beside enum ParamId"; return 1; }
  cp "$repo/$param_home" "$work/$param_home"
  # And beside enum MenuState in its own header.
  printf 'constexpr uint32_t kCalPageState = 316;\n' >>"$work/$state_home"
  rc=0
  check "$work" >/dev/null || rc=$?
  [ $rc -eq 1 ] || { echo "self-test: not caught beside enum MenuState"; return 1; }
  cp "$repo/$state_home" "$work/$state_home"
  # A copy of another vocabulary in a home is still a copy.
  printf 'inline constexpr uint32_t kWiring1P2WCopy = 1, k1P2W = 1;\n' >>"$work/$mode_home"
  rc=0
  check "$work" >/dev/null || rc=$?
  [ $rc -eq 1 ] || { echo "self-test: a wiring code not caught in the output modes' home"; return 1; }
  echo "self-test: every planted number was caught"
}

if [ "${1:-}" = "--self-test" ]; then
  self_test
else
  check "${1:-$(cd "$(dirname "$0")/.." && pwd)}"
fi
