// The generic numeric setting handler: the value of a set or the bounds of a query in the setting's
// steps; a set itself is the core's (settings::SetSetting), whose refusal is "-222".
#include "scpi/handlers/scpi_numeric_param.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/params/access/line_values.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/params/settings/setting_write.h"
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


// The line chosen for remote settings; a wiring without it was refused by the handler's own checks.
int SelectedPhase() {
    const uint32_t line = core::SelectedPhase();
    return static_cast<int>(line > 2 ? 2 : line);
}

uint32_t PhaseCount() {
    return g_EditAllPhases.load(std::memory_order_acquire) != 0 ? core::kPhases : 1;
}

// MINimum/MAXimum of the query and the set: the setting's remote bounds; with edit-all the AC voltage's
// maximum and the DC voltage's limits are the lowest of the three phases.
int32_t Limit(uint32_t id, int phase, bool max) {
    ParamRec rec{};
    paramGetRecord(id, &rec, static_cast<uint32_t>(phase));
    const auto who = settings::Origin::kRemote;
    int32_t v = max ? settings::MaxOf(id, phase, rec, who) : settings::MinOf(id, phase, rec, who);
    if (PhaseCount() == core::kPhases && ((id == kParamAcv && max) || id == kParamDcv2)) {
        for (int p = 0; p < static_cast<int>(core::kPhases); ++p) {
            ParamRec r{};
            paramGetRecord(id, &r, static_cast<uint32_t>(p));
            v = max ? std::min(v, r.max) : std::min(v, r.min);
        }
    }
    return v;
}

int Query(ScpiInterface* ifc, uint32_t id, int phase) {
    ParamRec rec{};
    paramGetRecord(id, &rec, static_cast<uint32_t>(phase));
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
    ParamRec rec{};
    paramGetRecord(id, &rec, static_cast<uint32_t>(phase));
    return scpi::ScaledSteps(value, rec.scale, out) ? 0 : kScpiErrDataOutOfRange;
}

// A value is checked on every phase it goes to before the first is written, so a refused command changes
// nothing.
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
    if (settings::SetSetting(id, phase, v, settings::Origin::kRemote, PhaseCount() == core::kPhases) !=
        settings::SetResult::kWritten)
        scpiSetError(ifc, kScpiErrDataOutOfRange);
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
    if (settings::IsLineSetting(id)) {
        // The line record's limits are taken from the phases first; it lives on L1's unit.
        UpdateLineValueFromPhases(id);
        return scpiIsQuery(ifc) == 1 ? Query(ifc, id, 0) : Set(ifc, id, 0);
    }
    const int phase = SelectedPhase();
    return scpiIsQuery(ifc) == 1 ? Query(ifc, id, phase) : Set(ifc, id, phase);
}
