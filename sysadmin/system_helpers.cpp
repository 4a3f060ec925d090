#include "sysadmin/system_helpers.h"

#include <cstdio>

#include "core/control/alarms/alarm_state.h"
#include "drivers/speaker.h"
#include "drivers/web_process.h"
#include "platform/host/clock.h"
#include "platform/sandbox/sandbox.h"

namespace sysadmin {
std::atomic<uint8_t> g_BeepFlags{0};
}  // namespace sysadmin

namespace {

constexpr uint8_t kBeepSounding = 1u << 1, kBeepPending = 1u << 2, kBeepField = kBeepSounding | kBeepPending;

void SetBeepState(uint8_t state) {
    uint8_t old = sysadmin::g_BeepFlags.load(std::memory_order_relaxed);
    while (!sysadmin::g_BeepFlags.compare_exchange_weak(
        old, static_cast<uint8_t>((old & ~kBeepField) | state), std::memory_order_relaxed)) {
    }
}

}  // namespace

int32_t WebServerStop() {
    const int32_t pid = BoaPid();
    if (pid < 1) return -1;
    char command[32];
    std::snprintf(command, sizeof command, "kill %d", pid);
    plat::System(command);
    plat::SleepMs(3000);
    plat::System("sync");
    return BoaPid() == -1 ? 0 : -1;
}

void BeepRequest() {
    SetBeepState(kBeepPending);
}

void BeepService() {
    const uint8_t state = sysadmin::g_BeepFlags.load(std::memory_order_relaxed) & kBeepField;
    if (state == kBeepPending) {
        BeepOn();
        SetBeepState(kBeepSounding);
    } else if (state == kBeepSounding) {
        // The alarm tone keeps the speaker on.
        if ((g_AlarmState.flags.load(std::memory_order_relaxed) & kAlarmFlagBeepSounding) == 0) BeepOff();
        SetBeepState(0);
    }
}
