#pragma once
// The four output flag bytes, kept as one word (byte 0 in the low bits). Every thread reads them; the
// control task, the panel and the SCPI channels set single bits.
#include <atomic>
#include <cstdint>

extern std::atomic<uint32_t> g_OutputFlags;

enum OutputFlagBit : uint32_t {
    kOutFlagOutputOn = 1,        // byte 0 bit 1: the output is on
    kOutFlagRemote = 3,          // byte 0 bit 3: remote indicator ("RMT"), set by the SCPI channels
    kOutFlagSeqSimActive = 8,    // byte 1 bit 0: a SEQ/SIM function is active
    kOutFlagSelPhaseLow = 26,    // byte 3 bits 2-3: the selected phase 0..2 (L1-L3)
    kOutFlagSettled = 28,        // byte 3 bit 4: per-line comparison active
    kOutFlagEditAllSkipped = 29  // byte 3 bit 5: settling pass skipped in edit-all mode
};

inline bool OutputFlagTest(OutputFlagBit bit) {
    return (g_OutputFlags.load(std::memory_order_relaxed) >> bit) & 1u;
}
inline void OutputFlagSet(OutputFlagBit bit) {
    g_OutputFlags.fetch_or(1u << bit, std::memory_order_relaxed);
}
inline void OutputFlagClear(OutputFlagBit bit) {
    g_OutputFlags.fetch_and(~(1u << bit), std::memory_order_relaxed);
}
