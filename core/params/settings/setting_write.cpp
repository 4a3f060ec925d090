#include "core/params/settings/setting_write.h"

#include <algorithm>

#include "core/params/access/line_values.h"
#include "core/params/access/param_access.h"
#include "core/params/access/wiring_state.h"
#include "core/params/limits/limit_checks.h"
#include "core/params/limits/phase_limits.h"
#include "core/params/param_dirty.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/params/settings/acv_bounds.h"
#include "core/params/settings/angle_bounds.h"
#include "core/params/settings/duty_band.h"
#include "core/params/settings/setting_rows.h"
#include "core/system/state/ctrl_words.h"
#include "platform/stage/wiring_codes.h"

namespace settings {

namespace {

// The record a value of id is held to: a line value's lives on L1's unit.
ParamRec RecordOf(uint32_t id, int phase) {
    ParamRec rec{};
    paramGetRecord(id, &rec, IsLineSetting(id) ? 0 : static_cast<uint32_t>(phase));
    return rec;
}

// The duty's band on the phase; false where the record's own limits hold. The panel's band follows the
// digits its field shows; a remote set's the phase's frequency, from 100.00 Hz up.
bool DutyBandOf(int phase, const ParamRec& rec, Origin who, DutyBand* band) {
    if (who == Origin::kPanel) {
        *band = DutyBandOfDigits(rec.digits);
        return true;
    }
    const int32_t digits = DutyDigitsOfFreq(GetFrequency(phase));
    if (digits == kDutyFineDigits) return false;
    *band = DutyBandOfDigits(digits);
    return true;
}

// A remote duty within its band goes to the band's step; false outside the band.
bool DutyRounded(int phase, int32_t* v) {
    DutyBand band;
    if (!DutyBandOf(phase, RecordOf(kParamWaveDuty, phase), Origin::kRemote, &band)) return true;
    if (*v < band.lo || *v > band.hi) return false;
    *v = (*v + band.step / 2) / band.step * band.step;
    return true;
}

void WriteRecord(uint32_t id, int phase, int32_t v) {
    ParamRec rec = RecordOf(id, phase);
    rec.value = v;
    if (IsLineSetting(id)) {
        SetPhaseValuesFromLine(id, v);
        paramPutRecord(id, &rec, 0);
        return;
    }
    paramPutRecord(id, &rec, static_cast<uint32_t>(phase));
}

bool IsIn(uint32_t id, uint32_t first, uint32_t last) {
    return id >= first && id <= last;
}

// What a changed value asks for next. A remote voltage is checked on the phases it wrote; the panel checks
// every phase after a DC voltage and leaves an AC voltage to its own ceiling (which the service override
// lifts on purpose).
void CheckAfterSet(uint32_t id, int first, int last, Origin who) {
    const uint32_t mode = GetOutputMode();
    const uint32_t area = core::VoltAreaOfRange(core::CurrentRangeCode());
    if (id == kParamVoltLimit) {
        VoltLimitCheck(area);
    } else if (id == kParamVpkMax || id == kParamVpkMin) {
        VpkLimitCheck(area);
    } else if (IsIn(id, kParamFreq, kParamFreqLimitLo + 2)) {
        FreqLimitCheck(mode);
    } else if (who == Origin::kPanel) {
        if (IsIn(id, kParamDcv, kParamDcvLine)) VoltSettingCheckAll(mode, area);
    } else if (IsLineSetting(id)) {
        for (uint32_t p = 0; p < core::kPhases; ++p)
            VoltSettingCheckPhase(mode, area, p);
    } else if (id == kParamAcv || id == kParamDcv || id == kParamDcv2) {
        for (int p = first; p <= last; ++p)
            VoltSettingCheckPhase(mode, area, static_cast<uint32_t>(p));
    }
}

// With edit-all or in 1P3W the control task applies a changed group to every phase of the wiring: marked
// only when no phase of the wiring would hold the value back.
void MarkWhenNoPhaseLimits(uint32_t id, int32_t v, bool allPhases) {
    const uint32_t wiring = GetPhaseMode();
    if (!allPhases && wiring != kWiring1P3W) return;
    const uint32_t phases = wiring < kWirings ? PhasesOfWiring(wiring) : 1;
    for (uint32_t p = 0; p < phases; ++p)
        if (!Fits(id, static_cast<int>(p), v, Origin::kRemote)) return;
    MarkAllPhaseEdit(id);
}

uint32_t PhaseBit(int phase) {
    return phase >= 0 && phase < static_cast<int>(core::kPhases) ? 1u << phase : 0;
}

bool EditAllPhases() {
    return g_EditAllPhases.load(std::memory_order_relaxed) == 1;
}

// The phases FindPhasesLimitingValue found holding the value back (its mask leaves out "all three").
HeldBack FindHeldBack(uint32_t id, int32_t probe, int* found) {
    *found = FindPhasesLimitingValue(id, probe);
    HeldBack h;
    h.held = (*found & 1) != 0;
    const uint32_t mask = g_LimitedPhase.mask.load(std::memory_order_acquire);
    h.phases = h.held && mask == 0 ? 7u : mask;
    return h;
}

// A panel key's test of the phases and its all-phase mark, while all phases are edited together. False when
// the key refuses the value.
bool PanelAllPhaseEdit(uint32_t id, int32_t v, const PanelSet& key, HeldBack* held) {
    int found = 0;
    switch (key.key) {
        case PanelKey::kKnob:
            *held = FindHeldBack(id, key.probe, &found);
            MarkAllPhaseEdit(id);
            return true;
        case PanelKey::kEnter:
            *held = FindHeldBack(id, key.probe, &found);
            if (found == 0) MarkAllPhaseEdit(id);
            return !(found == 1 && GetPhaseMode() == kWiring3P4W);
        case PanelKey::kMax:
        case PanelKey::kMin: {
            // The tightest limit came from one phase (AlignAllPhaseLimits): the value is held back by it.
            const uint32_t index =
                (key.key == PanelKey::kMax ? g_LimitedPhase.maxIndex : g_LimitedPhase.minIndex)
                    .load(std::memory_order_relaxed);
            if (GetPhaseMode() == kWiring3P4W && IsIn(id, kParamAcv, kParamDcvLine) &&
                index != core::kAllPhasesEqual) {
                const int64_t past = static_cast<int64_t>(v) + 1;
                *held = FindHeldBack(id, static_cast<int32_t>(std::min<int64_t>(past, INT32_MAX)), &found);
                held->held = true;
                return true;
            }
            MarkParamGroupChanged(id);
            return true;
        }
        case PanelKey::kDefault:
            MarkParamGroupChanged(id);
            return true;
    }
    return true;
}

}  // namespace

bool IsLineSetting(uint32_t id) {
    return id == kParamAcvLine || id == kParamDcvLine;
}

int32_t MaxOf(uint32_t id, int phase, const ParamRec& rec, Origin who) {
    DutyBand band;
    switch (BoundsOf(id)) {
        case Bounds::kAcv:
            if (who == Origin::kRemote && IsLineSetting(id)) return LineAcvRemoteMax(rec.max);
            return AcvMax(phase, rec.max, who == Origin::kRemote ? Holder::kRemote : Holder::kPanel);
        case Bounds::kDuty:
            return DutyBandOf(phase, rec, who, &band) ? band.hi : rec.max;
        case Bounds::kAngle:
            // A remote angle keeps to its record: its frequency rounds it to whole degrees when stored.
            return who == Origin::kPanel ? AngleMaxOfDecimals(rec.decimals) : rec.max;
        case Bounds::kRecord:
            break;
    }
    return rec.max;
}

int32_t MinOf(uint32_t id, int phase, const ParamRec& rec, Origin who) {
    DutyBand band;
    if (BoundsOf(id) == Bounds::kDuty && DutyBandOf(phase, rec, who, &band)) return band.lo;
    return rec.min;
}

bool Fits(uint32_t id, int phase, int32_t v, Origin who) {
    const ParamRec rec = RecordOf(id, phase);
    // A remote duty's band is the selected phase's, taken with its rounding (DutyRounded); every phase
    // holds it to its record.
    if (who == Origin::kRemote && BoundsOf(id) == Bounds::kDuty) return v >= rec.min && v <= rec.max;
    return v >= MinOf(id, phase, rec, who) && v <= MaxOf(id, phase, rec, who);
}

SetResult SetSetting(uint32_t id, int phase, int32_t v, Origin who, bool allPhases, HeldBack* held) {
    HeldBack unused;
    if (held == nullptr) held = &unused;
    *held = HeldBack{};
    if (IsLineSetting(id)) allPhases = false;
    if (who == Origin::kRemote && BoundsOf(id) == Bounds::kDuty && !DutyRounded(phase, &v)) {
        *held = HeldBack{true, PhaseBit(phase)};
        return SetResult::kOutOfBounds;
    }
    const int first = allPhases ? 0 : phase;
    const int last = allPhases ? static_cast<int>(core::kPhases) - 1 : phase;
    for (int p = first; p <= last; ++p) {
        if (Fits(id, p, v, who)) continue;
        held->held = true;
        held->phases |= PhaseBit(p);
    }
    if (held->held) return SetResult::kOutOfBounds;
    for (int p = first; p <= last; ++p)
        WriteRecord(id, p, v);
    CheckAfterSet(id, first, last, who);
    if (who == Origin::kRemote) {
        if (!IsLineSetting(id)) MarkWhenNoPhaseLimits(id, v, allPhases);
        g_OutputRefresh.store(1, std::memory_order_release);
    }
    return SetResult::kWritten;
}

SetResult SetSetting(uint32_t id, int phase, int32_t v, const PanelSet& key, HeldBack* held) {
    HeldBack unused;
    if (held == nullptr) held = &unused;
    *held = HeldBack{};
    if (EditAllPhases() && !PanelAllPhaseEdit(id, v, key, held)) return SetResult::kHeldBack;
    if (!key.store) return SetResult::kKept;
    return SetSetting(id, phase, v, Origin::kPanel);
}

void ToggleAngleEnable(uint32_t id, int phase) {
    ParamRec rec{};
    paramGetRecord(id, &rec, static_cast<uint32_t>(phase));
    rec.state = rec.state == 1 ? 0 : 1;
    paramPutRecord(id, &rec, static_cast<uint32_t>(phase));
    if (EditAllPhases()) MarkPhaseAngleChanged();
}

void AlignAllPhaseLimits(uint32_t id) {
    if (!EditAllPhases() || !(IsIn(id, kParamAcv, kParamAcv + 2) || id == kParamDcv)) return;
    g_LimitedPhase.maxIndex.store(AlignLimitsToPhases(id, core::Side::kMax), std::memory_order_relaxed);
    g_LimitedPhase.minIndex.store(AlignLimitsToPhases(id, core::Side::kMin), std::memory_order_relaxed);
}

void MarkAllPhaseEdit(uint32_t id) {
    MarkParamGroupChanged(id);
    MarkPhaseAngleChanged();
}

}  // namespace settings
