#pragma once
// How the output mode, the voltage range and the power stage's range state select a record's place.
#include <cstdint>

#include "platform/stage/wave_numbers.h"

// The output modes: the value of the output-mode setting, its stored byte and the SCPI mode number.
// DC-INT keeps its voltages under waveform 0.
inline constexpr uint32_t kModeAcDcInt = 0, kModeAcInt = 1, kModeDcInt = 2;
inline constexpr uint32_t kModeAcDcExt = 3, kModeAcExt = 4;
inline constexpr uint32_t kModeAcDcAdd = 5, kModeAcAdd = 6;
inline constexpr uint32_t kModeAcDcSync = 7, kModeAcSync = 8;
inline constexpr uint32_t kModeAcVca = 9;

// The user's voltage range, as the panel, the remote commands and the SEQ/SIM files number it; the range
// codes below say which of the wiring's ranges that is.
inline constexpr int32_t kUserRange100V = 0, kUserRange200V = 1, kUserRangeAuto = 2;

// The sets of modes that several places decide by, each named once.
// DC-INT and the two EXT modes: no waveform of the source's own, one page of settings.
constexpr bool IsDcOrExtMode(uint32_t mode) {
    return mode >= kModeDcInt && mode <= kModeAcExt;
}
// Those and the two ADD modes: the modes without the phase view of balanced output.
constexpr bool IsDcExtOrAddMode(uint32_t mode) {
    return mode >= kModeDcInt && mode <= kModeAcAdd;
}
// The internal AC, synchronised and VCA modes: the others that exist.
constexpr bool IsAcIntSyncOrVcaMode(uint32_t mode) {
    return mode <= kModeAcInt || (mode >= kModeAcDcSync && mode <= kModeAcVca);
}
// Those without VCA: the modes whose balanced output has a PHASE/LINE view.
constexpr bool IsAcIntOrSyncMode(uint32_t mode) {
    return mode == kModeAcDcInt || mode == kModeAcInt || mode == kModeAcDcSync || mode == kModeAcSync;
}
// The three internal modes: the source alone, as SEQUENCE and SIMULATE run.
constexpr bool IsIntMode(uint32_t mode) {
    return mode <= kModeDcInt;
}
constexpr bool IsAddMode(uint32_t mode) {
    return mode == kModeAcDcAdd || mode == kModeAcAdd;
}
constexpr bool IsSyncMode(uint32_t mode) {
    return mode == kModeAcDcSync || mode == kModeAcSync;
}

namespace core {

inline constexpr uint32_t kModes = kModeAcVca + 1;
inline constexpr uint32_t kRangeVariants = 8;  // range codes 0..7, AUTO codes in their high variant
inline constexpr uint32_t kVoltAreas = 2;      // area 0: the 100 V ranges, area 1: all other codes
inline constexpr uint32_t kWaveforms = 256;

// Range codes: 3P4W/1P3W 0 = 100 V, 1 = 200 V, 4 = AUTO; 1P2W 2 = 100 V, 3 = 200 V, 6 = AUTO.
inline constexpr uint32_t kRange100V3P = 0;
inline constexpr uint32_t kRange200V3P = 1;
inline constexpr uint32_t kRange100V1P2W = 2;
inline constexpr uint32_t kRange200V1P2W = 3;
inline constexpr uint32_t kRangeAuto3P = 4;
inline constexpr uint32_t kRangeAuto1P2W = 6;

// The AUTO codes, and the high variants above them that share their settings' place.
constexpr bool IsAutoRangeCode(uint32_t rangeCode) {
    return rangeCode >= kRangeAuto3P;
}

// Bit 1 of the output status mirror: the AUTO range is in its high variant.
inline constexpr uint32_t kStatusAutoHigh = 1u << 1;

// Area of the settings that follow the voltage class.
constexpr uint32_t VoltAreaOfRange(uint32_t rangeCode) {
    return (rangeCode == kRange100V3P || rangeCode == kRange100V1P2W) ? 0 : 1;
}

// The range variant: the range code, except that an AUTO code names its high variant while the power stage
// reports the high range.
constexpr uint32_t RangeVariantOf(uint32_t rangeCode, uint32_t outputStatus) {
    bool autoCode = rangeCode == kRangeAuto3P || rangeCode == kRangeAuto1P2W;
    return (autoCode && (outputStatus & kStatusAutoHigh)) ? rangeCode + 1 : rangeCode;
}

// Frequency class: 0 for the AC+DC modes AC+DC-INT, AC+DC-ADD, AC+DC-Sync; 1 for all others.
constexpr uint32_t FreqClassOfMode(uint32_t mode) {
    return (mode == kModeAcDcInt || mode == kModeAcDcAdd || mode == kModeAcDcSync) ? 0 : 1;
}

// Mode above 9 is taken as 9.
constexpr uint32_t ClampMode(uint32_t mode) {
    return mode > kModes - 1 ? kModes - 1 : mode;
}

// Waveform above 255 is taken as 255; DC-INT keeps its voltages under waveform 0.
constexpr uint32_t ClampWaveform(uint32_t waveform, uint32_t mode) {
    if (mode == kModeDcInt) return 0;
    return waveform > kWaveforms - 1 ? kWaveforms - 1 : waveform;
}

}  // namespace core
