#include "core/params/access/acv_unit.h"

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/params/settings/line_acv.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/edit_state.h"
#include "platform/stage/wiring_codes.h"

namespace {

constexpr int32_t kRmsCeiling100V = 17500;
constexpr int32_t kRmsCeiling = 35000;

int SelectedLine() {
    return static_cast<int>(core::SelectedPhase());
}

}  // namespace

int IsAcvUnitVpp() {
    return IsAcvVpp(GetWaveform(SelectedLine()));
}

int IsAcvUnitVppOfPhase(int phase) {
    return IsAcvVpp(GetWaveform(phase));
}

int32_t AcvPhaseCeilingVpp(int phase) {
    if (phase < 0 || phase > 2) return 0;
    const uint32_t area = core::VoltAreaOfRange(GetVoltRangeCode());
    ParamRec rec;
    paramAccessByUnit(Access::kRead, kParamAcv, &rec,
                      {.mode = GetOutputMode(),
                       .area = area,
                       .waveform = static_cast<uint32_t>(GetWaveform(phase)),
                       .unit = static_cast<uint32_t>(phase)});
    return RmsToVpp(area == 0 ? kRmsCeiling100V : kRmsCeiling, rec.peakFactor);
}

int32_t GetAcvMaxVppOfPhase(int phase) {
    int32_t vpp = AcvPhaseCeilingVpp(phase);
    if (g_MenuState.load(std::memory_order_relaxed) == kParamAcvLine) {
        // The split-phase wirings have a line value; a single phase has none. A ceiling that RmsToVpp
        // saturated stays saturated as a line value.
        if (GetPhaseMode() == kWiring3P4W || GetPhaseMode() == kWiring1P3W) vpp = settings::LineAcvOfPhase(vpp, GetPhaseMode() == kWiring3P4W);
    }
    return vpp;
}

int IsAcvOverVppLimitOfPhase(int32_t value, int phase) {
    return GetAcvMaxVppOfPhase(phase) < value && IsAcvUnitVppOfPhase(phase) ? 1 : 0;
}

int AcvExceedsMax(int32_t v, int phase) {
    return v > GetAcvLimitMax(phase) && IsAcvUnitVpp() == 0 ? 1 : 0;
}
