// The generic numeric setting handler. A set checks every phase it will write before it writes the
// first, so a refused command changes nothing.
#include "scpi/handlers/scpi_numeric_param.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/params/access/line_values.h"
#include "core/params/access/param_access.h"
#include "core/params/limits/limit_checks.h"
#include "core/params/param_dirty.h"
#include "core/params/param_store.h"
#include "core/params/settings/acv_bounds.h"
#include "core/params/settings/duty_band.h"
#include "core/params/settings/setting_rows.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/output_flags.h"
#include "platform/stage/wiring_codes.h"
#include "scpi/channels/remote_port.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_refusals.h"
#include "scpi/handlers/scpi_setting_value.h"
#include "scpi/parser/scpi_errors.h"

namespace {

using scpi::kChoiceMax;
using scpi::kChoiceMin;

enum : uint32_t { kOpRead = 0, kOpWrite = 1 };

// The line chosen for remote settings; a wiring without it was refused by the handler's own checks.
int SelectedPhase() {
    const uint32_t line = core::SelectedPhase();
    return static_cast<int>(line > 2 ? 2 : line);
}

uint32_t PhaseCount() {
    return g_EditAllPhases.load(std::memory_order_acquire) != 0 ? core::kPhases : 1;
}

// The phases a set writes: all three with edit-all, else the selected one.
int PhaseAt(uint32_t i) {
    return PhaseCount() == 1 ? SelectedPhase() : static_cast<int>(i);
}

ParamRec Read(uint32_t id, int phase) {
    ParamRec rec{};
    paramRW(kOpRead, id, &rec, static_cast<uint32_t>(phase));
    return rec;
}

// The duty's band by the frequency setting (0.01 Hz); false below 100.00 Hz, where the record's own limits
// hold.
bool DutyBounds(int phase, settings::DutyBand* band) {
    const int32_t digits = settings::DutyDigitsOfFreq(GetFrequency(phase));
    if (digits == settings::kDutyFineDigits) return false;
    *band = settings::DutyBandOfDigits(digits);
    return true;
}

bool IsLineId(uint32_t id) {
    return id == kParamAcvLine || id == kParamDcvLine;
}

// MINimum/MAXimum of the query and the set, with the special cases of the AC and DC voltages and the duty.
int32_t Limit(uint32_t id, int phase, bool max) {
    const ParamRec rec = Read(id, phase);
    const settings::Bounds bounds = settings::BoundsOf(id);
    int32_t v = max ? rec.max : rec.min;
    if (bounds == settings::Bounds::kAcv && max)
        v = IsLineId(id) ? settings::LineAcvRemoteMax(v)
                         : settings::AcvMax(phase, v, settings::Holder::kRemote);
    if (PhaseCount() == core::kPhases && ((id == kParamAcv && max) || id == kParamDcv2)) {
        for (int p = 0; p < static_cast<int>(core::kPhases); ++p) {
            const ParamRec r = Read(id, p);
            v = max ? std::min(v, r.max) : std::min(v, r.min);
        }
    }
    settings::DutyBand band;
    if (bounds == settings::Bounds::kDuty && DutyBounds(phase, &band)) v = max ? band.hi : band.lo;
    return v;
}

int Query(ScpiInterface* ifc, uint32_t id, int phase) {
    const ParamRec rec = Read(id, phase);
    int32_t v = rec.value;
    // A query followed by another command of the message may carry an omitted item.
    if (scpiGetParamCount(ifc) > 0 && scpi::ParamType(ifc, 0) != kItemOmitted) {
        int32_t choice;
        if (scpiGetChoice(ifc, 0, &choice) != 0 || (choice != kChoiceMin && choice != kChoiceMax)) {
            scpiSetError(ifc, kScpiErrParameter);
            return 0;
        }
        v = Limit(id, phase, choice == kChoiceMax);
    }
    char text[48];
    int n;
    if (id == kParamAvgCount) {
        n = std::snprintf(text, sizeof text, "%+d", v);
    } else {
        float shown = static_cast<float>(v) * rec.scale;
        if (id == kParamTrigWidth) shown /= 1000.0f;
        n = std::snprintf(text, sizeof text, "%+.4f", static_cast<double>(shown));
    }
    if (n <= 0 || n >= static_cast<int>(sizeof text)) {
        scpiSetError(ifc, kScpiErrQueryUnterm);
        return 0;
    }
    scpiWriteResponse(ifc, text, static_cast<uint32_t>(n), kPortCopy, 0);
    return 0;
}

// The value of a set in record steps; an error row when there is none.
uint32_t SetValue(ScpiInterface* ifc, uint32_t id, int phase, int32_t* out) {
    int32_t choice;
    if (scpiGetChoice(ifc, 0, &choice) == 0) {
        if (choice != kChoiceMin && choice != kChoiceMax) return kScpiErrParameter;
        *out = Limit(id, phase, choice == kChoiceMax);
        return 0;
    }
    double value;
    if (const uint32_t row = scpi::NumberValue(ifc, 0, &value); row != 0) return row;
    if (id == kParamTrigWidth) value *= 1000.0;
    return scpi::ScaledSteps(value, Read(id, phase).scale, out) ? 0 : kScpiErrDataOutOfRange;
}

// The duty rule at high frequencies: within the bounds, rounded to the step.
bool DutyFits(int phase, int32_t* v) {
    settings::DutyBand band;
    if (!DutyBounds(phase, &band)) return true;
    if (*v < band.lo || *v > band.hi) return false;
    *v = (*v + band.step / 2) / band.step * band.step;
    return true;
}

bool Fits(uint32_t id, int phase, int32_t v) {
    const ParamRec rec = Read(id, phase);
    const int32_t max = settings::BoundsOf(id) == settings::Bounds::kAcv
                            ? settings::AcvMax(phase, rec.max, settings::Holder::kRemote)
                            : rec.max;
    return v >= rec.min && v <= max;
}

void Store(uint32_t id, int phase, int32_t v) {
    const uint32_t mode = GetOutputMode();
    const uint32_t area = core::VoltAreaOfRange(core::CurrentRangeCode());
    switch (id) {
        case kParamAcv:
            SetAcv(v, phase);
            break;
        case kParamDcv2:
            SetDcv(v, phase);
            break;
        case kParamFreq:
            SetFrequencyPhase(v, phase);
            return;
        case kParamWaveDuty: {
            const ParamRec rec = Read(id, phase);
            SetWaveDuty(v, phase, rec.max, rec.min);
            return;
        }
        default: {
            ParamRec rec = Read(id, phase);
            rec.value = v;
            paramRW(kOpWrite, id, &rec, static_cast<uint32_t>(phase));
        }
    }
    if (id == kParamFreqLimitHi || id == kParamFreqLimitLo) FreqLimitCheck(mode);
    if (id == kParamVoltLimit) VoltLimitCheck(area);
    if (id == kParamVpkMax || id == kParamVpkMin) VpkLimitCheck(area);
    if (id == kParamAcv || id == kParamDcv || id == kParamDcv2)
        VoltSettingCheckPhase(mode, area, static_cast<uint32_t>(phase));
}

// With edit-all or in 1P3W the control task applies a changed group to every phase of the wiring: marked
// only when no phase of the wiring would hold the value back.
void MarkWhenNoPhaseLimits(uint32_t id, int32_t v) {
    const uint32_t wiring = GetPhaseMode();
    if (PhaseCount() == 1 && wiring != kWiring1P3W) return;
    const int phases = wiring == kWiring3P4W ? 3 : wiring == kWiring1P3W ? 2 : 1;
    for (int p = 0; p < phases; ++p)
        if (!Fits(id, p, v)) return;
    MarkParamGroupChanged(1, id);
    MarkPhaseAngleChanged(1);
}

int Set(ScpiInterface* ifc, uint32_t id, int phase) {
    if ((id == kParamIpkMax || id == kParamIpkMin) && OutputFlagTest(kOutFlagOutputOn) &&
        g_ParallelActive.load(std::memory_order_acquire) != 0) {
        scpiSetError(ifc, kScpiErrSystem);
        return 0;
    }
    int32_t v;
    if (scpiGetParamCount(ifc) < 1) {
        scpiSetError(ifc, kScpiErrParameter);
        return 0;
    }
    if (const uint32_t row = SetValue(ifc, id, phase, &v); row != 0) {
        scpiSetError(ifc, row);
        return 0;
    }
    if (settings::BoundsOf(id) == settings::Bounds::kDuty && !DutyFits(phase, &v)) {
        scpiSetError(ifc, kScpiErrDataOutOfRange);
        return 0;
    }
    for (uint32_t i = 0; i < PhaseCount(); ++i)
        if (!Fits(id, PhaseAt(i), v)) {
            scpiSetError(ifc, kScpiErrDataOutOfRange);
            return 0;
        }
    for (uint32_t i = 0; i < PhaseCount(); ++i)
        Store(id, PhaseAt(i), v);
    MarkWhenNoPhaseLimits(id, v);
    g_OutputRefresh.store(1, std::memory_order_release);
    return 0;
}

// A line value is checked against the line record, whose limits follow the phases, and written back to
// the phases; the line record keeps the value as set.
int SetLine(ScpiInterface* ifc, uint32_t id) {
    int32_t v;
    if (scpiGetParamCount(ifc) < 1) {
        scpiSetError(ifc, kScpiErrParameter);
        return 0;
    }
    if (const uint32_t row = SetValue(ifc, id, 0, &v); row != 0) {
        scpiSetError(ifc, row);
        return 0;
    }
    const ParamRec rec = Read(id, 0);
    if (v < rec.min || v > Limit(id, 0, true)) {
        scpiSetError(ifc, kScpiErrDataOutOfRange);
        return 0;
    }
    SetPhaseValuesFromLine(id, v);
    ParamRec line = rec;
    line.value = v;
    paramRW(kOpWrite, id, &line, 0);
    const uint32_t mode = GetOutputMode();
    const uint32_t area = core::VoltAreaOfRange(core::CurrentRangeCode());
    for (uint32_t p = 0; p < core::kPhases; ++p)
        VoltSettingCheckPhase(mode, area, p);
    g_OutputRefresh.store(1, std::memory_order_release);
    return 0;
}

}  // namespace

namespace scpi {

bool ScaledSteps(double value, float scale, int32_t* steps) {
    if (scale == 0.0f || !std::isfinite(value)) return false;
    const double rounded = value >= 0 ? value + 0.005 : value - 0.005;
    const double s = std::trunc(rounded / static_cast<double>(scale));
    if (s > std::numeric_limits<int32_t>::max() || s < std::numeric_limits<int32_t>::min()) return false;
    *steps = static_cast<int32_t>(s);
    return true;
}

}  // namespace scpi

int scpiNumericParam(ScpiInterface* ifc, uint32_t id) {
    if (ParamUnusedInMode(id)) {
        scpiSetError(ifc, kScpiErrExecution);
        return 0;
    }
    if (IsLineId(id)) {
        // The line record's limits are taken from the phases first; it lives on L1's unit.
        UpdateLineValueFromPhases(id);
        return scpiIsQuery(ifc) == 1 ? Query(ifc, id, 0) : SetLine(ifc, id);
    }
    const int phase = SelectedPhase();
    return scpiIsQuery(ifc) == 1 ? Query(ifc, id, phase) : Set(ifc, id, phase);
}
