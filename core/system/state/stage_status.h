#pragma once
// What the power-stage bring-up learned of the stage: its status words and the start-up phase check that
// guards the calibration pages.
#include <atomic>
#include <cstdint>

// One word per phase: 1 when the phase's module word lies outside 1 to 399,999.
extern std::atomic<uint32_t> g_PhaseFaultWord[3];
// The power-stage status (2048) and boot status (2080) stored by the start-up test when the firmware
// link passes; an output-on request requires the boot status to be nonzero.
extern std::atomic<uint32_t> g_PowerStageStatus;
extern std::atomic<int32_t> g_PowerStageBootStatus;
// 1 after any failed start-up self-test: the start-up screen sets it, the alarm handling and the LOCK
// status condition read it.
extern std::atomic<uint32_t> g_StartupFailed;

int32_t PhaseFaultCheck();

namespace core {
// Puts the bring-up's results back to their state at process start: no phase fault word, no stored
// power-stage status (tests).
// Tests start each case from a clean state through it.
void StageStatusReset();
}  // namespace core
