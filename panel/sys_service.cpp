#include "panel/sys_service.h"

#include "core/control/alarms/alarms.h"
#include "core/control/ctrl_task.h"
#include "core/control/measure/harmonics.h"
#include "core/control/measure/measurement.h"
#include "panel/restart_save.h"
#include "sysadmin/firmware/fw_update.h"

void sysServiceStep() {
    Harm_Task();
    Meas_Service();
    AlarmService();
    CtrlTask_Poll();
    FwUpd_C2000Pending();
    RestartSaveStep();
}
