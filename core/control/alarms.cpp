#include "core/control/alarms.h"

#include "core/regbus/reg_write.h"
#include "core/system/sys_status.h"

std::atomic<uint32_t> g_AlarmMsgHold{0};

namespace core {
std::atomic<uint32_t> g_AlarmClearCountdown{0};
}  // namespace core

// No alarm word is watched until the alarm monitor exists.
void AlarmService() {}

void AlarmClear() {
    // A latched protection fault stays until the unit is serviced (the latch override comes with the
    // service switches). The 6 s and 2 s waits for the fan and over-temperature faults come with the
    // alarm words of the monitor.
    if (SysStatusTest(kSysAlarmLatched)) return;
    BusReg_AlarmClear(1);
    core::g_AlarmClearCountdown.store(core::kAlarmClearStart, std::memory_order_relaxed);
}
