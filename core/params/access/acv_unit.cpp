#include "core/params/access/acv_unit.h"

#include <limits>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/edit_state.h"

namespace {

constexpr int32_t kRmsCeiling100V = 17500;
constexpr int32_t kRmsCeiling = 35000;
constexpr double kSqrt3 = 1.7320508075688772;

// A ceiling that RmsToVpp saturated stays saturated when scaled to a line voltage.
int32_t Saturate(double v) {
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

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
    paramAccessByUnit(0, kParamAcv, &rec, GetOutputMode(), area, static_cast<uint32_t>(GetWaveform(phase)), 0,
                      static_cast<uint32_t>(phase));
    return RmsToVpp(area == 0 ? kRmsCeiling100V : kRmsCeiling, rec.peakFactor);
}

int32_t GetAcvMaxVppOfPhase(int phase) {
    int32_t vpp = AcvPhaseCeilingVpp(phase);
    if (g_MenuState.load(std::memory_order_relaxed) == kParamAcvLine) {
        if (GetPhaseMode() == 0) {
            vpp = Saturate(static_cast<double>(vpp) * kSqrt3 + 0.5);
        } else if (GetPhaseMode() == 2) {
            vpp = Saturate(static_cast<double>(vpp) * 2.0);
        }
    }
    return vpp;
}

int32_t GetAcvMaxVpp() {
    return GetAcvMaxVppOfPhase(SelectedLine());
}

int IsAcvOverVppLimitOfPhase(int32_t value, int phase) {
    return GetAcvMaxVppOfPhase(phase) < value && IsAcvUnitVppOfPhase(phase) ? 1 : 0;
}

int IsAcvOverVppLimit(int32_t value) {
    return GetAcvMaxVpp() < value && IsAcvUnitVpp() ? 1 : 0;
}

int AcvExceedsMax(int32_t v, int phase) {
    return v > GetAcvLimitMax(phase) && IsAcvUnitVpp() == 0 ? 1 : 0;
}
