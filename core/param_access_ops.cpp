#include "core/param_access_ops.h"

#include "core/ctrl_words.h"
#include "core/param_store.h"

using namespace core;

namespace {

// Output shadow words of the AC and DC voltage and of the waveform-spread voltage copies.
constexpr int kShadowAcv = 3;
constexpr int kShadowDcv = 4;
constexpr int kShadowSpreadFirst = 70;
constexpr int kShadowSpreadLast = 73;

}  // namespace

void ZeroAllVoltages() {
    const uint32_t mode = ClampMode(g_OutputModeIdx.load(std::memory_order_relaxed));
    const uint32_t area = VoltAreaOfRange(CurrentRangeCode());
    for (uint32_t phase = 0; phase < kPhases; ++phase) {
        g_OutputShadow[phase][kShadowAcv] = 0;
        g_OutputShadow[phase][kShadowDcv] = 0;
        for (int w = kShadowSpreadFirst; w <= kShadowSpreadLast; ++w)
            g_OutputShadow[phase][w] = 0;
        {
            std::lock_guard<std::mutex> lock(g_ParamLock);
            ParamVoltArea& a = g_ParamStore.unit[phase].mode[mode].volt[area];
            for (uint32_t set = 0; set < 2; ++set) {
                for (uint32_t w = 0; w < kWaveforms; ++w) {
                    a.acv[set][w].value = 0;
                    a.dcv[set][w].value = 0;
                }
            }
        }
        paramPutValue(0, 47 + phase, 0, phase);
        paramPutValue(0, 54 + phase, 0, phase);
    }
}

float GetWaveCrestFactor(uint32_t waveform) {
    if (waveform >= kWaveforms) return 0.0f;
    std::lock_guard<std::mutex> lock(g_ParamLock);
    return g_ParamStore.waveFactor[waveform];
}

namespace core {

void ParamSetWaveFactor(uint32_t waveform, float factor) {
    if (waveform >= kWaveforms) return;
    std::lock_guard<std::mutex> lock(g_ParamLock);
    g_ParamStore.waveFactor[waveform] = factor;
    for (ParamUnit& u : g_ParamStore.unit) {
        for (ParamModeBlock& m : u.mode) {
            for (ParamVoltArea& a : m.volt) {
                a.acv[0][waveform].peakFactor = factor;
                a.acv[1][waveform].peakFactor = factor;
            }
        }
    }
}

}  // namespace core
