// The firmware-update list's jobs (states 267-270).
#include <atomic>
#include <cstdio>

#include "core/system/config/identity.h"
#include "core/system/links/usb_state.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/fw_update_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/sys_status.h"
#include "drivers/panel_link.h"
#include "platform/host/clock.h"
#include "platform/sandbox/sandbox.h"
#include "screens/menu/service/service_entries.h"
#include "screens/menu/service/service_jobs.h"
#include "sysadmin/firmware/flash_image.h"
#include "sysadmin/firmware/fw_update.h"

namespace {
using namespace service_jobs;

// The brand folder's files: FwUpd_UsbFolder picks the folder of any mode but the service one.
constexpr int32_t kBrandMode = 0;
constexpr uint32_t kUpdateAnnounce = 18, kLeaveForUpdate = 1;
constexpr int32_t kKernelPartition = 11;
constexpr const char* kApp = "VRN4100";
constexpr const char* kWeb = "httpd.tar.gz";

const char* PackageName() {
    return g_BrandId.load(std::memory_order_acquire) == 1 ? "tulve_sb6.upg" : "qx_sb6.upg";
}

void NoUpdateFile() {
    ClosePersistent();
    ShowErrorMessageHold(2, "No Update Firmware File");
}

bool UnpackedFilesPresent() {
    for (const char* name : {FwUpd_BootName(), FwUpd_FpgaName(), kApp})
        if (FwUpd_FileExists(name, kBrandMode) == 0) return false;
    return true;
}

void RemoveUpdateFiles() {
    for (const char* name : {FwUpd_FpgaName(), FwUpd_BootName(), kApp, kWeb}) {
        char command[96];
        std::snprintf(command, sizeof command, "rm /mnt/sd1/%s/%s", FwUpd_UsbFolder(kBrandMode), name);
        plat::System(command);
    }
    Sync();
}

void PauseThenSync() {
    plat::SleepMs(1000);
    Sync();
}

}  // namespace

void ServiceUpdateFirmware() {
    c2000Checked.store(1, std::memory_order_release);
    if (RefusedWithOutputOn()) return;
    MasterAnnounce(kUpdateAnnounce);
    if (!UsbUsable(false)) return;
    if (!LeaveParallelLink(kLeaveForUpdate)) {
        FwUpd_ShowStatus(6, 0, 0);
        return;
    }
    const char* package = PackageName();
    if (FwUpd_FileExists(package, kBrandMode) == 0) {
        NoUpdateFile();
        return;
    }
    char command[128];
    std::snprintf(command, sizeof command, "cd /mnt/sd1/%s \n\n /mnt/disk/app/upgparse %s \n\n",
                  FwUpd_UsbFolder(kBrandMode), package);
    plat::System(command);
    plat::SleepMs(2000);
    if (!UnpackedFilesPresent()) {
        NoUpdateFile();
        return;
    }
    ShowMessageHold("Parsing UPG success \n Start Update..");
    plat::SleepMs(1000);
    const int32_t fpga = FwUpd_Fpga(0, 0, kBrandMode);
    PauseThenSync();
    const int32_t boot = FwUpd_Boot(0, 0, kBrandMode);
    PauseThenSync();
    const int32_t app = FwUpd_App(0, kBrandMode);
    PauseThenSync();
    FwUpd_WebFromTgz(kBrandMode);
    RemoveUpdateFiles();
    if (fpga == 0 && boot == 0 && app == 0) {
        FwUpd_ShowStatus(4, 0, 0);
        SpiAuxWrite1(0);
        sysRebootRequest();
        Sync();
    } else if (fpga != 0) {
        FwUpd_ShowStatus(6, 0, 0);
    } else if (boot == 0) {
        FwUpd_ShowStatus(6, 2, 0);
    } else {
        FwUpd_ShowStatus(6, 1, boot);
    }
}

namespace {

void UpdateKernel() {
    if (!UsbUsable(false)) return;
    ShowMessageHold("Update Kernel...");
    plat::SleepMs(1000);
    const int32_t written = FlashWriteFromPackage(kKernelPartition, "zImage");
    Sync();
    ClosePersistent();
    // A unit whose kernel partition failed would not come back: it stays up to be updated again.
    if (written != 0) {
        ShowErrorMessageHold(2, "Kernel Update Fail");
        return;
    }
    ShowMessageHold("Reboot");
    plat::SleepMs(3000);
    sysRebootRequest();
}

void FactoryOnly() {
    if (!UsbMemoryMounted()) ShowMessage(2, "USB Memory Unconnected");
}

}  // namespace

void menuUpdateListAction() {
    // A held result of an earlier job goes: this job's popups are to be seen.
    ClosePersistent();
    switch (g_MenuState.load(std::memory_order_acquire)) {
        case kMenuFwUpdateFirmware:
            ServiceUpdateFirmware();
            return;
        case kMenuFwUpdateUboot:
        case kMenuFwUpdateApplication:
            FactoryOnly();
            return;
        case kMenuFwUpdateKernel:
            UpdateKernel();
            return;
        default:
            return;
    }
}
