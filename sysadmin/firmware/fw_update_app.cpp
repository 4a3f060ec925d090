// The application update, and what the updates share: the USB folder of a mode, md5 digests and the
// reboot.
#include <cstdio>
#include <string>

#include "core/regbus/reg_write.h"
#include "core/system/config/identity.h"
#include "core/system/state/sys_status.h"
#include "drivers/panel_link.h"
#include "platform/host/clock.h"
#include "platform/sandbox/sandbox.h"
#include "storage/file_util.h"
#include "sysadmin/firmware/fw_digest.h"
#include "sysadmin/firmware/fw_update.h"
#include "sysadmin/usb/usb_source.h"

namespace {

constexpr const char* kAppName = "VRN4100";
constexpr const char* kAppPath = "/mnt/disk/app/VRN4100";
// Beside the installed program, so that the rename over it is one step of the same file system.
constexpr const char* kAppNew = "/mnt/disk/app/VRN4100.new";

void Run(const char* format, const char* a = "", const char* b = "") {
    char command[160];
    std::snprintf(command, sizeof command, format, a, b);
    plat::System(command);
}

}  // namespace

const char* FwUpd_UsbFolder(int32_t mode) {
    if (mode == kFwUpdServiceMode) return "VRN4100";
    return g_BrandId.load(std::memory_order_relaxed) == 1 ? "tulve" : "QX";
}

int32_t FwUpd_FileExists(const char* name, int32_t mode) {
    if (!UsbSourceReady()) return 0;
    char path[96];
    std::snprintf(path, sizeof path, "/mnt/sd1/%s/%s", FwUpd_UsbFolder(mode), name);
    return FileSize(path) > 0 && IsDirectory(path) == 0 ? 1 : 0;
}

void FwUpd_Reboot() {
    SpiAuxWrite1(0);
    SysStatusSet(kSysRebootRequest);
    SysStatusSet(kSysSetCommandsBarred);
    // An earlier restart of this run left its request handled: cleared before the request is raised, so
    // the menu thread never sees this one as already done.
    SysStatusClear(kSysRestartHandled);
    SysStatusSet(kSysRestartPending);
}

int32_t FwUpd_App(int32_t reboot, int32_t mode) {
    if (!FwUpd_PrepareParallel(2)) return 1;
    BusReg_SetOutputOnOff(0);
    FwUpd_ShowStatus(2, 0, 0);
    if (FwUpd_FileExists(kAppName, mode) == 0) return 1;
    char source[96];
    std::snprintf(source, sizeof source, "/mnt/sd1/%s/%s", FwUpd_UsbFolder(mode), kAppName);
    const sysadmin::FileDigest digest = sysadmin::FwFileDigest(source);
    Run("rm -f %s", kAppNew);
    Run("cp %s %s", source, kAppNew);
    plat::System("sync");
    if (!sysadmin::FwFileMatches(digest, kAppNew)) {
        Run("rm -f %s", kAppNew);
        plat::System("sync");
        return 1;
    }
    Run("mv %s %s", kAppNew, kAppPath);
    plat::System("sync");
    if (FileSize(kAppNew) >= 0 || !sysadmin::FwFileMatches(digest, kAppPath)) return 1;
    if (reboot == 1) FwUpd_Reboot();
    return 0;
}
