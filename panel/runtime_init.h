#pragma once
// The run-time re-initialisation of the panel and the control side (at start, after a parallel
// configuration change and by a service action), the unit count of the model and the communication
// start-up with the panel controller's start word. InitRuntimeState and ParallelConfigUnits are declared
// in panel/panel_services.h.
#include <atomic>
#include <cstdint>

// Parallel operation off, the slave tables cleared, then the start word of the panel controller: 0 puts
// the communication settings back to their defaults; then the unit's parallel role by model type.
void PanelCommStartup();

// 1: a long MENU press (code 254) requests a screen copy. Set by the run-time re-initialisation.
extern std::atomic<uint32_t> g_HardcopyLongPressEnable;

namespace panel {
// The fan and compensation words the re-initialisation sends, kept for the service pages.
struct RuntimeTuning {
    std::atomic<int32_t> fanSlew, fanDutyMax, fanDutyMin;
    std::atomic<int32_t> kp, ki, powerLimitTotal, powerLimitPhase;
    std::atomic<int32_t> rd[5];
};
extern RuntimeTuning g_RuntimeTuning;
}  // namespace panel
