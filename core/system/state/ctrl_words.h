#pragma once
// Process-wide words of the control task that the parameter store, its defaults and the access layer
// touch: the output shadow, the option word and the arbitrary-waveform update field.
#include <atomic>
#include <cstdint>

#include "core/system/state/output_flags.h"

// The value of each output setting as last written to the power stage, per unit L1, L2, L3, LINE; a setter
// stores value + 1 into a word to force the next pass to write it again. Setters run on several threads
// (a reset's on the supervisor) while the control task compares the words: each word is atomic.
inline constexpr int kOutputShadowUnits = 4;
inline constexpr int kOutputShadowWords = 74;
extern std::atomic<uint32_t> g_OutputShadow[kOutputShadowUnits][kOutputShadowWords];

// Option bits written whole to register 2348 after any of them changed (bits 16-21: ON/OFF phase enables
// of L1-L3; the other bits by their setting, see core::OptionBit; the rest belong to the service pages).
extern std::atomic<uint32_t> g_OutputOptionWord;

namespace core {

// Words of g_OutputShadow. Per-phase words are used in the blocks of L1-L3; the words of settings that the
// instrument has once are used in L1's block; the LINE block uses only the two voltage words.
enum ShadowWord : int {
    kShwArbDelay = 0,  // passes left before a pending waveform table is downloaded
    kShwRange = 1,
    kShwMode = 2,
    kShwAcv = 3,
    kShwDcv = 4,
    kShwFreq = 5,
    kShwIrms = 6,
    kShwOnPhase = 7,
    kShwOffPhase = 8,
    kShwBalanceL1 = 9,
    kShwAngleL2 = 10,
    kShwAngleL3 = 11,
    kShwSyncPhase = 12,
    kShwIpkHigh = 13,
    kShwIpkLow = 14,
    kShwGain = 15,
    kShwSig = 16,
    kShwSrc = 17,
    kShwMeasFreq = 18,
    kShwPeakHoldTime = 19,
    kShwOutputRelay = 20,
    kShwSlew = 21,
    kShwWaveform = 22,
    kShwDuty = 23,
    kShwPhaseMode = 24,
    kShwIrmsLimitMode = 25,
    kShwIpkLimitMode = 26,
    kShwOnEnable = 27,
    kShwOffEnable = 28,
    kShwBalanceMode = 29,
    kShwRelock = 30,
    kShwRemoteSense = 31,
    kShwExtControl = 32,
    kShwAcvUnit = 33,
    kShwSetChange = 34,
    kShwBusy = 37,
    kShwEdgeFirst = 38,  // 38-46: three edge detectors of {high count, low count, pulse seen}
    kShwSeqSimEntry = 47,
    kShwPeakClear = 48,
    kShwMonitor1 = 49,
    kShwMonitor2 = 50,
    kShwHoldOff = 51,
    kShwStartup52 = 52,  // cleared when the task starts running
    kShwTrigWidth = 53,
    kShwTrigSource = 54,
    kShwAvgCount = 55,
    kShwUpdateRate = 56,
    kShwImpedance = 57,
    kShwImpedanceFirst = 58,  // 58-60 inductance L1-L3, 61-63 resistance L1-L3
    kShwParPosition = 64,
    kShwParNumber = 65,
    kShwParEnable = 66,
    kShwWritten = 69,  // something was written in this pass
};

inline constexpr uint32_t kLineShadow = 3;

// Bits of g_OutputOptionWord that the control task owns.
enum OptionBit : uint32_t {
    kOptRemoteSense = 5,
    kOptExtControl = 6,
    kOptImpedance = 7,
    kOptOutputRelay = 8,
    kOptIrmsLimitMode = 11,
    kOptIpkLimitMode = 12,
    kOptOnEnableL1 = 16,   // 16-18
    kOptOffEnableL1 = 19,  // 19-21
    kOptSetChange = 22,    // 22-24
    kOptRelock = 25,       // 25-26
};

// The line (0..2) that the panel has selected: bits 2-3 of byte 3 of g_OutputFlags.
inline uint32_t SelectedPhase() {
    return (g_OutputFlags.load(std::memory_order_relaxed) >> 26) & 3u;
}

// The arbitrary-waveform update field: a pending table number (1-based, 0 none) and a flag byte.
struct ArbUpdateField {
    std::atomic<uint16_t> pendingTable{0};
    std::atomic<uint8_t> flags{0};
};
enum ArbUpdateFlag : uint8_t {
    kArbWriteFactorTable = 1u << 0,  // write the per-waveform factor table to the power stage
    kArbStartDelay = 1u << 1,        // start the download delay of the pending table
    kArbOutputOnAfter = 1u << 2,     // switch the output on once the table is written
};

}  // namespace core

// The arbitrary-waveform update field, set by the waveform save and carried out by the control task.
extern core::ArbUpdateField g_ArbChanged;

namespace core {
// The shadow, option and waveform-update words back to their start values (tests).
// Tests start each case from a clean state through it.
void CtrlWordsReset();
}  // namespace core
