// The service data list's jobs (states 272-283): one table row per state.
#include <atomic>
#include <cstdio>

#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/fw_update_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/service_flags.h"
#include "platform/host/clock.h"
#include "screens/menu/rows/row_entries.h"
#include "screens/menu/service/service_entries.h"
#include "screens/menu/service/service_jobs.h"
#include "sysadmin/firmware/flash_image.h"
#include "sysadmin/firmware/fw_update.h"

namespace {
using namespace service_jobs;

constexpr uint32_t kUnitCount = 6;  // this unit and five slaves
constexpr const char* kServiceFolder = "VRN4100";
constexpr uint32_t kLeaveForFpga = 3;

enum class Check : uint8_t { kNone, kOutput, kUsb, kOutputUsb };

// The flash images of the list: boot loader, kernel, start screen.
struct FlashImage {
    int32_t partition;
    const char* file;
};
constexpr FlashImage kUboot{5, "qx_aps_uboot.blk"}, kKernel{11, "qx_aps_kernel.blk"},
    kScreen{9, "qx_aps_start_scrn.blk"};
constexpr FlashImage kImages[] = {kUboot, kKernel, kScreen};

bool ServiceFileMissing(const char* name) {
    if (FwUpd_FileExists(name, kFwUpdServiceMode) != 0) return false;
    // The popup's formatter knows no %s: the names go in first.
    char text[96];
    std::snprintf(text, sizeof text, "No File(%s) \nin %s", name, kServiceFolder);
    ClosePersistent();
    ShowMessage(2, text);
    return true;
}

void NextCalibrationUnit() {
    const uint32_t unit = g_ServiceFlags.calDataUnitIndex.load(std::memory_order_relaxed);
    g_ServiceFlags.calDataUnitIndex.store(unit + 1 < kUnitCount ? unit + 1 : 0, std::memory_order_relaxed);
    MenuRows_EnterState(kMenuDataCalRw);
}

void RecallCalibration() {
    ServiceCalibrationRecall();
}
void SaveCalibration() {
    ServiceCalibrationSave();
}

// The copy of partitions to USB memory is not offered by the flash service: the failure is said.
void CopyFlash() {
    ShowMessageHold("Copy Flash...");
    plat::SleepMs(1000);
    bool failed = false;
    for (const FlashImage& image : kImages)
        failed |= FlashCopyToUsb(image.partition, image.file) != 0;
    ClosePersistent();
    if (failed)
        ShowErrorMessageHold(2, "Copy Flash Fail");
    else
        ShowMessageHold("Copy Flash Success");
}

void UpdateFlash() {
    ShowMessageHold("Update Flash...");
    int32_t result[3];
    for (int i = 0; i < 3; ++i)
        result[i] = FlashWriteStartScreen(kImages[i].partition, kImages[i].file);
    plat::SleepMs(1000);
    ClosePersistent();
    if (result[0] == 0 && result[1] == 0 && result[2] == 0)
        ShowMessageHold("Update Flash Success");
    else
        ShowErrorMessageHold(2, "Update Flash Fail\nuBoot %d Kernel %d Screen %d", result[0], result[1],
                             result[2]);
}

void WriteImage(const FlashImage& image, const char* progress, const char* success, const char* failure) {
    ShowMessageHold(progress);
    const int32_t result = FlashWriteStartScreen(image.partition, image.file);
    ClosePersistent();
    if (result == 0)
        ShowMessageHold(success);
    else
        ShowErrorMessageHold(2, failure);
}
void UpdateUboot() {
    WriteImage(kUboot, "Update uboot...", "uboot Update Success", "uboot Update Fail");
}
void UpdateKernelImage() {
    WriteImage(kKernel, "Update Kernel...", "Kernel Update Success", "Kernel Update Fail");
}
void UpdateScreen() {
    WriteImage(kScreen, "Update Screen...", "Screen Update Success", "Screen Update Fail");
}

void UpdateWeb() {
    if (ServiceFileMissing("httpd.tar.gz")) return;
    if (FwUpd_WebFromTgz(kFwUpdServiceMode) == 0)
        ShowMessage(2, "WEB Update Success");
    else
        ShowErrorMessage("WEB Update Fail");
}

struct DataJob {
    uint16_t state;
    bool pendingUpdate;     // the start-up update check is not to run any more
    Check check;            // before the announcement
    uint8_t announce;       // item a master announces to its slaves first (0 none)
    bool usbAfterAnnounce;  // the USB checks after the announcement
    void (*run)();
};

constexpr DataJob kDataJobs[] = {
    {kMenuDataCalRw, false, Check::kNone, 0, false, NextCalibrationUnit},
    {kMenuDataCalRecall, false, Check::kNone, 0, false, RecallCalibration},
    {kMenuDataCalSave, false, Check::kNone, 0, false, SaveCalibration},
    {kMenuDataCopyFlash, false, Check::kUsb, 0, false, CopyFlash},
    {kMenuDataUpdateFlash, false, Check::kUsb, 0, false, UpdateFlash},
    {kMenuDataUpdateUboot, false, Check::kUsb, 0, false, UpdateUboot},
    {kMenuDataUpdateKernel, false, Check::kNone, 0, false, UpdateKernelImage},
    {kMenuDataUpdateScreen, false, Check::kNone, 0, false, UpdateScreen},
    {kMenuDataUpdateMax10, true, Check::kOutput, 17, true, ServiceUpdateMax10},
    {kMenuDataUpdateZynq, true, Check::kOutput, 16, true, ServiceUpdateZynq},
    {kMenuDataUpdateDsp, true, Check::kOutput, 15, true, ServiceUpdateDsp},
    {kMenuDataUpdateWeb, false, Check::kOutputUsb, 0, false, UpdateWeb},
};

constexpr bool JobsInStateOrder() {
    for (uint32_t i = 0; i < sizeof kDataJobs / sizeof kDataJobs[0]; ++i)
        if (kDataJobs[i].state != kMenuDataFirst + i) return false;
    return true;
}
static_assert(JobsInStateOrder(), "one job per row, in state order");

void Run(const DataJob& job) {
    if (job.pendingUpdate) c2000Checked.store(1, std::memory_order_release);
    if ((job.check == Check::kOutput || job.check == Check::kOutputUsb) && RefusedWithOutputOn()) return;
    if ((job.check == Check::kUsb || job.check == Check::kOutputUsb) && !UsbUsable(false)) return;
    if (job.announce != 0) MasterAnnounce(job.announce);
    if (job.usbAfterAnnounce && !UsbUsable(false)) return;
    job.run();
}

}  // namespace

