#pragma once
// The power-stage bring-up, once per process start before any thread runs, and the start-up phase
// check that guards the calibration pages.
#include <atomic>
#include <cstdint>

// One word per phase: 1 when the phase's module word lies outside 1 to 399,999.
extern std::atomic<uint32_t> g_PhaseFaultWord[3];
// The power-stage status (2048) and boot status (2080) stored by the start-up test when the firmware
// link passes; an output-on request requires the boot status to be nonzero.
extern std::atomic<uint32_t> g_PowerStageStatus;
extern std::atomic<int32_t> g_PowerStageBootStatus;

int32_t HwInit();
// Loads the FPGA configuration image into the configuration device; 0, or -1 when the image is
// missing, memory is short or the image cannot be read whole.
int32_t FpgaConfigLoad();
int32_t PhaseFaultCheck();

namespace core {
// Puts the bring-up's results back to their state at process start: no phase fault word, no stored
// power-stage status (tests).
void HwInitReset();
}  // namespace core
