#pragma once
// g_OutputFlags: four flag bytes of the output state, kept as one word (byte k = bits 8k to 8k+7).
#include <atomic>
#include <cstdint>

extern std::atomic<uint32_t> g_OutputFlags;

namespace core {
// All flags clear, as at start (tests).
// Tests start each case from a clean state through it.
void OutputFlagsReset();
}  // namespace core

enum OutputFlagBit : uint32_t {
    kOutFlagOutputOn = 1,      // byte 0 bit 1: the output is on
    kOutFlagRemote = 3,        // byte 0 bit 3: remote indicator ("RMT"), set by the SCPI channels
    kOutFlagSeqSimActive = 8,  // byte 1 bit 0: a SEQUENCE or SIMULATE function is active
    kOutFlagSelLine0 = 26,     // byte 3 bits 2-3: the selected line 0-2
    kOutFlagSettled = 28,      // byte 3 bit 4: settled, the per-line comparison is active
    kOutFlagEditAllSkip = 29,  // byte 3 bit 5: edit-all mode skipped the settling pass
};

inline bool OutputFlagTest(OutputFlagBit bit) {
    return (g_OutputFlags.load(std::memory_order_acquire) >> bit) & 1u;
}
inline void OutputFlagSet(OutputFlagBit bit) {
    g_OutputFlags.fetch_or(1u << bit, std::memory_order_release);
}
inline void OutputFlagClear(OutputFlagBit bit) {
    g_OutputFlags.fetch_and(~(1u << bit), std::memory_order_release);
}

// 1 while a SEQUENCE or SIMULATE function is active (the active bit of g_OutputFlags), else 0.
inline int SeqSimIsActive() {
    return OutputFlagTest(kOutFlagSeqSimActive) ? 1 : 0;
}
