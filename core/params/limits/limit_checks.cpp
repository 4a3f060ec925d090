// The frequency, voltage-limit and peak-voltage checks, and the clamp every check ends with.
#include "core/params/limits/limit_checks.h"

#include <algorithm>
#include <mutex>

#include "core/params/limits/limit_internal.h"
#include "core/params/access/wiring_state.h"
#include "core/params/param_dirty.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/state/ctrl_words.h"

using limits::Trunc;

namespace limits {

bool AllPhases() {
    return g_EditAllPhases.load(std::memory_order_relaxed) == 1;
}

uint32_t SelectedPhase() {
    return core::SelectedPhase() > 2 ? 2 : core::SelectedPhase();
}

uint32_t LastPhase() {
    return static_cast<uint32_t>(core::LastPhaseOfWiring(g_PhaseMode.load(std::memory_order_relaxed)));
}

uint32_t BindingPhase(const int32_t v[3], int want) {
    auto binds = [&](int a, int b) { return want == kSmallest ? v[a] <= v[b] : v[a] >= v[b]; };
    if (binds(0, 1) && binds(0, 2)) return 0;
    if (binds(1, 0) && binds(1, 2)) return 1;
    return 2;
}

ParamRec* VoltRec(uint32_t id, uint32_t mode, uint32_t area, uint32_t waveform, uint32_t set,
                  uint32_t phase) {
    mode = core::ClampMode(mode);
    waveform = core::ClampWaveform(waveform, mode);
    if (id == kParamDcv && mode == kModeDcInt) set = 0;
    return core::ParamLocate(id, core::ParamPlace{mode, area ? 1u : 0u, 0, waveform, set ? 1u : 0u, phase});
}

}  // namespace limits

using namespace limits;

void ParamRecClamp(ParamRec* r) {
    r->max = std::min(r->max, r->defaultMax);
    r->min = std::min(r->min, r->max);
    r->min = std::max(r->min, r->defaultMin);
    r->max = std::max(r->max, r->min);
    if (r->value > r->defaultMax || r->value < r->defaultMin) r->value = 0;
}

// --- Frequency ---

namespace {

// The frequency records follow the mode alone: no waveform or range variant is asked for.
core::RangePlace FreqPlace(uint32_t mode, uint32_t phase) {
    return {.mode = mode, .rangeCode = core::CurrentRangeCode(), .unit = phase};
}

ParamRec FreqRec(uint32_t id, uint32_t mode, uint32_t phase) {
    ParamRec rec;
    paramAccess(Access::kRead, id, &rec, FreqPlace(mode, phase));
    return rec;
}

void PutFreqRec(uint32_t id, uint32_t mode, uint32_t phase, ParamRec rec) {
    paramAccess(Access::kWrite, id, &rec, FreqPlace(mode, phase));
}

// The frequency record of the mode and phase held within [lo, hi]; returns its value.
int32_t HoldFrequency(uint32_t mode, uint32_t phase, const ParamRec& hi, const ParamRec& lo) {
    ParamRec f = FreqRec(kParamFreq, mode, phase);
    f.max = hi.value;
    f.min = lo.value;
    ParamRecClamp(&f);
    PutFreqRec(kParamFreq, mode, phase, f);
    return f.value;
}

void FreqCheck(uint32_t mode, uint32_t sel) {
    if (IsDcOrExtMode(mode) || IsSyncMode(mode) || mode >= core::kModes) return;
    const bool all = AllPhases();
    ParamRec hiRecs[3], loRecs[3];
    int32_t hiValues[3], loValues[3];
    for (uint32_t p = 0; p < 3; ++p) {
        hiRecs[p] = FreqRec(kParamFreqLimitHi, mode, p);
        loRecs[p] = FreqRec(kParamFreqLimitLo, mode, p);
        hiValues[p] = hiRecs[p].value;
        loValues[p] = loRecs[p].value;
    }
    ParamRec hi = hiRecs[all ? BindingPhase(hiValues, kSmallest) : sel];
    ParamRec lo = loRecs[all ? BindingPhase(loValues, kLargest) : sel];

    if (mode == kModeAcVca) {
        const int32_t f = HoldFrequency(kModeAcVca, sel, hi, lo);
        hi.min = std::max(hi.min, f);
        lo.max = std::min(lo.max, f);
    } else {
        const bool acPair = mode == kModeAcInt || mode == kModeAcAdd;
        const int32_t f0 = HoldFrequency(acPair ? kModeAcInt : kModeAcDcInt, sel, hi, lo);
        const int32_t f1 = HoldFrequency(acPair ? kModeAcAdd : kModeAcDcAdd, sel, hi, lo);
        hi.min = std::max(f0, f1);
        lo.max = std::min(f0, f1);
    }
    ParamRecClamp(&hi);
    ParamRecClamp(&lo);

    if (!all) {
        PutFreqRec(kParamFreqLimitHi, mode, sel, hi);
        PutFreqRec(kParamFreqLimitLo, mode, sel, lo);
    } else if (panel::DirtyTest(kDirtyFreqLimitHigh)) {
        // The marked edit is the selected phase's: its limit as stored goes to every phase, so a raised
        // limit is not undone by the lower one of another phase.
        for (uint32_t p = 0; p <= LastPhase(); ++p)
            PutFreqRec(kParamFreqLimitHi, mode, p, hiRecs[sel]);
    } else if (panel::DirtyTest(kDirtyFreqLimitLow)) {
        for (uint32_t p = 0; p <= LastPhase(); ++p)
            PutFreqRec(kParamFreqLimitLo, mode, p, loRecs[sel]);
    }
}

}  // namespace

