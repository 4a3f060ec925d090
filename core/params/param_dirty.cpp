#include "core/params/param_dirty.h"

#include "core/params/param_store.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/edit_state.h"

std::atomic<uint32_t> g_ParamDirty[kParamDirtyCount];

namespace {

struct GroupRange {
    uint32_t first;
    uint32_t last;
    ParamDirtyFlag flag;
};

constexpr GroupRange kGroups[] = {
    {kParamAcv, kParamAcv + 2, kDirtyAcv},
    {kParamAcvLine, kParamAcvLine, kDirtyLineAcv},
    {kParamDcv, kParamDcv2 + 2, kDirtyDcv},
    {kParamDcvLine, kParamDcvLine, kDirtyLineDcv},
    {kParamFreq, kParamFreq + 2, kDirtyFreq},
    {kParamCurrLimit, kParamCurrLimit2 + 2, kDirtyIrms},
    {kParamGain, kParamGain2 + 2, kDirtyGain},
    {kParamOnPhase, kParamOnPhaseAll, kDirtyOnPhase},
    {kParamOffPhase, kParamOffPhaseAll, kDirtyOffPhase},
    {kParamWaveShape, kParamWaveShape2, kDirtyWave},
    {kParamWaveDuty, kParamWaveDutyAll, kDirtyDuty},
    {kParamMainSrc, kParamMainSrc + 4, kDirtySource},
    {kParamIpkMax, kParamIpkMax + 2, kDirtyIpkHigh},
    {kParamIpkMin, kParamIpkMin + 2, kDirtyIpkLow},
    {kParamFreqLimitHi, kParamFreqLimitHi + 2, kDirtyFreqLimitHigh},
    {kParamFreqLimitLo, kParamFreqLimitLo + 2, kDirtyFreqLimitLow},
    {kParamVpkMax, kParamVpkMax, kDirtyVpkHigh},
    {kParamVpkMin, kParamVpkMin, kDirtyVpkLow},
    {kParamVoltLimit, kParamVoltLimit, kDirtyVoltLimit},
};

// An angle edit counts for all phases only while the selected phase's angle is enabled.
bool AngleEnabled(uint32_t stateId) {
    ParamRec rec;
    paramGetRecord(stateId, &rec, core::SelectedPhase());
    return rec.state == 1;
}

}  // namespace

void MarkParamGroupChanged(uint32_t id) {
    for (const GroupRange& g : kGroups) {
        if (id < g.first || id > g.last) continue;
        if (g.flag == kDirtyOnPhase && !AngleEnabled(kParamOnPhase)) return;
        if (g.flag == kDirtyOffPhase && !AngleEnabled(kParamOffPhase)) return;
        panel::DirtySet(g.flag);
        return;
    }
}

void ClearParamGroupMarks() {
    for (auto& f : g_ParamDirty)
        f.store(0, std::memory_order_relaxed);
}

void MarkPhaseAngleChanged() {
    const uint32_t state = g_MenuState.load(std::memory_order_relaxed);
    if (state == kParamOnPhase || state == kParamOnPhaseAll) panel::DirtySet(kDirtyOnEnable);
    if (state == kParamOffPhase || state == kParamOffPhaseAll) panel::DirtySet(kDirtyOffEnable);
}

void ClearPhaseAngleMarks() {
    panel::DirtyClear(kDirtyOnEnable);
    panel::DirtyClear(kDirtyOffEnable);
}
