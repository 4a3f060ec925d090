#include "core/params/limits/wave_crest.h"

#include <cmath>
#include <cstdlib>

#include "core/params/waves/arb_mem.h"
#include "platform/stage/wave_numbers.h"

float WaveCrestFactor(uint32_t slot) {
    if (slot == kWaveSin) return 1.414f;
    if (slot == kWaveSqu) return 1.0f;
    if (slot == kWaveTri) return 1.732f;
    if (slot >= static_cast<uint32_t>(kArbSlots)) return 0.0f;
    const int16_t* s = g_ArbMem[slot];
    int32_t peak = 0;
    double sum = 0.0;
    for (int i = 0; i < kArbSamples; ++i) {
        int32_t v = std::abs(static_cast<int32_t>(s[i]));
        if (v > peak) peak = v;
        sum += static_cast<double>(s[i]) * s[i];
    }
    if (peak < 1) return 0.0f;
    float rms = std::sqrt(static_cast<float>(sum) / 4095.0f);
    if (rms == 0.0f) return 0.0f;
    return (static_cast<float>(peak) / rms) * 32767.0f / static_cast<float>(peak);
}
