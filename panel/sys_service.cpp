#include "panel/sys_service.h"

#include <atomic>

#include "core/control/alarms/alarms.h"
#include "core/control/calibration/cal_state.h"
#include "core/control/ctrl_task.h"
#include "core/control/measure/harmonics.h"
#include "core/control/measure/measurement.h"
#include "core/control/sys_event.h"
#include "core/system/config/lan_pending.h"
#include "panel/restart_save.h"
#include "sysadmin/firmware/fw_update.h"

namespace {
std::atomic<void (*)()> g_seqPrepStep{nullptr};
std::atomic<void (*)()> g_simPrepStep{nullptr};

void RunStep(const std::atomic<void (*)()>& step) {
    if (auto fn = step.load(std::memory_order_acquire)) fn();
}

// The change mask of the staged interface record as this step saw it last.
uint32_t g_lanPendingSeen = 0;

// A remote interface change holds the services off for a while, as a key at the panel does. Calibration
// leaves the change unseen until it ends.
void LanPendingWatch() {
    if (CalibrationModeActive()) return;
    const uint32_t mask = g_LanPending.mask;
    if (mask == g_lanPendingSeen) return;
    g_lanPendingSeen = mask;
    SetHoldCountdown(20);
}
}  // namespace

void sysServiceStep() {
    Harm_Task();
    Meas_Service();
    AlarmService();
    LanPendingWatch();
    CtrlTask_Poll();
    FwUpd_C2000Pending();
    RestartSaveStep();
    RunStep(g_seqPrepStep);
    RunStep(g_simPrepStep);
}

void SysService_SetPreparationSteps(const SeqSimPreparationSteps& steps) {
    g_seqPrepStep.store(steps.seq, std::memory_order_release);
    g_simPrepStep.store(steps.sim, std::memory_order_release);
}
