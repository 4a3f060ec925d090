// The FFT of a captured period and the per-order tables.
#include <kiss_fftr.h>

#include <cmath>

#include "core/control/measure/harm_internal.h"
#include "core/control/measure/harmonics.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "platform/stage/wiring_codes.h"

namespace harm {
namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr float kMagnitudeFactor = 1.4144294f;
constexpr float kPctCap = 999.9f;
constexpr uint32_t kHighRangeBit = 1u << 1;

kiss_fftr_cfg g_fft = nullptr;

// Volts or amperes per unit of a bin's magnitude, by kind, range and model family.
float Scale(int kind, bool high) {
    const uint32_t family = core::VaClassOfModel(g_ModelId.load(kRelaxed));
    if (family == kFamilyNone) return 1.0f;
    if (kind == 0) return high ? 0.019214f : 0.009607001f;
    const bool master = g_ParallelActive.load(kRelaxed) == 1 && GetParallelPosition() == 1;
    if (family == kFamily4k5) {
        if (!master) return high ? 0.0011433101f : 0.0022866202f;
        return static_cast<float>(GetParallelNumber()) * (high ? 0.0011433101f : 0.0022866203f);
    }
    const float unit = high ? 0.0015244135f : 0.003048827f;
    return master ? static_cast<float>(GetParallelNumber()) * unit : unit;
}

float Threshold(int kind, bool high) {
    if (kind == 0) return high ? 1.0f : 0.5f;
    if (core::VaClassOfModel(g_ModelId.load(kRelaxed)) == kFamilyNone) return 0.0f;
    if (GetPhaseMode() == kWiring1P2W) return high ? 1.0f : 0.5f;
    return high ? 0.5f : 0.25f;
}

int Phase(int p, int kind) {
    HarmResult& h = g_HarmResult[p];
    g_Work.cleared[p] = false;
    std::atomic<float>* mag = kind == 0 ? h.VMag : h.IMag;
    std::atomic<float>* pct = kind == 0 ? h.VPct : h.IPct;
    std::atomic<uint32_t>& invalid = kind == 0 ? h.VInvalid : h.IInvalid;
    const bool high = (core::g_OutputStatusMirror.load(kRelaxed) & kHighRangeBit) != 0;
    const float scale = Scale(kind, high);
    const float threshold = Threshold(kind, high);
    float values[kHarmOrders + 1] = {};
    double total = 0.0, harmonics = 0.0;
    int result = 0;
    for (int k = 1; k <= kHarmOrders; ++k) {
        result |= Harm_BinMagnitude(g_Work.bins[p], k, &values[k], scale);
        total += static_cast<double>(values[k]) * values[k];
        if (k >= 2) harmonics += static_cast<double>(values[k]) * values[k];
    }
    values[0] = static_cast<float>(std::sqrt(harmonics));
    const float rms = static_cast<float>(std::sqrt(total));
    const float base = paramGetValue(kParamHarmMode, 0) == 0 ? values[1] : rms;
    const bool below = base < threshold;
    for (int k = 0; k <= kHarmOrders; ++k) {
        mag[k].store(values[k], kRelaxed);
        const float v = below ? 0.0f : values[k] / base * 100.0f;
        pct[k].store(v > kPctCap ? kPctCap : v, kRelaxed);
    }
    invalid.store(below ? 1u : 0u, kRelaxed);
    return result;
}

}  // namespace

bool FftReady() {
    if (g_fft == nullptr) g_fft = kiss_fftr_alloc(kHarmSamples, 0, nullptr, nullptr);
    return g_fft != nullptr;
}

}  // namespace harm

int Harm_BinMagnitude(const int32_t (*bins)[2], int k, float* out, float scale) {
    if (k < 1 || k >= kHarmBins) {
        *out = 0.0f;
        return 1;
    }
    const int64_t re = bins[k][0], im = bins[k][1];
    *out = std::sqrt(static_cast<float>(re * re + im * im)) * scale * harm::kMagnitudeFactor;
    return 0;
}

int Harm_PhaseL1(int kind) {
    return harm::Phase(0, kind);
}
int Harm_PhaseL2(int kind) {
    return harm::Phase(1, kind);
}
int Harm_PhaseL3(int kind) {
    return harm::Phase(2, kind);
}

int Harm_Analyse(int kind, uint32_t mask) {
    using harm::g_Work;
    static int (*const kPhases[3])(int) = {Harm_PhaseL1, Harm_PhaseL2, Harm_PhaseL3};
    if (!harm::FftReady()) return 0;
    int sum = 0;
    for (int p = 0; p < 3; ++p) {
        if (!(mask & (1u << p))) continue;
        float in[kHarmSamples];
        kiss_fft_cpx out[kHarmBins];
        for (int i = 0; i < kHarmSamples; ++i)
            in[i] = static_cast<float>(g_Work.samples[p][i]);
        kiss_fftr(harm::g_fft, in, out);
        // This build transforms in floating point without scaling; the bins are those of a fixed-point
        // transform, which scales by 1/N, so that the scale table and thresholds hold as they are.
        for (int k = 0; k < kHarmBins; ++k) {
            g_Work.bins[p][k][0] = static_cast<int32_t>(std::lround(out[k].r / kHarmSamples));
            g_Work.bins[p][k][1] = static_cast<int32_t>(std::lround(out[k].i / kHarmSamples));
        }
        sum += kPhases[p](kind);
    }
    return sum;
}
