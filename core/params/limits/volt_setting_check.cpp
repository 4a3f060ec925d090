// The voltage settings over all waveforms, the crest-factor ceilings and the SEQ/SIM step limits.
#include <algorithm>
#include <cmath>
#include <mutex>

#include "core/params/limits/limit_checks.h"
#include "core/params/limits/limit_internal.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"

using namespace limits;

namespace {

constexpr float kHighCrestFactor = 1.42f;

bool IsAcOnlyMode(uint32_t mode) {
    return mode == kModeAcInt || mode == kModeAcAdd || mode == kModeAcSync;
}

// The record set the display uses for the waveform: Vpp when the AC voltage unit is Vpp and the waveform
// is neither SIN nor SQU. Caller holds g_ParamLock.
uint32_t DisplaySet(uint32_t waveform) {
    const bool vpp = g_ParamStore.global[core::kGlbAcvUnit].value == 1;
    return vpp && waveform != kWaveSin && waveform != kWaveSqu ? 1 : 0;
}

// The waveform numbers that have records of their own in the mode (DC-INT keeps one).
uint32_t WaveformCount(uint32_t mode) {
    return core::ClampMode(mode) == kModeDcInt ? 1 : core::kWaveforms;
}

// Steps of the full check for one phase; `only` limits them to one waveform (its carry-over is then
// nothing to do). Caller holds g_ParamLock.
void CheckPhase(uint32_t mode, uint32_t area, uint32_t phase, bool onlyCurrent) {
    const uint32_t current = static_cast<uint32_t>(g_ParamStore.unit[phase].waveform.value) & 0xFFFFu;
    const uint32_t set = DisplaySet(current);
    const uint32_t w = core::ClampWaveform(current, core::ClampMode(mode));
    const uint32_t first = onlyCurrent ? w : 0;
    const uint32_t end = onlyCurrent ? w + 1 : WaveformCount(mode);

    if (!onlyCurrent) {
        const ParamRec acv = *VoltRec(kParamAcv, mode, area, w, set, phase);
        const ParamRec dcv = *VoltRec(kParamDcv, mode, area, w, set, phase);
        for (uint32_t x = first; x < end; ++x) {
            ParamRec* a = VoltRec(kParamAcv, mode, area, x, set, phase);
            ParamRec* d = VoltRec(kParamDcv, mode, area, x, set, phase);
            a->value = acv.value;
            a->def1 = acv.def1;
            a->def2 = acv.def2;
            d->value = dcv.value;
            d->def1 = dcv.def1;
            d->def2 = dcv.def2;
        }
    }
    const int32_t limit[2] = {VoltRec(kParamVoltLimit, 0, area, 0, 0, phase)->value,
                              VoltRec(kParamVoltLimit, 0, area, 0, 1, phase)->value};
    for (uint32_t x = first; x < end; ++x) {
        for (uint32_t s = 0; s < 2; ++s) {
            ParamRec* a = VoltRec(kParamAcv, mode, area, x, s, phase);
            if (IsAcOnlyMode(mode) && a->value > limit[s]) a->value = 0;
            ParamRecClamp(a);
            ParamRecClamp(VoltRec(kParamDcv, mode, area, x, s, phase));
        }
    }
    AcvLimitClampWaveLocked(area, phase, mode, w, set);
    VpkLimitClampWaveLocked(area, phase, mode, w);
}

}  // namespace

void VoltSettingCheckAll(uint32_t mode, uint32_t area) {
    std::lock_guard<std::mutex> lock(core::g_ParamLock);
    for (uint32_t p = 0; p < core::kPhases; ++p)
        CheckPhase(mode, area, p, false);
}

void VoltSettingCheckPhase(uint32_t mode, uint32_t area, uint32_t phase) {
    if (phase >= core::kPhases) return;
    std::lock_guard<std::mutex> lock(core::g_ParamLock);
    CheckPhase(mode, area, phase, true);
}

