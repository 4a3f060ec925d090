#include "core/control/alarm_state.h"

AlarmState g_AlarmState;

void core::AlarmStateReset() {
    g_AlarmState.summary.store(0, std::memory_order_relaxed);
    for (auto& word : g_AlarmState.phase)
        word.store(0, std::memory_order_relaxed);
    g_AlarmState.system.store(0, std::memory_order_relaxed);
    g_AlarmState.flags.store(0, std::memory_order_relaxed);
}