void FreqLimitCheck(uint32_t mode) {
    FreqCheck(mode, SelectedPhase());
}

// --- Voltage limit ---

void VoltLimitCheck(uint32_t area) {
    static constexpr uint32_t kAcOnlyModes[] = {1, 6, 8};
    const bool all = AllPhases();
    const uint32_t sel = SelectedPhase();
    const uint32_t first = all ? 0 : sel;
    const uint32_t last = all ? LastPhase() : sel;
    std::lock_guard<std::mutex> lock(core::g_ParamLock);
    for (uint32_t set = 0; set < 2; ++set) {
        int32_t values[3];
        for (uint32_t p = 0; p < 3; ++p)
            values[p] = VoltRec(kParamVoltLimit, 0, area, 0, set, p)->value;
        const ParamRec stored = *VoltRec(kParamVoltLimit, 0, area, 0, set, sel);
        ParamRec v = *VoltRec(kParamVoltLimit, 0, area, 0, set, all ? BindingPhase(values, kSmallest) : sel);
        v.min = v.defaultMin;
        for (uint32_t mode : kAcOnlyModes) {
            for (uint32_t w = 0; w < core::kWaveforms; ++w) {
                for (uint32_t p = first; p <= last; ++p) {
                    ParamRec* acv = VoltRec(kParamAcv, mode, area, w, set, p);
                    acv->max = v.value;
                    ParamRecClamp(acv);
                    v.min = std::max(v.min, acv->value);
                }
            }
        }
        ParamRecClamp(&v);
        if (v.value == 0) v.value = v.defaultValue;
        if (!all) {
            *VoltRec(kParamVoltLimit, 0, area, 0, set, sel) = v;
        } else if (panel::DirtyTest(kDirtyVoltLimit)) {
            // As for the frequency limits: the selected phase's limit as stored, not the binding one.
            for (uint32_t p = 0; p <= LastPhase(); ++p)
                *VoltRec(kParamVoltLimit, 0, area, 0, set, p) = stored;
        }
    }
}

// --- Peak voltage limits ---

namespace {

struct PeakExtremes {
    int32_t hi;
    int32_t lo;
};

// The DC-INT voltage of a phase held within the peak limits; the extremes follow it.
void HoldDcIntVoltage(uint32_t area, uint32_t set, uint32_t phase, const ParamRec& vpkMax,
                      const ParamRec& vpkMin, PeakExtremes* ex) {
    ParamRec* dcv = VoltRec(kParamDcv, kModeDcInt, area, 0, set, phase);
    dcv->max = vpkMax.value;
    dcv->min = vpkMin.value;
    ParamRecClamp(dcv);
    if (dcv->value >= 1)
        ex->hi = std::max(ex->hi, dcv->value);
    else
        ex->lo = std::min(ex->lo, dcv->value);
}

// An AC+DC pair of one waveform: the DC voltage keeps the AC peak inside the limits, the AC voltage the
// room the DC voltage leaves.
void HoldAcDcPair(uint32_t mode, uint32_t area, uint32_t w, uint32_t set, uint32_t phase,
                  const ParamRec& vpkMax, const ParamRec& vpkMin, PeakExtremes* ex) {
    ParamRec* acv = VoltRec(kParamAcv, mode, area, w, set, phase);
    ParamRec* dcv = VoltRec(kParamDcv, mode, area, w, set, phase);
    const double a = PeakHalfWidth(acv->value, *acv, set);
    const double d = dcv->value;
    ex->hi = std::max(ex->hi, Trunc(d + a + 0.99));
    ex->lo = std::min(ex->lo, Trunc(d - a - 0.99));
    const int32_t b = Trunc(a + 0.99);
    dcv->max = Trunc(static_cast<double>(vpkMax.value) - b);
    dcv->min = Trunc(static_cast<double>(vpkMin.value) + b);
    // A waveform without a peak factor has no AC room to compute: its AC maximum stays as it is.
    const double divisor = PeakDivisor(*acv, set);
    if (divisor > 0.0) {
        const double room =
            std::min(static_cast<double>(vpkMax.value) - d, d - static_cast<double>(vpkMin.value));
        acv->max = Trunc(room / divisor);
    }
    ParamRecClamp(acv);
    ParamRecClamp(dcv);
}

bool IsAcDcMode(uint32_t mode) {
    return mode == kModeAcDcInt || mode == kModeAcDcAdd || mode == kModeAcDcSync;
}

// A phase's AC and DC voltages of every AC+DC waveform and its DC-INT voltage held within its own peak
// limits; the limits' own bounds follow the peaks its settings reach. Caller holds g_ParamLock.
PeakExtremes HoldPhaseToItsPeakLimits(uint32_t area, uint32_t phase) {
    static constexpr uint32_t kAcDcModes[] = {kModeAcDcInt, kModeAcDcAdd, kModeAcDcSync};
    ParamRec* vpkMax = VoltRec(kParamVpkMax, 0, area, 0, 0, phase);
    ParamRec* vpkMin = VoltRec(kParamVpkMin, 0, area, 0, 0, phase);
    PeakExtremes ex{vpkMax->defaultMin, vpkMin->defaultMax};
    for (uint32_t set = 0; set < 2; ++set) {
        HoldDcIntVoltage(area, set, phase, *vpkMax, *vpkMin, &ex);
        for (uint32_t mode : kAcDcModes)
            for (uint32_t w = 0; w < core::kWaveforms; ++w)
                HoldAcDcPair(mode, area, w, set, phase, *vpkMax, *vpkMin, &ex);
    }
    vpkMax->min = ex.hi;
    vpkMin->max = ex.lo;
    ParamRecClamp(vpkMax);
    ParamRecClamp(vpkMin);
    return ex;
}

}  // namespace

