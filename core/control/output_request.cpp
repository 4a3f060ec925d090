#include "core/control/output_request.h"

#include <cstdio>

#include "core/control/alarms/alarm_state.h"
#include "core/control/calibration/calibration.h"
#include "core/control/ctrl_task_state.h"
#include "core/params/param_store.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"

using namespace core;

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr int kWaitSteps = 5000;
constexpr uint32_t kWaitStepMs = 2;
}  // namespace

int32_t SetOutputOnOff(int32_t on) {
    if (g_ParamFlags.load(kRelaxed) & kFlagSyncMissing) {
        SysStatusSet(kSysSyncSourceMissing);
        if (!OutputFlagTest(kOutFlagOutputOn)) return on;
    }
    if (CalibrationModeActive()) {
        ShowMessageHold("Invalid with Output ON/OFF\n In Calibration Mode");
        return on;
    }
    for (int step = 0; step < kWaitSteps && g_CtrlTaskObj.state.load(kRelaxed) != kCtrlRowRun; ++step)
        plat::SleepMs(kWaitStepMs);
    // A request into any other row would replace the message the start-up wait counts on and stop the
    // task for good; a request that finds the task not running is dropped instead, and the caller is
    // told so rather than shown success.
    if (g_CtrlTaskObj.state.load(kRelaxed) != kCtrlRowRun) {
        std::fprintf(stderr,
                     "SetOutputOnOff: control task not running after %d ms, output %s request dropped\n",
                     kWaitSteps * static_cast<int>(kWaitStepMs), on == 0 ? "off" : "on");
        return -1;
    }
    StepRow* row = &g_CtrlTaskObj.rows[kCtrlRowRun];
    if (on == 0) {
        StepObjPostMsg(kCtrlMsgOutputOff, row);
    } else if (g_AlarmState.summary.load(kRelaxed) == 0) {
        StepObjPostMsg(kCtrlMsgOutputOn, row);
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

int32_t SeqSimOutputHook(uint32_t) {
    return 0;
}
