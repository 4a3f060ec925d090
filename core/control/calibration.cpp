#include "core/control/calibration.h"

CalStateRec g_CalState;

void core::CalStateReset() {
    g_CalState.mode.store(0, std::memory_order_relaxed);
    g_CalState.cmd.store(0, std::memory_order_relaxed);
    g_CalState.status.store(0, std::memory_order_relaxed);
    g_CalState.measuring.store(0, std::memory_order_relaxed);
}

// No calibration procedure exists yet, so the mode object has nothing to run.
void CaliMode_Step() {}
