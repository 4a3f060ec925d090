#pragma once
// Field access of the SIMULATE states: the current state's record in the active SIM set, per phase (0-2)
// or in L1. For state index 6 (no state) ACV, frequency and sync code read state 0 and the ON/OFF enables
// read 0.
#include <cstdint>

#include "engine/seqsim/seqsim_data.h"

int32_t SimGetTime();
int32_t SimGetAcv(int phase);  // the Vpp word when held in Vpp
// The same for state 0-5 without making it current (a remote query reads the state it names).
int32_t SimGetAcvOf(uint32_t state, int phase);
int32_t SimGetFreq(int phase);
int32_t SimGetOnpha(int phase);
int32_t SimGetOffpha(int phase);
int32_t SimGetEnOnpha(int phase);
int32_t SimGetEnOffpha(int phase);
int32_t SimGetWave();
int32_t SimGetSyncCode();
int32_t SimGetEnRepeat();  // of "Normal 2"
int32_t SimGetRepeat();
int32_t SimGetBalance_L2();  // the wiring's angle: 1200 3P4W, 1800 1P3W, 0 1P2W
int32_t SimGetBalance_L3();  // 2400, 2400, 0
int32_t SimGetJumpto();      // "Normal 1" 3, "Abnormal" 5, "Normal 2" 1, else 0

// Limits.
int32_t SimGetTimeMin();  // 0 for "Trans 1" and "Trans 2", else 1
int32_t SimGetTimeMax();
int32_t SimGetAcvMin();
// The SIM ACV maximum for the current state's waveform and the range in the SIM options: the Vpp maximum
// of the voltage limit (waveforms other than SIN and SQU), or its rms maximum (SIN, SQU).
int32_t SimGetAcvMax();
int32_t SimGetAcvVppMax();  // the voltage limit's Vpp maximum of that range
int32_t SimGetFreqMin();
int32_t SimGetFreqMax();
int32_t SimGetOnOffPhaseMin();
int32_t SimGetOnOffPhaseMax(int phase);  // 3590 when the state's frequency is 50001 or more
// The state-dependent limits of state 0-6 (6 reads state 0's frequency) without making it current, for a
// write checked against every state it goes to before the first is written; the getters above are these
// for the current state.
int32_t SimGetTimeMinOf(uint32_t state);
int32_t SimGetAcvMaxOf(uint32_t state);
int32_t SimGetOnOffPhaseMaxOf(uint32_t state, int phase);
// Whether the state's ACV of the phase is held in Vpp: the SIM unit Vpp and a waveform other than SIN, SQU.
bool SimAcvIsVppOf(uint32_t state, int phase);
int32_t SimGetEnableMin();
int32_t SimGetEnableMax();
int32_t SimGetSyncCodeMin();
int32_t SimGetSyncCodeMax();
int32_t SimGetRepeatMin();
int32_t SimGetRepeatMax();

namespace engine {
// The current SIM state 0-6 (another index reads as 6).
uint32_t SimState();
// The record of a state in the active set, slice 0-3; a scratch record for another index.
SimStepRecord& SimRecAt(uint32_t state, int slice);
inline SimStepRecord& SimRec(int slice) {
    return SimRecAt(SimState(), slice);
}
// Selects a state 0-6 without the checks of SeqSimSetCurStep (the download's own walk).
void SimSelectState(uint32_t state);
}  // namespace engine
