#pragma once
// The parameter access layer: named getters and setters of the output settings, on the parameter store.
//
// A setter stores a value only within the limits of the setting's record (it refuses silently otherwise and
// returns the value kept) and then posts value + 1 into the setting's output shadow word, so that the
// control task writes it to the power stage on its next pass. A few setters write a register themselves.
// Phases are 0-2 (L1-L3); a phase outside that range reads 0 and stores nothing.
#include <atomic>
#include <cstdint>

#include "core/params/access/wiring_state.h"

// Display refresh request of the output screens: 1 values changed, 2 waveform changed.
extern std::atomic<uint32_t> g_OutputRefresh;

// --- Plain setters: the record's value after the call. ---
int32_t SetSlewRate(int32_t v);
int32_t SetMonitorSource1Item(int32_t v);
int32_t SetMonitorSource2Item(int32_t v);
int32_t SetPeakClearItem(int32_t v);
int32_t SetIpkMax(int32_t v, int phase);
int32_t SetIpkMin(int32_t v, int phase);
int32_t SetCurrLimit_L1(int32_t v);
int32_t SetCurrLimit(int32_t v, int phase);
int32_t SetOnPhase(int32_t v, int phase);
int32_t SetOffPhase(int32_t v, int phase);
int32_t SetSyncPhase(int32_t v);
int32_t SetBalance_L1(int32_t v);
int32_t SetPhaseAngle_L2(int32_t v);
int32_t SetPhaseAngle_L3(int32_t v);
int32_t SetFrequency(int32_t v);    // L1; then re-checks the frequencies
int32_t SetFrequencyPhase(int32_t v, int phase);
int32_t SetGain_L1(int32_t v);
int32_t SetGain(int32_t v, int phase);
int32_t SetMainSig(int32_t v, int phase);
int32_t SetMainSrc(int32_t v, int phase);
int32_t SetOutputRelay(int32_t v);
int32_t SetOutputImpedance(int32_t v);
int32_t SetAcv(int32_t v, int phase);
int32_t SetDcv(int32_t v, int phase);
int32_t SetRelock(int32_t v);
int32_t SetIrmsLimitMode(int32_t v);
int32_t SetIpkLimitMode(int32_t v);
int32_t SetPeakHoldTime(int32_t v);
int32_t SetRemoteSense(int32_t v);
int32_t SetExtControl(int32_t v);
int32_t SetPhaseSetChange(int32_t v);
int32_t SetTriggerWidth(int32_t v);
int32_t SetTriggerSource(int32_t v);
int32_t SetAcvUnit(int32_t v);
// The parallel setters return 0. SetParallelEnable then, while the output settings are settled, writes
// the link control word to register 2480.
int32_t SetParallelPosition(int32_t v);
int32_t SetParallelNumber(int32_t v);
int32_t SetParallelEnable(int32_t v);

// --- Getters. ---
int32_t GetPeakClearItem();
int32_t GetSlewRate();
int32_t GetMonitorSource1Item();
int32_t GetMonitorSource2Item();
int32_t GetVpkMax();
int32_t GetVpkMin();
int32_t GetIpkMax(int phase);
int32_t GetIpkMin(int phase);
int32_t GetCurrLimit_L1();
int32_t GetCurrLimit(int phase);
int32_t GetOnPhase(int phase);
int32_t GetOffPhase(int phase);
int32_t GetSyncPhase();
int32_t GetPhaseAngle_L2();
int32_t GetPhaseAngle_L3();
int32_t GetPhaseBalanceMode();
int32_t GetSelectedLine();   // the line 0-2 that phase-specific remote queries address
int32_t GetPhaseLineView();  // 0 "PHASE", 1 "LINE"
int32_t GetFreqLimitHi();
int32_t GetFreqLimitLo();
int32_t GetFrequency_L1();
int32_t GetFrequency(int phase);
int32_t GetGain_L1();
int32_t GetGain(int phase);
int32_t GetMainSig();
int32_t GetMainSrc(int phase);
int32_t GetOutputRelay();
int32_t GetOutputImpedance();
int32_t GetAcv(int phase);
int32_t GetDcv(int phase);
int32_t GetRelock();
int32_t GetIrmsLimitMode();
int32_t GetIpkLimitMode();
int32_t GetPeakHoldTime();
int32_t GetRemoteSense();
int32_t GetExtControl();
int32_t GetPhaseSetChange();
int32_t GetTriggerWidth();
int32_t GetTriggerSource();
int32_t GetAcvUnit();  // 0 Vrms, 1 Vpp
int32_t GetParallelPosition();
int32_t GetParallelNumber();
int32_t GetParallelEnable();
int32_t GetFrequencyMax();
int32_t GetFrequencyMin();
int32_t GetAcvMax(int phase);
int32_t GetAcvMin(int phase);
int32_t GetAcvLimitMax(int phase);
int32_t GetOnPhaseState(int phase);
int32_t GetOffPhaseState(int phase);

// --- State setters. ---
// 0 or 1 only. A change is looked for in the phase's record, or in edit-all mode in every phase of the
// wiring; when found, the phase's state and its shadow word are set. Returns the phase's state.
int32_t SetOnPhaseState(int32_t state, int phase);
int32_t SetOffPhaseState(int32_t state, int phase);
// 0 "Unbalance" or 1 "Balance"; other values are ignored. Returns the stored value.
int32_t SetPhaseBalanceMode(int32_t v);

