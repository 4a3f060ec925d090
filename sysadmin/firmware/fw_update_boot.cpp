// The boot image written into flash partition /dev/mtd0 by flashcp, in up to three attempts, each
// ended by the power stage's boot status.
#include <cstdio>

#include "core/regbus/reg_read.h"
#include "core/regbus/reg_write.h"
#include "platform/host/clock.h"
#include "platform/sandbox/sandbox.h"
#include "sysadmin/firmware/fw_digest.h"
#include "sysadmin/firmware/fw_update.h"
#include "sysadmin/usb/usb_source.h"

std::atomic<uint32_t> fwBusy{0};

namespace {

constexpr int kAttempts = 3;

void Progress(int32_t percent) {
    FwUpd_ShowStatus(17, percent, 0);
}

// The image copied from USB memory to /tmp and checked against its source; false when it differs.
bool CopyToTmp(int32_t mode, const char* name) {
    if (!UsbSourceReady()) return false;
    char source[96], copy[64], command[192];
    std::snprintf(source, sizeof source, "/mnt/sd1/%s/%s", FwUpd_UsbFolder(mode), name);
    std::snprintf(copy, sizeof copy, "/tmp/%s", name);
    const sysadmin::FileDigest digest = sysadmin::FwFileDigest(source);
    std::snprintf(command, sizeof command, "cp %s /tmp/", source);
    plat::System(command);
    plat::SleepMs(5);
    return sysadmin::FwFileMatches(digest, copy);
}

// One attempt: true when the flash write succeeded and the stage reports it has booted.
bool Attempt(int32_t source, int32_t mode, const char* name) {
    plat::SleepMs(1000);
    BusReg_SetOutputOnOff(0);
    fwBusy.store(1, std::memory_order_relaxed);
    Progress(35);
    if ((source != 0 && source != 1) || (source == 0 && !CopyToTmp(mode, name))) return false;
    constexpr int32_t kResetProgress[] = {38, 41, 44, 47, 50, 63, 66, 69};
    FwUpd_ResetFpga(0, 5, kResetProgress);
    char command[160];
    std::snprintf(command, sizeof command, "/mnt/disk/app/flashcp %s/%s /dev/mtd0",
                  source == 0 ? "/tmp" : "/mnt/disk/app", name);
    const bool written = plat::System(command) == 0;
    Progress(60);
    FwUpd_ResetFpga(5, 3, kResetProgress + 5);
    fwBusy.store(0, std::memory_order_relaxed);
    for (int i = 1; i <= 20; ++i) {
        plat::SleepMs(2);
        Progress(69 + i);
    }
    if (source == 0) {
        std::snprintf(command, sizeof command, "rm /tmp/%s", name);
        plat::System(command);
        plat::System("sync");
    }
    int32_t booted = 0;
    for (int i = 0; i < 5 && booted == 0; ++i) {
        plat::SleepMs(2);
        Progress(92);
        booted = BusReg_GetBootStatus();
    }
    Progress(95);
    // A failed write is a failed attempt even when the stage still boots from what was there.
    return written && booted != 0;
}

}  // namespace

int32_t FwUpd_Boot(int32_t reboot, int32_t source, int32_t mode) {
    if (!FwUpd_PrepareParallel(4)) return 1;
    const char* name = FwUpd_BootName();
    FwUpd_ShowStatus(1, 0, 0);
    BusReg_GetBootStatus();
    fwDots.store(0, std::memory_order_relaxed);
    Progress(10);
    BusReg_SetBootCtrl(2);
    plat::SleepMs(10);
    Progress(20);
    BusReg_SetBootCtrl(1);
    plat::SleepMs(10);
    Progress(30);
    int32_t result = 1;
    for (int attempt = 0; attempt < kAttempts && result != 0; ++attempt) {
        if (Attempt(source, mode, name)) {
            result = 0;
            if (reboot == 1) FwUpd_ShowStatus(4, 0, 0);
        } else {
            FwUpd_ShowStatus(7, 0, 0);
        }
    }
    if (reboot == 1 && result == 0) FwUpd_Reboot();
    plat::System("sync");
    return result;
}
