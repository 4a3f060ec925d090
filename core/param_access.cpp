#include "core/param_access.h"

#include <atomic>

namespace {
std::atomic<uint32_t> g_outputMode{0};
std::atomic<int32_t> g_syncPhase{0};
std::atomic<int32_t> g_mainSig{0};
}  // namespace

uint32_t GetOutputMode() {
    return g_outputMode.load(std::memory_order_relaxed);
}

uint32_t SetOutputMode(uint32_t mode) {
    if (mode <= 9) g_outputMode.store(mode, std::memory_order_relaxed);
    return GetOutputMode();
}

int32_t GetSyncPhase() {
    return g_syncPhase.load(std::memory_order_relaxed);
}

int32_t SetSyncPhase(int32_t value) {
    g_syncPhase.store(value, std::memory_order_relaxed);
    return value;
}

int32_t GetMainSig() {
    return g_mainSig.load(std::memory_order_relaxed);
}

int32_t SetMainSig(int32_t value, int phase) {
    if (phase == 0) g_mainSig.store(value, std::memory_order_relaxed);
    return phase == 0 ? value : 0;
}

// No factor table is built yet: every waveform's factor reads 0.
float GetWaveCrestFactor(int) {
    return 0.0f;
}
