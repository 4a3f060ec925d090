#include "core/params/access/line_values.h"

#include <cstdlib>

#include "core/params/access/param_access.h"
#include "core/params/param_dirty.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/params/settings/line_acv.h"
#include "platform/stage/wiring_codes.h"

namespace {


// The DC line value equals each phase's value only in balanced 3P4W AC+DC editing of all phases; everywhere
// else it spans two phases of opposite sign.
bool LineDcvIsPhaseValue() {
    const uint32_t mode = GetOutputMode();
    return GetPhaseBalanceMode() == 1 && GetPhaseMode() == kWiring3P4W &&
           g_EditAllPhases.load(std::memory_order_relaxed) == 1 && (mode == kModeAcDcInt || mode == kModeAcDcSync);
}

}  // namespace

int GetLargestPhase(int kind) {
    int32_t v[3];
    for (int p = 0; p < 3; ++p)
        v[p] = kind == 0 ? GetAcv(p) : std::abs(GetDcv(p));
    switch (GetPhaseMode()) {
        case kWiring1P2W:
            return 0;
        case kWiring1P3W:
            return v[1] > v[0] ? 1 : 0;
        default: {
            int best = 0;
            for (int p = 1; p < 3; ++p)
                if (v[p] > v[best]) best = p;
            return best;
        }
    }
}

void UpdateLineValueFromPhases(uint32_t state) {
    ParamRec line;
    if (state == kParamAcvLine) {
        ParamRec phase{};
        paramGetRecord(kParamAcv, &phase, static_cast<uint32_t>(GetLargestPhase(0)));
        paramGetRecord(kParamAcvLine, &line, 0);
        line.max = settings::LineAcvOfPhase(phase.max, GetPhaseMode() == kWiring3P4W);
        paramPutRecord(kParamAcvLine, &line, 0);
    } else if (state == kParamDcvLine) {
        ParamRec phase{};
        paramGetRecord(kParamDcv2, &phase, static_cast<uint32_t>(GetLargestPhase(1)));
        paramGetRecord(kParamDcvLine, &line, 0);
        const int32_t factor = LineDcvIsPhaseValue() ? 1 : 2;
        line.max = phase.max * factor;
        line.min = phase.min * factor;
        paramPutRecord(kParamDcvLine, &line, 0);
    }
}

void SetPhaseValuesFromLine(uint32_t state, int32_t value) {
    if (state == kParamAcvLine) {
        panel::DirtySet(kDirtyLineAcv);
        ParamRec rec{};
        paramGetRecord(kParamAcv, &rec, static_cast<uint32_t>(0));
        rec.value = settings::PhaseAcvOfLine(value, GetPhaseMode() == kWiring3P4W);
        for (int p = 0; p < 3; ++p)
            paramPutRecord(kParamAcv + static_cast<uint32_t>(p), &rec, static_cast<uint32_t>(p));
    } else if (state == kParamDcvLine) {
        panel::DirtySet(kDirtyLineDcv);
        ParamRec rec{};
        paramGetRecord(kParamDcv, &rec, static_cast<uint32_t>(0));
        const bool same = LineDcvIsPhaseValue();
        const int32_t values[3] = {same ? value : value / 2, same ? value : -(value / 2), value};
        for (int p = 0; p < (same ? 3 : 2); ++p) {
            rec.value = values[p];
            paramPutRecord(kParamDcv + static_cast<uint32_t>(p), &rec, static_cast<uint32_t>(p));
        }
    }
}
