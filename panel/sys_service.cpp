#include "panel/sys_service.h"

#include "core/control/alarms.h"
#include "core/control/ctrl_task.h"
#include "core/control/harmonics.h"
#include "core/control/measurement.h"
#include "core/system/sys_status.h"
#include "platform/sandbox.h"
#include "src/dev/board_lines.h"
#include "storage/config_text.h"
#include "storage/preset_backup.h"

namespace {

// Before the power stage restarts (or the unit reboots), everything the next start loads is saved.
void SaveBeforeRestart() {
    if (!SysStatusTest(kSysRestartPending) || SysStatusTest(kSysRestartHandled)) return;
    PresetBackupSaveAll();
    SaveSystemConfig();
    GpibResetLineSet(1);
    SysStatusSet(kSysRestartHandled);
    if (SysStatusTest(kSysRebootRequest)) plat::System("reboot");
}

}  // namespace

void sysServiceStep() {
    Harm_Task();
    Meas_Service();
    AlarmService();
    CtrlTask_Poll();
    SaveBeforeRestart();
}
