#pragma once
// Setters of the SEQUENCE fields. A value inside its limits is stored in the step (nothing is stored for a
// field the output kind lacks), becomes the live value and goes to the field's step register at the current
// step; a value outside changes nothing, not even the register (the live value may be another step's). The
// live value is returned, so a caller sees a refusal by comparing the result with what it asked for. Phases 0-2; another phase sends nothing and returns 0.
#include <cstdint>

// Selects the step 0-999 unless a run is in progress (another step is ignored); sets the dirty bit.
void SeqSetCurStep(int32_t step);

int32_t SeqSetTime(int32_t value);  // 1..99999999; out of range: nothing stored or sent, returns 0
int32_t SeqSetAcv(int32_t value, int phase);
int32_t SeqSetDcv(int32_t value, int phase);
// Raw stores of the current step's ACV (the word SeqGetAcv reads) and DCV: no range check, no live value,
// no register write; nothing for a field the output kind lacks or another phase.
void SeqStoreAcv(int32_t value, int phase);
void SeqStoreDcv(int32_t value, int phase);
// Then re-rounds the step's duty (above 999.99 Hz to whole 10 %, above 99.99 Hz to whole 1 %) and, from
// 500.01 Hz on, the ON and OFF phase to whole degrees.
int32_t SeqSetFset(int32_t value, int phase);
int32_t SeqSetDuty(int32_t value, int phase, int32_t max, int32_t min);
int32_t SeqSetOnPhase(int32_t value, int phase);
int32_t SeqSetOffPhase(int32_t value, int phase);
// Refused at step 0: return 0, store and send nothing.
int32_t SeqSetJumpto(int32_t step);
int32_t SeqSetJumpCnt(int32_t count);
int32_t SeqSetBranch1(int32_t step);
int32_t SeqSetBranch2(int32_t step);
int32_t SeqSetBalance_L2(int32_t value);
int32_t SeqSetBalance_L3(int32_t value);
// Sets the step's ACV to the output limits' maximum for its waveform and returns 1 when that maximum is
// below value and the ACV unit is Vrms; else 0.
int SeqClampAcvToMax(int32_t value, int phase);

// Type setters (0 CT, 1 KP, 2 SP): store the type, mirror it into the live modes ("KP" only from step 1
// on) and set its one-hot bits in the phase's control word; no register write. Return the control word.
uint32_t SeqSetAcvMode(int32_t type, int phase);
uint32_t SeqSetDcvMode(int32_t type, int phase);
uint32_t SeqSetFsetMode(int32_t type, int phase);
// Stores a code 1..256 (AC+DC and AC kinds) and refuses any other. The live value and the control word
// take the code, or SIN (17) for a code outside 1..256 and always in the DC kind. Returns the live code.
int32_t SeqSetWave(int32_t wave, int phase, int setDirty);
// ON/OFF enables: word 0 bit, live enables, control-word bit 18/19; no register write. The panel variants
// return the control word, the Val variants the stored value.
uint32_t SeqSetEnOnPhase(int32_t value, int phase);
uint32_t SeqSetEnOffPhase(int32_t value, int phase);
int32_t SeqSetEnOnPhaseVal(int32_t value, int phase);
int32_t SeqSetEnOffPhaseVal(int32_t value, int phase);
// The status word of the current step as built from its record: sync code, Jump To enable, termination,
// branch enables.
uint16_t SeqStatusWord();
// Status-register setters: store their value, build register 768 from the step's record (SeqStatusWord)
// and write it. The panel variants return the status image, the Val variants the stored value. Jump To
// enable and termination are refused at step 0 (return 0).
uint16_t SeqSetEnJumpto(int32_t value);
uint16_t SeqSetEnBranch1(int32_t value);
uint16_t SeqSetEnBranch2(int32_t value);
uint16_t SeqSetTerm(int32_t code);  // 0 CONTI, 1 END, 2 HOLD; another code is refused
uint16_t SeqSetSyncCode(int32_t code);
int32_t SeqSetSyncCodeVal(int32_t code, int reread);
// Re-applies the step's types, waveform and ON/OFF enables and writes the control word (769 + phase).
void SeqApplyStep(int phase);
