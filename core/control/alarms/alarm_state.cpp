#include "core/control/alarms/alarm_state.h"

AlarmState g_AlarmState;

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
}  // namespace

void core::AlarmStateReset() {
    g_AlarmState.summary.store(0, kRelaxed);
    for (auto& word : g_AlarmState.phase)
        word.store(0, kRelaxed);
    g_AlarmState.system.store(0, kRelaxed);
    g_AlarmState.flags.store(0, kRelaxed);
    for (AlarmSlaveCopy& slave : g_AlarmState.slave) {
        for (auto& word : slave.phase)
            word.store(0, kRelaxed);
        slave.system.store(0, kRelaxed);
    }
    g_AlarmState.outputStatus.store(0, kRelaxed);
    g_AlarmState.backupRequest.store(0, kRelaxed);
}

bool core::SlaveAlarmPresent() {
    for (const AlarmSlaveCopy& slave : g_AlarmState.slave) {
        if (slave.system.load(kRelaxed) != 0) return true;
        for (const auto& word : slave.phase)
            if (word.load(kRelaxed) != 0) return true;
    }
    return false;
}
