#include "core/ctrl_task.h"

#include "core/sys_status.h"

int32_t CtrlTask_Poll() {
    // No output setting is synchronised with the power stage yet, so there is nothing to settle: the
    // system is ready from the first pass (keys and the display wait for this bit).
    if (!SysStatusTest(kSysReady)) SysStatusSet(kSysReady);
    return 0;
}
