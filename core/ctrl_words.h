#pragma once
// Process-wide words of the control task that the parameter store and its defaults touch: the output shadow
// and the arbitrary-waveform update field.
#include <atomic>
#include <cstdint>

#include "core/output_flags.h"

// The value of each output setting as last written to the power stage, per unit L1, L2, L3, LINE; a setter
// stores value + 1 into a word to force the next pass to write it again.
inline constexpr int kOutputShadowUnits = 4;
inline constexpr int kOutputShadowWords = 74;
extern uint32_t g_OutputShadow[kOutputShadowUnits][kOutputShadowWords];

namespace core {

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
extern ArbUpdateField g_ArbUpdate;

}  // namespace core
