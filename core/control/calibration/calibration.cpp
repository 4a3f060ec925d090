// The calibration-mode object: idles, runs the procedure the first calibration page started, and resets
// the stage after the save, recall and default exits.
#include "core/control/calibration/calibration.h"

#include "core/control/calibration/cali_procedure.h"
#include "core/control/hooks/core_services.h"
#include "core/regbus/reg_write.h"
#include "platform/host/clock.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kInit = 9001, kIdle = 9002, kRunVolt = 9003, kRunCurr = 9004, kReset = 9005, kSaved = 9006,
                   kDefault = 9007, kRecalled = 9008;
constexpr uint32_t kAbortCmd = 1u << 5;
// Steps (4 ms each) between an exit and the reset: 40 ms.
constexpr int32_t kExitResetDelay = 10;

std::atomic<int32_t> g_delay{0};
// Set by every exit, cleared once the reset it leads to has run.
std::atomic<bool> g_resetPending{false};
constexpr uint32_t kResetPollMs = 1;

int32_t ModeInit(StepRow* row, uint32_t msg) {
    if (msg == kInit) {
        g_CalState.measuring.fetch_and(static_cast<uint8_t>(~1u), kRelaxed);
        g_delay.store(0, kRelaxed);
        StepObjPostState(2, kIdle, row);
    }
    return static_cast<int32_t>(msg);
}

int32_t ModeRun(StepRow* row, uint32_t msg) {
    const int32_t d = g_delay.load(kRelaxed);
    if (d > 0) {
        g_delay.store(d - 1, kRelaxed);
        return static_cast<int32_t>(msg);
    }
    switch (msg) {
        case kRunVolt:
            if (CaliVolt_Step() == 9111) StepObjPostMsg(kIdle, row);
            break;
        case kRunCurr:
            if (CaliCurr_Step() == 9211) StepObjPostMsg(kIdle, row);
            break;
        case kReset:
            // The calibration mode ends here: a mode word left standing would keep refusing the output.
            g_CalState.mode.store(0, kRelaxed);
            core::CallHook(core::Services().initRuntimeState);
            g_CalState.measuring.fetch_and(static_cast<uint8_t>(~1u), kRelaxed);
            g_CalState.cmd.store(kAbortCmd, kRelaxed);
            BusReg_SetCaliCmd(static_cast<int32_t>(kAbortCmd));
            StepObjPostMsg(kIdle, row);
            g_resetPending.store(false, std::memory_order_release);
            break;
        case kSaved:
        case kDefault:
        case kRecalled:
            g_delay.store(kExitResetDelay, kRelaxed);
            StepObjPostMsg(kReset, row);
            break;
        default:
            break;
    }
    return static_cast<int32_t>(msg);
}

StepRow g_modeRows[kStepRows] = {
    {{0}, {0}, StepRowIdle}, {{0}, {0}, ModeInit},    {{0}, {0}, ModeRun},
    {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle},
};

StepRow* CurrentRow() {
    const uint32_t state = g_CaliModeObj.state.load(std::memory_order_acquire);
    return &g_modeRows[state < kStepRows ? state : 0];
}

int32_t Exit(uint32_t msg) {
    g_resetPending.store(true, std::memory_order_release);
    g_CaliModeObj.msg.store(kIdle, std::memory_order_release);
    StepObjPostMsg(msg, CurrentRow());
    return kIdle;
}

int32_t StartProcedure(uint32_t msg, StepObj* procedure) {
    if (g_CaliModeObj.msg.load(std::memory_order_acquire) != kIdle) return -1;
    core::CaliProcedureRewind(procedure);
    StepObjPostMsg(msg, CurrentRow());
    return kIdle;
}
}  // namespace

StepObj g_CaliModeObj{{1}, {kInit}, g_modeRows};

void core::CalStateReset() {
    g_CalState.mode.store(0, kRelaxed);
    g_CalState.cmd.store(0, kRelaxed);
    g_CalState.status.store(0, kRelaxed);
    g_CalState.measuring.store(0, kRelaxed);
    g_CalState.savedSelection.store(0, kRelaxed);
    StepObjRewind(&g_CaliModeObj, 1, kInit);
    g_delay.store(0);
    g_resetPending.store(false);
    CaliProceduresReset();
}

void CaliMode_Step() {
    StepObjRun(&g_CaliModeObj);
}

int32_t CaliModeStart() {
    return Exit(kReset);
}

int32_t CaliVoltStart() {
    return StartProcedure(kRunVolt, &g_CaliVoltObj);
}

int32_t CaliCurrStart() {
    return StartProcedure(kRunCurr, &g_CaliCurrObj);
}

bool CaliModeAwaitReset(uint32_t boundMs) {
    const uint64_t end = plat::NowMs() + boundMs;
    while (g_resetPending.load(std::memory_order_acquire)) {
        if (plat::NowMs() >= end) return false;
        plat::SleepMs(kResetPollMs);
    }
    return true;
}

int32_t CaliSaveDone() {
    return Exit(kSaved);
}

int32_t CaliRecallDone() {
    return Exit(kRecalled);
}

int32_t CaliDefaultDone() {
    return Exit(kDefault);
}