void ArbAcvLimitUpdateAll() {
    static constexpr uint32_t kAcModes[] = {0, 1, 4, 5, 6, 7, 8};
    std::lock_guard<std::mutex> lock(core::g_ParamLock);
    for (uint32_t p = 0; p < core::kPhases; ++p) {
        for (uint32_t area = 0; area < core::kVoltAreas; ++area) {
            const ParamRec& limit = *VoltRec(kParamVoltLimit, 0, area, 0, 0, p);
            const ParamRec& vpkMax = *VoltRec(kParamVpkMax, 0, area, 0, 0, p);
            for (uint32_t mode : kAcModes) {
                for (uint32_t w = 0; w < core::kWaveforms; ++w) {
                    ParamRec* acv = VoltRec(kParamAcv, mode, area, w, 0, p);
                    const float crest = g_ParamStore.waveFactor[w];
                    acv->defaultMax = limit.defaultMax;
                    // Only a high crest factor lowers the maximum; the others keep theirs for the limit
                    // checks.
                    if (crest > kHighCrestFactor) {
                        acv->defaultMax =
                            std::min(Trunc(vpkMax.defaultMax / static_cast<double>(crest)), limit.defaultMax);
                        if (acv->max > acv->defaultMax) acv->max = acv->defaultMax;
                    }
                }
            }
        }
    }
}

void SeqStepVoltLimits(int32_t* out, uint32_t kind, uint32_t area, uint32_t waveform, int32_t acv,
                       int32_t dcv) {
    if (out == nullptr) return;
    std::fill(out, out + kStepLimitWords, 0);
    if (kind > 2 || waveform < 1 || waveform > core::kWaveforms) {
        out[kStepOutOfRange] = 1;
        return;
    }
    const uint32_t w = waveform - 1;
    ParamRec a, d;
    uint32_t set;
    {
        std::lock_guard<std::mutex> lock(core::g_ParamLock);
        set = DisplaySet(w);
        a = *VoltRec(kParamAcv, kind, area, w, set, 0);
        d = *VoltRec(kParamDcv, kind, area, w, set, 0);
        if (kind == 0) {
            // The AC+DC records' present limits leave room for the voltages set now (the DC limits shrink by
            // the present AC peak, the AC maximum by the present DC voltage): a step is held to the peak
            // limits and the AC ceiling alone, whatever the output is set to.
            const ParamRec& vpkMax = *VoltRec(kParamVpkMax, 0, area, 0, 0, 0);
            const ParamRec& vpkMin = *VoltRec(kParamVpkMin, 0, area, 0, 0, 0);
            d.max = std::min(vpkMax.value, d.defaultMax);
            d.min = std::max(vpkMin.value, d.defaultMin);
            a.max = std::min(VoltRec(kParamVoltLimit, 0, area, 0, set, 0)->value, a.defaultMax);
        }
    }
    if (kind == 0) {
        const double half = PeakHalfWidth(acv, a, set);
        // A negative AC voltage (a step word above 0x7FFFFFFF read from a file) has no peak to fit; taken
        // as a width it would widen the DC limits past the 32-bit range.
        // The pair fits when the DC voltage lies within the DC limits this AC voltage leaves (its peak
        // rounded up as below), so an AC voltage at the maximum given for the DC voltage fits too.
        const double peak = std::trunc(half + 0.99);
        if (half < 0.0 || dcv + peak > d.max || dcv - peak < d.min) {
            out[kStepOutOfRange] = 1;
            return;
        }
        const int32_t b = Trunc(half + 0.99);
        out[kStepDcvMax] = d.max - b;
        out[kStepDcvMin] = d.min + b;
        const double divisor = PeakDivisor(a, set);
        const double room = std::min(static_cast<double>(dcv) - d.min, static_cast<double>(d.max) - dcv);
        out[kStepAcvMax] = divisor > 0.0 ? std::min(Trunc(room / divisor), a.max) : a.max;
        out[kStepAcvMin] = a.min > 0 ? a.min : 0;
        out[kStepAcvRecMax] = a.max;
        out[kStepAcvRecMin] = a.min;
        out[kStepDcvRecMax] = d.max;
        out[kStepDcvRecMin] = d.min;
    } else if (kind == 1) {
        if (acv < a.min || acv > a.max) {
            out[kStepOutOfRange] = 1;
            return;
        }
        out[kStepAcvMax] = out[kStepAcvRecMax] = a.max;
        out[kStepAcvMin] = out[kStepAcvRecMin] = a.min;
    } else {
        if (dcv < d.min || dcv > d.max) {
            out[kStepOutOfRange] = 1;
            return;
        }
        out[kStepDcvMax] = out[kStepDcvRecMax] = d.max;
        out[kStepDcvMin] = out[kStepDcvRecMin] = d.min;
    }
}
