// The control task object: the poll, the start-up wait, the run row and the output on and off requests.
#include "core/control/ctrl_task.h"

#include "core/control/alarms/alarm_state.h"
#include "core/control/calibration/calibration.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/regbus/bus_transfer.h"
#include "core/regbus/reg_read.h"
#include "core/regbus/reg_write.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/stage_status.h"
#include "core/system/state/sys_status.h"

using namespace core;

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kOutputOnStatusBit = 1u;  // bit 0 of register 2085

StepRow g_ctrlRows[kStepRows] = {
    {{0}, {0}, StepRowIdle}, {{0}, {0}, CtrlTask_StartupWait}, {{0}, {0}, CtrlTask_Run},
    {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle},          {{0}, {0}, StepRowIdle},
};

std::atomic<uint32_t> g_startupCountdown{0};

// Every condition under which the output may be switched on.
bool OutputMayGoOn() {
    if (SysStatusTest(kSysAlarmLatched)) return false;
    if (g_PhaseFault.load(kRelaxed) != 0) return false;
    if (g_PowerStageBootStatus.load(kRelaxed) == 0) return false;
    if (g_AlarmState.summary.load(kRelaxed) != 0 || g_AlarmState.system.load(kRelaxed) != 0) return false;
    if (SysStatusTest(kSysParallelMismatch) || SysStatusTest(kSysParallelLinkFault)) return false;
    if (core::SlaveAlarmPresent()) return false;
    if (g_ModuleErrMask.load(kRelaxed) != 0 || g_FwErrMask.load(kRelaxed) != 0) return false;
    if (g_ParallelLink.slaveFault.load(kRelaxed) != 0) return false;
    const int32_t enable = paramGetValue(kParamParallelEnable, 0);
    if (enable == 1) return g_ParallelActive.load(kRelaxed) == 1;
    return enable == 0;
}

// Back to the periodic pass after a request. A request that another thread posted while this one was being
// carried out stays pending and is taken next: overwritten, an off request would be lost.
void ResumePasses(StepRow* row) {
    uint32_t none = 0;
    row->msg.compare_exchange_strong(none, kCtrlMsgPass, kRelaxed);
}

}  // namespace

StepObj g_CtrlTaskObj{{kCtrlRowWait}, {kCtrlMsgStart}, g_ctrlRows};
StepObj* g_CtrlCaliObj = nullptr;

namespace core {

std::atomic<uint8_t> g_StartupProgress{0};

void CtrlTaskOutputOn(StepRow* row) {
    if (SysStatusTest(kSysParallelMismatch)) ShowErrorMessageHold(2, "Parallel Version or\n Model Mismatch");
    if (SysStatusTest(kSysParallelLinkFault))
        ShowErrorMessageHold(2, "Parallel Communication \nError(%d)",
                             g_ParallelLink.errorNumber.load(kRelaxed));
    if (g_ParamFlags.load(kRelaxed) & kFlagSyncMissing) {
        SysStatusSet(kSysSyncSourceMissing);
    } else if (OutputMayGoOn()) {
        BusReg_SetOutputOnOff(1);
        OutputFlagSet(kOutFlagOutputOn);
        CtrlTask_HoldOff();
    }
    ResumePasses(row);
}

void CtrlTaskOutputOff(StepRow* row) {
    BusReg_SetOutputOnOff(0);
    OutputFlagClear(kOutFlagOutputOn);
    CtrlTask_HoldOff();
    ResumePasses(row);
}

void CtrlTaskReset() {
    StepObjRewind(&g_CtrlTaskObj, kCtrlRowWait, kCtrlMsgStart);
    g_startupCountdown.store(0, kRelaxed);
    g_PowerOnCountdown.store(0, kRelaxed);
    g_StartupProgress.store(0, kRelaxed);
}

}  // namespace core

int32_t CtrlTask_Poll() {
    // While the bus is held the status read is refused and reads 0: that says nothing about the output.
    if (g_BusHold.load(kRelaxed) == 0) {
        const uint32_t status = BusReg_GetOutputStatus();
        g_OutputStatusMirror.store(status, kRelaxed);
        const bool on = (status & kOutputOnStatusBit) != 0;
        if (on != OutputFlagTest(kOutFlagOutputOn)) {
            if (on)
                OutputFlagSet(kOutFlagOutputOn);
            else
                OutputFlagClear(kOutFlagOutputOn);
        }
    }
    if (CalibrationModeActive()) return -1;
    return StepObjRun(&g_CtrlTaskObj);
}

int32_t CtrlTask_StartupWait(StepRow* row, uint32_t msg) {
    if (msg == kCtrlMsgStart) {
        g_startupCountdown.store(kCtrlStartupPasses, kRelaxed);
        StepObjPostMsg(kCtrlMsgWait, row);
    } else if (msg == kCtrlMsgWait) {
        const uint32_t left = g_startupCountdown.load(kRelaxed);
        if (left > 0) {
            g_startupCountdown.store(left - 1, kRelaxed);
            return static_cast<int32_t>(msg);
        }
        g_StartupProgress.fetch_or(1u << 1, kRelaxed);
        // The power-on action only arms its countdown; the task runs whatever the action is.
        if (paramGetValue(kParamPowerOnState, 0) != 0) g_PowerOnCountdown.store(kPowerOnLoad, kRelaxed);
        g_OutputShadow[0][kShwHoldOff] = 0;
        g_OutputShadow[0][kShwStartup52] = 0;
        StepObjPostState(kCtrlRowRun, kCtrlMsgPass, row);
    }
    return static_cast<int32_t>(msg);
}

int32_t CtrlTask_Run(StepRow* row, uint32_t msg) {
    switch (msg) {
        case kCtrlMsgPass:
            CtrlTaskPass(row);
            break;
        case kCtrlMsgOutputOn:
            CtrlTaskOutputOn(row);
            break;
        case kCtrlMsgOutputOff:
            CtrlTaskOutputOff(row);
            break;
        default:
            break;
    }
    return static_cast<int32_t>(msg);
}
