#include "core/params/access/acv_unit_convert.h"

#include <mutex>

#include "core/params/access/acv_unit.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"

namespace {

constexpr int kPhases = 3;

// Taken by a remote command on the menu/control thread, written back by the control task.
struct HeldAcv {
    bool held = false;
    int32_t rms[kPhases] = {};
    int32_t vpp[kPhases] = {};
};
std::mutex g_HeldLock;
HeldAcv g_Held;

// The phase's AC voltage record of the set under its present waveform.
core::ParamPlace AcvPlace(int phase, uint32_t mode, uint32_t area, uint32_t set) {
    return {.mode = mode,
            .area = area,
            .waveform = static_cast<uint32_t>(GetWaveform(phase)),
            .set = set,
            .unit = static_cast<uint32_t>(phase)};
}

float PeakFactorOfPhase(int phase, uint32_t mode, uint32_t area) {
    ParamRec rec;
    paramAccessByUnit(Access::kRead, kParamAcv, &rec, AcvPlace(phase, mode, area, 0));
    return rec.peakFactor;
}

void PutVolt(int phase, uint32_t mode, uint32_t area, uint32_t set, int32_t value) {
    ParamRec rec;
    const core::ParamPlace place = AcvPlace(phase, mode, area, set);
    paramAccessByUnit(Access::kRead, kParamAcv, &rec, place);
    rec.value = value;
    paramAccessByUnit(Access::kWrite, kParamAcv, &rec, place);
}

}  // namespace

int AcvUnitConvertAll(int mode) {
    const uint32_t outMode = GetOutputMode();
    const uint32_t area = core::VoltAreaOfRange(GetVoltRangeCode());
    std::lock_guard<std::mutex> g(g_HeldLock);
    if (mode == 1) {
        for (int p = 0; p < kPhases; ++p) {
            const float f = PeakFactorOfPhase(p, outMode, area);
            if (IsAcvUnitVppOfPhase(p) == 1) {
                g_Held.vpp[p] = GetAcvSetVpp(p);
                g_Held.rms[p] = VppToRms(g_Held.vpp[p], f);
            } else {
                g_Held.rms[p] = GetAcvSetRms(p);
                g_Held.vpp[p] = RmsToVpp(g_Held.rms[p], f);
            }
        }
        g_Held.held = true;
        return 1;
    }
    if (!g_Held.held) return 0;
    g_Held.held = false;
    for (int p = 0; p < kPhases; ++p) {
        PutVolt(p, outMode, area, 0, g_Held.rms[p]);
        PutVolt(p, outMode, area, 1, g_Held.vpp[p]);
    }
    return 1;
}
