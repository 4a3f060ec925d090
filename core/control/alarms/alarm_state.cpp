#include "core/control/alarms/alarm_state.h"

#include "core/control/hooks/core_services.h"

AlarmState g_AlarmState;
std::atomic<uint32_t> g_AlarmMsgHold{0};

namespace core {
std::atomic<uint32_t> g_AlarmClearCountdown{0};
}  // namespace core

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

void AlarmBeepStop() {
    // Only a sounding alarm tone is switched off: the monitor asks on every pass without an alarm and the
    // panel on every key, and either would cut a key beep short (and write the speaker every 2 ms).
    const uint8_t was = g_AlarmState.flags.fetch_and(static_cast<uint8_t>(~kAlarmFlagBeepSounding), kRelaxed);
    if (was & kAlarmFlagBeepSounding) core::CallHook(core::Services().beepOff);
}