void ServiceUpdateMax10() {
    if (!LeaveParallelLink(kLeaveForFpga)) {
        FwUpd_ShowStatus(6, 0, 0);
        return;
    }
    if (ServiceFileMissing(FwUpd_FpgaName())) return;
    FwUpd_Fpga(0, 0, kFwUpdServiceMode);
}

void ServiceUpdateZynq() {
    if (ServiceFileMissing(FwUpd_BootName())) return;
    FwUpd_Boot(0, 0, kFwUpdServiceMode);
}

void ServiceUpdateDsp() {
    if (ServiceFileMissing("VRN4100")) return;
    const int32_t result = FwUpd_App(0, kFwUpdServiceMode);
    ClosePersistent();
    if (result == 0)
        ShowMessageHold("DSP Update Success");
    else
        ShowErrorMessageHold(2, "DSP Update Fail");
}

void ServiceDataRow(uint32_t state) {
    if (state < kDataJobs[0].state) return;
    const uint32_t i = state - kDataJobs[0].state;
    if (i < sizeof kDataJobs / sizeof kDataJobs[0]) Run(kDataJobs[i]);
}

void menuServiceDataListAction() {
    // A held result of an earlier job goes: this job's popups are to be seen.
    ClosePersistent();
    ServiceDataRow(g_MenuState.load(std::memory_order_acquire));
}