// Every phase is held to its own limits: one phase's limit written never moves another phase's ceilings.
void VpkLimitCheck(uint32_t area) {
    const bool all = AllPhases();
    const uint32_t sel = SelectedPhase();
    std::lock_guard<std::mutex> lock(core::g_ParamLock);
    // A limit edited on all phases together is the selected phase's as stored, on every phase of the wiring.
    const bool high = all && panel::DirtyTest(kDirtyVpkHigh);
    if (high || (all && panel::DirtyTest(kDirtyVpkLow))) {
        const uint32_t id = high ? kParamVpkMax : kParamVpkMin;
        const ParamRec stored = *VoltRec(id, 0, area, 0, 0, sel);
        for (uint32_t p = 0; p <= LastPhase(); ++p)
            *VoltRec(id, 0, area, 0, 0, p) = stored;
    }
    PeakExtremes wiring{INT32_MIN, INT32_MAX};
    for (uint32_t p = 0; p < core::kPhases; ++p) {
        const PeakExtremes ex = HoldPhaseToItsPeakLimits(area, p);
        if (p > LastPhase()) continue;
        wiring.hi = std::max(wiring.hi, ex.hi);
        wiring.lo = std::min(wiring.lo, ex.lo);
    }
    if (!all) return;
    // An edit of all phases writes the selected phase's limits to every phase: they keep clear of the peaks
    // of every phase of the wiring.
    ParamRec* vpkMax = VoltRec(kParamVpkMax, 0, area, 0, 0, sel);
    ParamRec* vpkMin = VoltRec(kParamVpkMin, 0, area, 0, 0, sel);
    vpkMax->min = wiring.hi;
    vpkMin->max = wiring.lo;
    ParamRecClamp(vpkMax);
    ParamRecClamp(vpkMin);
}

namespace limits {

void VpkLimitClampWaveLocked(uint32_t area, uint32_t phase, uint32_t mode, uint32_t w) {
    ParamRec* vpkMax = VoltRec(kParamVpkMax, 0, area, 0, 0, phase);
    ParamRec* vpkMin = VoltRec(kParamVpkMin, 0, area, 0, 0, phase);
    PeakExtremes ex{vpkMax->defaultMin, vpkMin->defaultMax};
    for (uint32_t set = 0; set < 2; ++set) {
        if (mode == kModeDcInt)
            HoldDcIntVoltage(area, set, phase, *vpkMax, *vpkMin, &ex);
        else if (IsAcDcMode(mode))
            HoldAcDcPair(mode, area, w, set, phase, *vpkMax, *vpkMin, &ex);
    }
    vpkMax->min = ex.hi;
    vpkMin->max = ex.lo;
    ParamRecClamp(vpkMax);
    ParamRecClamp(vpkMin);
}

void AcvLimitClampWaveLocked(uint32_t area, uint32_t phase, uint32_t mode, uint32_t w, uint32_t set) {
    ParamRec* v = VoltRec(kParamVoltLimit, 0, area, 0, set, phase);
    v->min = v->defaultMin;
    ParamRec* acv = VoltRec(kParamAcv, mode, area, w, set, phase);
    acv->max = v->value;
    ParamRecClamp(acv);
    v->min = std::max(v->min, acv->value);
    ParamRecClamp(v);
    if (v->value == 0) v->value = v->defaultValue;
}

}  // namespace limits
