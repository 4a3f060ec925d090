#pragma once
#include <atomic>
#include <cstdint>

// Output flags: byte 0 bit 1 output on; byte 0 bit 3 remote indication; byte 3 bits 2-3 the selected
// line, bit 4 settled.
extern std::atomic<uint32_t> g_OutputFlags;
constexpr uint32_t kOutputFlagOn = 1u << 1;

inline bool OutputIsOn() {
    return g_OutputFlags.load(std::memory_order_relaxed) & kOutputFlagOn;
}

// Nonzero while a power-on output request is still being carried out (front-panel keys wait).
uint32_t PowerOnOutputPending();
