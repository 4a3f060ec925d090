#pragma once
// Setters of the SIMULATE states, by the rule of the SEQ setters: a value inside its limits is stored and
// becomes the live value, the live value goes to the state's step register and is returned.
#include <cstdint>

// Selects the state 0-5 unless a run is in progress (another state is ignored); sets the dirty bit.
void SeqSimSetCurStep(int32_t state);
// Out of range: returns 0, nothing sent. "Trans 1" (and "Trans 2") set the skip flag of "Normal 1" (and
// "Abnormal") when the time is 0 and clear it otherwise.
int32_t SimSetTime(int32_t value);
// Within 0 .. SimGetAcvMax, or 0 .. SimGetAcvVppMax when held in Vpp.
int32_t SimSetAcv(int32_t value, int phase);
int32_t SimSetFreq(int32_t value, int phase);  // also re-rounds and re-sets the ON and OFF phase
// The end state (6), on which a run ends, takes Initial's AC voltage of the phase into its record and its
// step register, as the download writes it; the current state stays.
void SimWriteEndAcv(int phase);
int32_t SimSetOnpha(int32_t value, int phase);
int32_t SimSetOffpha(int32_t value, int phase);
int32_t SimSetEnOnpha(int32_t value, int phase);  // writes the control word (769 + phase)
int32_t SimSetEnOffpha(int32_t value, int phase);
int32_t SimSetWave(int32_t wave, int phase);  // a code outside 1..256 stores 17
uint16_t SimSetSyncCode(int32_t code);
// Both switch to "Normal 2" for their writes (registers 768 and 788 of step 5) and switch back.
int32_t SimSetEnRepeat(int32_t value);
int32_t SimSetRepeat(int32_t count);
int32_t SimSetBalance_L2(int32_t value);
int32_t SimSetBalance_L3(int32_t value);
// The control word of a state and phase: ACV and Fset "SP" in "Trans 1" and "Trans 2", else "CT"; DCV
// "CT"; SIN; the ON/OFF enables of the record (none for index 6).
uint32_t SimCtrlWord(uint32_t state, int phase);
// Applies that control word (live modes, enables, g_SeqSimOutCtrl) and writes it to 769 + phase.
void SimApplyStatePhase(int phase, uint32_t state);
// The status word of a state: sync code, bit 2 the skip flag ("Normal 1", "Abnormal") or the repeat
// enable ("Normal 2"), "CONTI", or "END" for index 6.
uint16_t SimStatusWord(uint32_t state);
// SIM states hold no DC voltage: 0 V goes to the current state's DC register 772, so that no DC part a
// SEQ program left in that step copy rides on the state's AC voltage.
void SimZeroDcv();
