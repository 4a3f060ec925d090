#pragma once
// Lower and upper limits of the SEQ fields, as the setters apply them and the editors bound their knob
// and keypad entry. Voltages for the current step's waveform, phase 0-2.
#include <cstdint>

int32_t SeqGetAcvRangeMax(int phase);  // output limits of kind, range, waveform and the step's DCV
int32_t SeqGetAcvRangeMin(int phase);
int32_t SeqGetStepAcvMax(int phase);
int32_t SeqGetAcvVppMax(int phase);    // round(2 x (17500 or 35000) x peak factor of the waveform)
int32_t SeqGetDcvRangeMax(int phase);  // output limits of kind, range, waveform and the step's ACV
int32_t SeqGetDcvRangeMin(int phase);
int32_t SeqGetFsetMax();  // the model's frequency upper limit
int32_t SeqGetFsetMin();  // AC+DC 100, AC 1500, DC 0
int32_t SeqGetPhaseMax();
int32_t SeqGetPhaseMin();
int32_t SeqGetOnOffPhaseMax(int phase);  // 3590 when the step's Fset is 50001 or more, else 3599
int32_t SeqGetTimeMax();
int32_t SeqGetTimeMin();
int32_t SeqGetTypeMax();
int32_t SeqGetTypeMin();
int32_t SeqGetWaveMax();
int32_t SeqGetWaveMin();
int32_t SeqGetEnableMax();
int32_t SeqGetEnableMin();
int32_t SeqGetTargetStepMax();
int32_t SeqGetTargetStepMin();
int32_t SeqGetJumpCntMax();
int32_t SeqGetJumpCntMin();
int32_t SeqGetTermMax();
int32_t SeqGetTermMin();
int32_t SeqGetSyncCodeMax();
int32_t SeqGetSyncCodeMin();

// True when the step's ACV is held in Vpp and value exceeds its Vpp maximum.
bool SeqAcvOverVppMax(int32_t value, int phase);

namespace engine {
// The model's frequency upper limit (0.01 Hz), also SIM's.
int32_t FreqMax();
// Vpp maximum of a waveform code for a range (0 100V, 1 200V); 0 for a code outside 1-256.
int32_t VppMaxFor(uint32_t wave, uint32_t range);
// The SEQ range of the current setting: 0 100V, 1 otherwise.
uint32_t SeqRange();
// The rules the ACV, DCV and Fset setters take a value by, for a current step of the given waveform whose
// other voltage is given: the output limits at that voltage and, for an ACV held in Vpp, the waveform's Vpp
// maximum (which the R&D test mode lifts). A remote step write checks every value by them first.
bool AcvTaken(int32_t value, uint32_t wave, bool vpp, int32_t dcv);
bool DcvTaken(int32_t value, uint32_t wave, int32_t acv);
bool FsetTaken(int32_t value);
}  // namespace engine
