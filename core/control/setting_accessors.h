#pragma once
// Accessors of the power stage whose register or value depends on the output settings or the SEQ/SIM
// state, so they stand above the register bus and the parameter store.
#include <cstdint>

// Output mode 0-9 as the stage's mode code (32 while a SEQ/SIM function is active); the trigger output
// width is zeroed first when a SEQ/SIM function is active or the mode is DC-INT, AC+DC-EXT or AC-EXT.
int BusReg_SetOutputMode(uint32_t mode);
int BusReg_SetTrigWidth(int32_t v);         // 0 instead while SEQ/SIM is active or in modes 2, 3, 4
int BusReg_SetPhaseAngleL2(int32_t angle);  // 0.1 degree, sent as 3600 - angle (see PhaseAngleWord)
int BusReg_SetPhaseAngleL3(int32_t angle);
// The 256 entries of the per-waveform factor table to register 104, word indices 1-256.
int BusReg_WriteFloatTable();
// The output frequency: register 2233, or 2236 (the synchronisation input's) when the external signal
// selection is 3.
float BusReg_GetFreq();

namespace regbus {
// The stage's mode code of output mode 0-9; any other value passes unchanged.
uint32_t OutputModeCode(uint32_t mode);
// The word sent for an L2/L3 phase angle in output mode `mode` with synchronisation phase `syncPhase`.
int32_t PhaseAngleWord(int32_t angle, uint32_t mode, int32_t syncPhase);
}  // namespace regbus