// --- Mode, range, wiring and waveform. ---
// Output mode 0-9 (AC+DC-INT ... AC-VCA), kept in g_OutputModeIdx.
uint32_t GetOutputMode();
uint32_t SetOutputMode(uint32_t mode);
// Range code: 3P4W/1P3W 0 100 V, 1 200 V, 4 AUTO; 1P2W 2, 3, 6. A code of the other wiring is taken over;
// AUTO is refused in the EXT and ADD modes. Returns the current mode's code.
uint32_t SetVoltRange(uint32_t code);
uint32_t GetVoltRangeCode();
int32_t GetVoltRange();  // user range 0 "100V", 1 "200V", 2 "AUTO"
uint32_t RangeUserToCode(uint32_t userRange);
uint32_t SetPhaseMode(uint32_t v);
uint32_t GetPhaseMode();
// Waveform numbers 0-255 (16 SIN, 17 SQU, 18 TRI); refused in the modes without an internal waveform.
int32_t SetWaveformSel(int32_t w);
int32_t SetWaveform(int32_t w, int phase);
int32_t SetWaveform_L1(int32_t w);
int32_t GetWaveformSel();
int32_t GetWaveform(int phase);
// Square-wave duty (0.1 %) within the caller's bounds; a refusal posts user message 27.
int32_t SetWaveDuty(int32_t duty, int phase, int32_t max, int32_t min);
int32_t GetWaveDutySel();
int32_t GetWaveDuty(int phase);
// The phase's duty adjusted to the frequency (0.01 Hz).
int32_t GetDutyForFreq(int32_t freq, int phase);
void PeakClearRequest();

// --- Register writers. ---
// Monitor sources 0-5 into their 3-bit field of register 2448; other sources leave the field. Return 0.
int SetMonitorSource1(int32_t s);
int SetMonitorSource2(int32_t s);
int SetTriggerSourceBits(int32_t s);
// ON/OFF phase enables of the phase into g_OutputOptionWord; written to 2348 while settled. Returns 0.
int ApplyPhaseStartStopEnable(int phase);
// Peak-current limits of the phase by the limit mode; returns the lower limit.
int32_t ApplyIpkLimits(int phase);
// Monitor scale factors (registers 2449, 2450); returns the monitor amplitude setting.
int32_t ApplyMonitorScale();

// --- Predicates. ---
int IsVoltResponseLocked();
int IsBalanceActive();
// 0 remote sensing allowed; 1 output mode, 2 AUTO range, 4 a phase not on SIN, 3 output impedance on.
int RemoteSenseBlockReason();
int IsAcvVpp(int32_t w);
int IsAcIntNoSeqSim();

// --- Conversions. ---
// Entry w of the per-waveform factor table; 0 for a number outside 0-255.
float GetWaveCrestFactor(int waveform);
int32_t RmsToVpp(int32_t v, float f);
int32_t VppToRms(int32_t v, float f);

// --- Bulk operations. ---
// The stored voltage of the given record set for the phase, the current mode, the area of the user range
// and the phase's waveform, without the automatic switch between the sets.
int32_t GetAcvSetRms(int phase);
int32_t GetDcvSetRms(int phase);
int32_t GetAcvSetVpp(int phase);
int32_t GetDcvSetVpp(int phase);
// Zeroes the AC and DC voltages of every waveform, both record sets, of the current mode and voltage area
// for L1-L3, with their output shadow words.
void ZeroAllVoltages();
// Puts one phase's output settings back to their start values, in the store and on the power stage.
void OutputPhaseInit(int phase);
void SeqSimEnterRequest();
// Stores the normal settings again through their setters after a SEQ/SIM run.
void ReapplyAfterSeqSim();

namespace core {
// Sets the peak factor of a waveform: the per-waveform table and word 11 of every AC voltage record of
// that waveform.
void ParamSetWaveFactor(uint32_t waveform, float factor);

// Monitor source word (register 2448): bits 0-2 source 1, bits 3-5 source 2.
extern std::atomic<uint32_t> g_MonitorSourceWord;
// Trigger source bits 0-2.
extern std::atomic<uint8_t> g_TrigSourceBits;
// Nonzero until the control task's first pass has ended; while it is set, OutputPhaseInit leaves the
// waveform, gain and voltages to the settings that are being loaded.
extern std::atomic<uint32_t> g_CtrlStartupWord;
// The SEQ/SIM output-reset request, set with shadow word 47 on entering SEQUENCE or SIMULATE; while SEQ/SIM
// is active the control task then switches remote sensing off and clears it.
extern std::atomic<uint32_t> g_SeqSimOutputReset;

// The wiring, edit and request words of the access layer back to their start values (tests).
// Tests start each case from a clean state through it.
void ParamAccessReset();

// The range code as the wiring names it: 1P2W 0/1/4 -> 2/3/6, the other wirings 2/3/6 -> 0/1/4.
uint32_t RangeCodeForWiring(uint32_t code, uint32_t phaseMode);
// Range code -> user range (0 100 V, 1 200 V, 2 AUTO) in the given wiring.
int32_t UserRangeOfCode(uint32_t code, uint32_t phaseMode);
}  // namespace core
