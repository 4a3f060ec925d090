#include "panel/restart_save.h"

#include <cstdio>

#include "core/system/state/sys_status.h"
#include "platform/sandbox/sandbox.h"
#include "src/dev/board_lines.h"
#include "storage/nv/settings_backup.h"
#include "sysadmin/usb/usb_memory.h"

void RestartSaveStep() {
    if (!SysStatusTest(kSysRestartPending) || SysStatusTest(kSysRestartHandled)) return;
    SettingsBackupSaveAll();
    GpibResetLineSet(1);
    SysStatusSet(kSysRestartHandled);
    std::printf("MenuThread: settings saved for the restart\n");
    std::fflush(stdout);
    if (SysStatusTest(kSysRebootRequest)) {
        UsbUmount();
        plat::System("reboot");
    }
}
