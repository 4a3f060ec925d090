#include "ctrl_fixture.h"

#include <cstring>

#include "core/control/alarm_state.h"
#include "core/control/calibration.h"
#include "core/control/ctrl_task.h"
#include "core/control/output_sync.h"
#include "core/control/trig_act.h"
#include "core/params/param_access.h"
#include "core/params/param_dirty.h"
#include "core/params/param_store.h"
#include "core/params/preset_recall.h"
#include "core/regbus/regbus.h"
#include "core/system/ctrl_words.h"
#include "core/system/fw_update_state.h"
#include "core/system/model_table.h"
#include "core/system/msg_ring.h"
#include "core/system/parallel_link.h"
#include "core/system/service_flags.h"
#include "core/system/stage_status.h"
#include "core/system/sys_status.h"
#include "platform/clock.h"

namespace test {

void ResetOutputState() {
    std::memset(g_OutputShadow, 0, sizeof g_OutputShadow);
    g_OutputOptionWord = 0;
    g_ArbChanged.flags = 0;
    g_ArbChanged.pendingTable = 0;
    g_OutputFlags = 0;
    g_SysStatus = 0;
    g_ParamFlags = 0;
    g_PhaseMode = 0;
    g_EditAllPhases = 0;
    g_OutputRefresh = 0;
    g_OutputModeIdx = 0;
    core::g_OutputStatusMirror = 0;
    core::g_MonitorSourceWord = 0;
    core::g_TrigSourceBits = 0;
    core::g_CtrlStartupWord = 1;
    core::g_SeqSimOutputReset = 0;
    g_SyncFirstPassDone = 0;
    g_SlewRecheckReq = 0;
    g_FullRewriteReq = 1;  // as at start: the first pass rewrites everything
    g_BalanceRecheckReq = 0;
    g_RemoteRecallBusy = 0;
    g_SettleWritesDone = 0;
    g_PhaseModeChanged = 0;
    core::g_VoltSlewWord = 0;
    MarkParamGroupChanged(0, 0);
    g_ServiceFlags.rdTestMode = 0;
    TrigAct_Abort();
    g_TrigAct.kind = 0;
    for (auto& w : g_TrigAct.source)
        w = 0;
    for (auto& w : g_TrigAct.value)
        w = 0;
    core::g_TrigMemoryRecall = PresetRangeCheckRun;
    g_AlarmState.summary = 0;
    g_AlarmState.system = 0;
    g_AlarmState.flags = 0;
    g_CalState.mode = 0;
    g_ParallelActive = 0;
    g_ParallelMasterFlags = 0;
    g_ParallelSlaveFlags = 0;
    g_ParallelLink.ctrl = 0;
    g_ParallelLink.errorNumber = 0;
    g_ParallelLink.slaveFault = 0;
    for (auto& w : g_ParallelLink.slaveAlarm)
        w = 0;
    g_ModuleErrMask = 0;
    g_FwErrMask = 0;
    g_PhaseFault = 0;
    g_BusHold = 0;
    c2000Checked = 0;
    g_PowerStageBootStatus = 1;
    core::CtrlTaskReset();
    MsgQueue_Clear();
    g_MsgFreeText[0] = '\0';
}

CtrlEnv::CtrlEnv(uint32_t modelType) {
    plat::SetTimeScale(1000.0);  // the task's pauses (50 ms, 100 ms) take microseconds
    ResetOutputState();
    BuildDefaults(modelType);
    g_PowerStageBootStatus = BusReg_GetBootStatus();  // as the start-up self-test stores it
    ClearTrace();
}

CtrlEnv::~CtrlEnv() {
    ResetOutputState();
    plat::SetTimeScale(1.0);
}

std::vector<RegWrite> CtrlEnv::Writes() {
    std::vector<RegWrite> out;
    for (const plat::BusTransfer& t : Stage().Trace())
        if (t.write) out.push_back({t.reg, t.word, t.raw, t.value});
    return out;
}

std::vector<RegWrite> CtrlEnv::WritesTo(uint16_t reg) {
    std::vector<RegWrite> out;
    for (const RegWrite& w : Writes())
        if (w.reg == reg) out.push_back(w);
    return out;
}

bool CtrlEnv::RunUntilRunning() {
    for (int i = 0;
         i < 1000 && !(g_CtrlTaskObj.state == core::kCtrlRowRun && g_CtrlTaskObj.msg == core::kCtrlMsgPass);
         ++i)
        CtrlTask_Poll();
    return g_CtrlTaskObj.state.load() == core::kCtrlRowRun;
}

void CtrlEnv::Poll(int n) {
    for (int i = 0; i < n; ++i)
        CtrlTask_Poll();
}

}  // namespace test
