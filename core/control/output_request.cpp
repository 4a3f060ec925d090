#include "core/control/output_request.h"

#include "core/control/alarms/alarm_state.h"
#include "core/control/calibration/calibration.h"
#include "core/control/ctrl_task_state.h"
#include "core/params/param_store.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/sys_status.h"

using namespace core;

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
}  // namespace

int32_t SetOutputOnOff(int32_t on) {
    // A request that is not posted fails: a caller that took it for done would report an output that
    // never switched.
    if (g_ParamFlags.load(kRelaxed) & kFlagSyncMissing) {
        SysStatusSet(kSysSyncSourceMissing);
        if (!OutputFlagTest(kOutFlagOutputOn)) return -1;
    }
    if (CalibrationModeActive()) {
        ShowMessageHold("Invalid with Output ON/OFF\n In Calibration Mode");
        return -1;
    }
    // Posted into the run row whatever row the task is in, and never waited for: the menu/control thread
    // that asks here is the one that steps the task, so a wait could only run out. A request made during
    // the start-up wait is taken on the task's second step in its run row; the wait row's own message,
    // which the wait counts on, is left alone.
    StepRow* row = &g_CtrlTaskObj.rows[kCtrlRowRun];
    if (on == 0) {
        StepObjPostMsg(kCtrlMsgOutputOff, row);
    } else if (g_AlarmState.summary.load(kRelaxed) == 0) {
        StepObjPostMsg(kCtrlMsgOutputOn, row);
    } else {
        return -1;
    }
    return on;
}

int32_t OutputToggle() {
    return SetOutputOnOff(OutputFlagTest(kOutFlagOutputOn) ? 0 : 1);
}

uint32_t PowerOnOutputPending() {
    // While the power-on action is armed the keys wait for it. (A pending SEQ/SIM change at power-on
    // joins this when the SEQ/SIM run control exists.)
    return (g_PowerOnCountdown.load(kRelaxed) & kPowerOnArmed) != 0 ? 1 : 0;
}
