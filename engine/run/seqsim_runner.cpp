#include "engine/run/seqsim_runner.h"

#include "core/control/alarms/alarms.h"
#include "core/system/state/output_flags.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/run/seqsim_run.h"
#include "platform/host/clock.h"
#include "platform/sandbox/sandbox.h"
#include "storage/file_util.h"

namespace {

constexpr uint32_t kMsgWait = 1, kMsgRun = 2, kMsgLeave = 3;
constexpr uint32_t kStateWait = 1, kStateRun = 2;
constexpr uint32_t kActivityTicks = 50;

// Touched by the runner thread only.
uint32_t g_activity = 0;
uint32_t g_lastMode = 0;

int32_t Wait(StepRow* row, uint32_t msg) {
    if (msg != kMsgWait) {
        StepObjPostMsg(kMsgWait, row);
        return 0;
    }
    if (SeqSimIsActive()) {
        if (++g_activity >= kActivityTicks) {
            g_activity = kActivityTicks;
            StepObjPostState(kStateRun, kMsgRun, row);
        }
    } else if (g_activity > 0) {
        --g_activity;
    }
    return 0;
}

int32_t Run(StepRow* row, uint32_t msg) {
    if (msg == kMsgRun) {
        g_activity = 0;
        SeqSimRunControl();
    } else if (msg == kMsgLeave) {
        AlarmMonitorOn();
        g_lastMode = SeqSimGetMode();
        StepObjPostState(kStateWait, kMsgWait, row);
        return 0;
    }
    if (!SeqSimIsActive()) StepObjPostMsg(kMsgLeave, row);
    return 0;
}

StepRow g_rows[kStepRows] = {
    {{0}, {0}, StepRowIdle}, {{0}, {0}, Wait},        {{0}, {0}, Run},
    {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle},
};

void MakeDirectory(const char* path, const char* command) {
    if (IsDirectory(path) == 1) return;
    plat::System(command);
    plat::SleepMs(1000);
    plat::System("sync");
}

}  // namespace

StepObj g_SeqSimRunnerObj{{kStateWait}, {kMsgWait}, g_rows};

void SeqSimThread_Pass() {
    StepObjRun(&g_SeqSimRunnerObj);
}

void* SeqSimThread(void*) {
    MakeDirectory("/mnt/tst/seq", "mkdir /mnt/tst/seq\n");
    MakeDirectory("/mnt/tst/sim", "mkdir /mnt/tst/sim\n");
    for (;;) {
        SeqSimThread_Pass();
        plat::SleepMs(2);
    }
    return nullptr;
}

namespace engine {

void SeqSimRunnerReset() {
    StepObjRewind(&g_SeqSimRunnerObj, kStateWait, kMsgWait);
    g_activity = 0;
    g_lastMode = 0;
}
uint32_t SeqSimRunnerActivity() {
    return g_activity;
}
uint32_t SeqSimRunnerLastMode() {
    return g_lastMode;
}

}  // namespace engine
