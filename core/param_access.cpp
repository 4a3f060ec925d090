#include "core/param_access.h"

#include "core/ctrl_words.h"
#include "core/param_store.h"

using namespace core;

namespace {

// Output shadow words.
constexpr int kShadowOutputMode = 2;
constexpr int kShadowAcv = 3;
constexpr int kShadowDcv = 4;
constexpr int kShadowSyncPhase = 12;
constexpr int kShadowSig = 16;
constexpr int kShadowSpreadFirst = 70;  // voltage copies of the waveform spread
constexpr int kShadowSpreadLast = 73;

// Stores value when it lies within the record's limits and posts value + 1 into the phase's shadow word;
// returns the record's value after the call.
int32_t SetWithinLimits(uint32_t id, int32_t value, uint32_t phase, int shadowWord) {
    ParamRec rec;
    if (phase >= kPhases || paramRW(0, id, &rec, phase) != 0) return 0;
    if (value < rec.min || value > rec.max) return rec.value;
    rec.value = value;
    g_OutputShadow[phase][shadowWord] = static_cast<uint32_t>(value) + 1;
    paramRW(1, id, &rec, phase);
    return value;
}

}  // namespace

uint32_t GetOutputMode() {
    return g_OutputModeIdx.load(std::memory_order_relaxed);
}

uint32_t SetOutputMode(uint32_t mode) {
    if (mode < kModes) {
        g_OutputModeIdx.store(mode, std::memory_order_relaxed);
        g_OutputShadow[0][kShadowOutputMode] = mode + 1;
    }
    return GetOutputMode();
}

int32_t GetSyncPhase() {
    return paramGetValue(89, 0, 0);
}

int32_t SetSyncPhase(int32_t value) {
    return SetWithinLimits(89, value, 0, kShadowSyncPhase);
}

int32_t GetMainSig() {
    return paramGetValue(81, 0, 0);
}

int32_t SetMainSig(int32_t value, int phase) {
    return SetWithinLimits(81, value, static_cast<uint32_t>(phase), kShadowSig);
}

float GetWaveCrestFactor(int waveform) {
    if (waveform < 0 || waveform >= static_cast<int>(kWaveforms)) return 0.0f;
    std::lock_guard<std::mutex> lock(g_ParamLock);
    return g_ParamStore.waveFactor[waveform];
}

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
