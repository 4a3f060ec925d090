#include "core/control/calibration/cali_exit.h"

#include "core/control/calibration/cal_state.h"
#include "core/control/calibration/calibration.h"
#include "core/control/hooks/screen_request.h"
#include "core/regbus/reg_read.h"
#include "core/regbus/reg_write.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

struct DataExit {
    uint32_t command;
    const char* failText;
    int32_t (*tellModeObject)();  // the event that ends the calibration mode
    const char* doneText;
};
enum DataOp : uint8_t { kSave, kRecall, kDefault };
constexpr DataExit kDataExits[] = {
    {4, "SAVE_Cali fail\n", CaliSaveDone, "Save & Exit"},
    {2, "Recall fail\n", CaliRecallDone, "Recall & Exit"},
    {1, "Default fail\n", CaliDefaultDone, "Default & Exit"},
};

constexpr uint32_t kCommandSettleMs = 10;
constexpr int kDataPolls = 10;
constexpr uint32_t kDataPollMs = 1000;
constexpr uint32_t kOneShotSettleMs = 5000;
constexpr int kOneShotPolls = 5;
constexpr uint32_t kOneShotPollMs = 1000;
// The reset follows an exit 40 ms later on the timer thread's 4 ms steps.
constexpr uint32_t kResetWaitMs = 500;

constexpr uint32_t kBusy = 0, kSuccess = 1, kFailure = 2;

struct Results {
    uint32_t first, second;
};

Results ReadStatus() {
    const uint32_t status = BusReg_GetCaliStatus();
    g_CalState.status.store(status, kRelaxed);
    return {status & 7u, (status >> 3) & 7u};
}

// kSuccess once the stage reports the data done, kFailure when it reports a failure (its text is shown),
// kBusy when it never answered.
uint32_t WaitForData(const DataExit& op) {
    for (int poll = 1; poll <= kDataPolls; ++poll) {
        const Results r = ReadStatus();
        if (r.first == kFailure || (r.first < kFailure && r.second == kFailure)) {
            ShowMessage(2, op.failText);
            return kFailure;
        }
        if (r.first < kFailure && r.second == kSuccess) return kSuccess;
        if (r.first < kFailure && r.second == kBusy) {
            ShowMessage(2, "Processing");
            // The control task holds its writes while the stage works on the data.
            SysStatusSet(kSysCaliProcessing);
            plat::SleepMs(kDataPollMs);
            if (poll == kDataPolls) ShowMessage(2, "Please try again...");
        }
        // Any other code is no answer: the next poll follows at once.
    }
    return kBusy;
}

void RunDataExit(DataOp which, bool leave) {
    const DataExit& op = kDataExits[which];
    g_CalState.cmd.store(op.command, kRelaxed);
    BusReg_SetCaliCmd(static_cast<int32_t>(op.command));
    plat::SleepMs(kCommandSettleMs);
    const uint32_t outcome = WaitForData(op);
    SysStatusClear(kSysCaliProcessing);
    if (outcome != kSuccess || !leave) return;
    op.tellModeObject();
    ShowMessage(2, op.doneText);
    caliGoHome();
}

struct OneShot {
    const char* failText;
    const char* successText;
};
constexpr int32_t kFirstOneShot = 6, kLastOneShot = 8;
constexpr OneShot kOneShots[] = {
    {"Ext Offset\nCalibration Fail", "Ext Offset\nCalibration Success"},
    {"Capacitance\nCalibration Fail", "Capacitance\nCalibration Success"},
    {"Zero RMS\nCalibration Fail", "Zero RMS\nCalibration Success"},
};

}  // namespace

void caliGoHome() {
    // An exit leaves the page only once its reset has ended the calibration mode: the home page never
    // shows in calibration mode, and a command right after the exit (an output on) is neither refused by
    // the mode nor undone by the reset's re-initialisation.
    CaliModeAwaitReset(kResetWaitMs);
    ScreenRequest_Ask(ScreenRequest::kAdvanceScreen);
}

void caliSaveExit(int32_t exitFlag) {
    RunDataExit(kSave, exitFlag == 1);
}

void caliRecallExit() {
    RunDataExit(kRecall, true);
}

void caliDefaultExit() {
    RunDataExit(kDefault, true);
}

void caliExtOffset(int32_t kind) {
    if (kind < kFirstOneShot || kind > kLastOneShot) return;
    const OneShot& shot = kOneShots[kind - kFirstOneShot];
    ShowMessageHold("Processing");
    SysStatusSet(kSysCaliProcessing);
    plat::SleepMs(kOneShotSettleMs);
    // Only a reported success counts: a stage that gave no result within the polls failed as surely as
    // one that reported a failure.
    bool succeeded = false;
    for (int poll = 0; poll < kOneShotPolls && !succeeded; ++poll) {
        const Results r = ReadStatus();
        succeeded = r.first == kSuccess && r.second != 0;
        if (!succeeded) plat::SleepMs(kOneShotPollMs);
    }
    MsgQueue_Clear();
    MsgPopup_Close();
    if (succeeded) ShowMessage(2, shot.successText);
    else ShowMessageHold(shot.failText);
    SysStatusClear(kSysCaliProcessing);
}
