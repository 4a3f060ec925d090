#include "panel/sys_service.h"

#include "core/control/alarms.h"
#include "core/control/ctrl_task.h"
#include "core/control/harmonics.h"
#include "core/control/measurement.h"
#include "panel/restart_save.h"

void sysServiceStep() {
    Harm_Task();
    Meas_Service();
    AlarmService();
    CtrlTask_Poll();
    RestartSaveStep();
}
