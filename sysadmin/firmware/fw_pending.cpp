// The update left pending in internal storage by the marker /mnt/disk/Update_C2000: a file means
// program the FPGA and then write the boot image, a directory the FPGA only. Checked once per run,
// on the first pass after the system is ready.
#include "core/regbus/bus_transfer.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "platform/sandbox/sandbox.h"
#include "storage/file_util.h"
#include "sysadmin/firmware/fw_update.h"

namespace {
constexpr const char* kMarker = "/mnt/disk/Update_C2000";
}

void FwUpd_C2000Pending() {
    if (c2000Checked.load(std::memory_order_relaxed) != 0 || !SysStatusTest(kSysReady)) return;
    c2000Checked.store(1, std::memory_order_relaxed);
    if (FileSize(kMarker) < 0) {
        c2000Checked.store(2, std::memory_order_relaxed);
        return;
    }
    plat::System("rm /mnt/disk/Update_C2000");  // a marker directory stays
    plat::SleepMs(1000);
    plat::System("sync");
    int32_t fpga = 0, boot = 0;
    if (BusReg_LoopbackTest(999) != 1) {
        boot = FwUpd_Boot(0, 1, kFwUpdServiceMode);
        plat::SleepMs(1000);
        plat::System("mkdir /mnt/disk/Update_C2000");
    } else {
        fpga = FwUpd_Fpga(0, 1, kFwUpdServiceMode);
        plat::SleepMs(1000);
        plat::System("sync");
        if (FileSize(kMarker) < 0) {
            boot = FwUpd_Boot(0, 1, kFwUpdServiceMode);
            plat::SleepMs(1000);
        } else {
            plat::System("rm -r /mnt/disk/Update_C2000");
        }
    }
    plat::System("sync");
    if (fpga == 0 && boot == 0) {
        FwUpd_ShowStatus(4, 0, 0);
        FwUpd_Reboot();
        plat::System("sync");
    } else if (fpga != 0) {
        FwUpd_ShowStatus(6, 0, fpga);
    } else {
        FwUpd_ShowStatus(6, 1, boot);
    }
}
