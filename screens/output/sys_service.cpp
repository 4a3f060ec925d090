#include "screens/output/sys_service.h"

#include "core/alarms.h"
#include "core/ctrl_task.h"
#include "core/harmonics.h"
#include "core/measurement.h"

void sysServiceStep() {
    Harm_Task();
    Meas_Service();
    AlarmService();
    CtrlTask_Poll();
}
