#include "core/params/param_dirty.h"

#include "core/params/param_store.h"
#include "core/system/ctrl_words.h"
#include "core/system/edit_state.h"

std::atomic<uint32_t> g_ParamDirty[kParamDirtyCount];

namespace {

struct GroupRange {
    uint32_t first;
    uint32_t last;
    ParamDirtyFlag flag;
};

constexpr GroupRange kGroups[] = {
    {47, 49, kDirtyAcv},          {50, 50, kDirtyLineAcv}, {51, 56, kDirtyDcv},
    {57, 57, kDirtyLineDcv},      {12, 14, kDirtyFreq},    {58, 63, kDirtyIrms},
    {75, 80, kDirtyGain},         {64, 67, kDirtyOnPhase}, {68, 71, kDirtyOffPhase},
    {30, 33, kDirtyWave},         {34, 37, kDirtyDuty},    {84, 88, kDirtySource},
    {24, 26, kDirtyIpkHigh},      {27, 29, kDirtyIpkLow},  {16, 18, kDirtyFreqLimitHigh},
    {19, 21, kDirtyFreqLimitLow}, {10, 10, kDirtyVpkHigh}, {11, 11, kDirtyVpkLow},
    {8, 8, kDirtyVoltLimit},
};

// An angle edit counts for all phases only while the selected phase's angle is enabled.
bool AngleEnabled(uint32_t stateId) {
    ParamRec rec;
    paramRW(0, stateId, &rec, core::SelectedPhase());
    return rec.state == 1;
}

}  // namespace

void MarkParamGroupChanged(uint32_t op, uint32_t id) {
    if (op == 0) {
        for (auto& f : g_ParamDirty)
            f.store(0, std::memory_order_relaxed);
        return;
    }
    if (op != 1) return;
    for (const GroupRange& g : kGroups) {
        if (id < g.first || id > g.last) continue;
        if (g.flag == kDirtyOnPhase && !AngleEnabled(64)) return;
        if (g.flag == kDirtyOffPhase && !AngleEnabled(68)) return;
        panel::DirtySet(g.flag);
        return;
    }
}

void MarkPhaseAngleChanged(uint32_t op) {
    if (op == 0) {
        panel::DirtyClear(kDirtyOnEnable);
        panel::DirtyClear(kDirtyOffEnable);
        return;
    }
    if (op != 1) return;
    const uint32_t state = g_MenuState.load(std::memory_order_relaxed);
    if (state == 64 || state == 67) panel::DirtySet(kDirtyOnEnable);
    if (state == 68 || state == 71) panel::DirtySet(kDirtyOffEnable);
}
