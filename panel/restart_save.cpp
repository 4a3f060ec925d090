#include "panel/restart_save.h"

#include <cstdio>

#include "core/params/param_access.h"
#include "core/system/sys_status.h"
#include "platform/sandbox.h"
#include "src/dev/board_lines.h"
#include "storage/config_text.h"
#include "storage/nv_blocks.h"
#include "storage/preset_backup.h"
#include "storage/settings_backup.h"
#include "sysadmin/usb_memory.h"

void RestartSaveStep() {
    if (!SysStatusTest(kSysRestartPending) || SysStatusTest(kSysRestartHandled)) return;
    const uint32_t phaseMode = g_PhaseMode.load();
    BackupSavePhaseSettings(phaseMode);
    SpecialDataSave(static_cast<uint8_t>(phaseMode));
    BackupSaveSystem();
    PresetBackupSaveAll();
    SaveSystemConfig();
    GpibResetLineSet(1);
    SysStatusSet(kSysRestartHandled);
    std::printf("MenuThread: settings saved for the restart\n");
    std::fflush(stdout);
    if (SysStatusTest(kSysRebootRequest)) {
        UsbUmount();
        plat::System("reboot");
    }
}
