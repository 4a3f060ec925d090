// Rows 273 and 274 of the service data list: the calibration pages between USB memory and the power
// stage, with a slave's answers to its master.
#include <atomic>

#include "core/control/calibration/cal_page.h"
#include "core/control/calibration/cali_exit.h"
#include "core/control/parallel/parallel_frame.h"
#include "core/params/access/param_access.h"
#include "core/regbus/reg_read.h"
#include "core/regbus/reg_write.h"
#include "core/system/links/parallel_link.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/service_flags.h"
#include "panel/settings_apply.h"
#include "platform/host/clock.h"
#include "screens/menu/service/service_entries.h"
#include "screens/menu/service/service_jobs.h"
#include "storage/files/calibration_file.h"
#include "sysadmin/firmware/fw_update.h"

namespace {
using namespace service_jobs;

constexpr uint32_t kCalDataItem = 19, kLastSlaveUnit = 5;
constexpr int32_t kCmdPagesToStage = 128, kCmdPagesFromStage = 64;
constexpr int kPhases = 3;
constexpr uint32_t kAllFailed = 7;
constexpr int kCheckWord = 254;
constexpr int kStatusPolls = 5;

// Slave answers.
constexpr uint32_t kRecallStarted = 2, kRecallDataError = 3, kDoneBase = 4, kRecallFailed = 11,
                   kSaveStarted = 12, kSaveStateError = 19;

// A master of a running system hands the job to the slave whose data the list names: true when it did.
bool ForwardedToSlave(uint32_t value) {
    const uint32_t unit = g_ServiceFlags.calDataUnitIndex.load(std::memory_order_relaxed);
    if (g_ParallelActive.load(std::memory_order_acquire) != 1 || GetParallelPosition() != 1 || unit == 0)
        return false;
    // Only a slave's address 1-5 goes onto the link; another word names no unit and sends nothing.
    if (unit <= kLastSlaveUnit) ParallelSendCmd(unit, kCalDataItem, value);
    return true;
}

// After a command to the stage: true once a result says done (first result below 2 with a second one);
// a failure or no answer within the polls is false.
bool StageDone(int32_t command) {
    BusReg_SetCaliCmd(command);
    plat::SleepMs(10);
    for (int poll = 0; poll < kStatusPolls; ++poll) {
        const uint32_t status = BusReg_GetCaliStatus();
        if ((status & 7u) < 2 && ((status >> 3) & 7u) != 0) return true;
        if (poll + 1 < kStatusPolls) plat::SleepMs(1000);
    }
    return false;
}

// The loaded page sent and read back: false when either check fails or the stage's check word differs.
bool PageTaken(int phase) {
    const uint16_t* page = regbus::CalPage(phase);
    const uint16_t sent = page[kCheckWord];
    if (BusReg_WriteCalPage(1, phase) != 0) return false;
    plat::SleepMs(1000);
    return BusReg_ReadCalPage(phase) == 0 && page[kCheckWord] == sent;
}

}  // namespace

void ServiceCalibrationRecall() {
    if (ForwardedToSlave(0)) return;
    if (!UsbUsable(true)) return;
    bool loaded[kPhases];
    bool any = false;
    for (int p = 0; p < kPhases; ++p) {
        loaded[p] = CalibrationFileLoad(p) == 1;
        any |= loaded[p];
    }
    if (!any) {
        ShowErrorMessageHold(2, "Recall Calibration U,V,W\nData Error");
        SlaveReply(kRecallDataError);
        return;
    }
    SlaveReply(kRecallStarted);
    ShowMessageHold("Recall Calibration\nPlease Wait...");
    uint32_t failed = 0;
    for (int p = 0; p < kPhases; ++p)
        if (!loaded[p] || !PageTaken(p)) failed |= 1u << p;
    if (failed == kAllFailed) {
        FwUpd_ShowStatus(9, 0, 0);
        SlaveReply(kRecallFailed);
        ApplyAllSettings();
        return;
    }
    if (!StageDone(kCmdPagesToStage)) {
        FwUpd_ShowStatus(9, 0, 0);
        SlaveReply(kRecallFailed);
    } else {
        caliSaveExit(0);
        FwUpd_ShowStatus(8, static_cast<int32_t>(failed), 0);
        SlaveReply(kDoneBase + failed);
    }
    ApplyAllSettings();
}

void ServiceCalibrationSave() {
    if (ForwardedToSlave(1)) return;
    if (!UsbUsable(true)) return;
    SlaveReply(kSaveStarted);
    ShowMessageHold("Saved Calibration\nPlease Wait...");
    if (!StageDone(kCmdPagesFromStage)) {
        FwUpd_ShowStatus(12, 0, 0);
        SlaveReply(kSaveStateError);
        return;
    }
    uint32_t failed = 0;
    for (int p = 0; p < kPhases; ++p) {
        if (BusReg_ReadCalPage(p) != 0 || CalibrationFileSave(p) != 1) failed |= 1u << p;
        Sync();
    }
    if (failed != 0) {
        FwUpd_ShowStatus(11, static_cast<int32_t>(failed), 0);
        SlaveReply(kSaveStarted + failed);
    } else {
        FwUpd_ShowStatus(10, 0, 0);
        SlaveReply(kDoneBase);
    }
}
