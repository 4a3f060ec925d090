#pragma once
// Accessors of the power stage's write registers. Each writes its register through BusReg_WriteIntEx (or
// the float and guarded writers) with force 0, in the register's own encoding; phases are 0-2 (L1-L3).
// They return 0, or -1 without a transfer when a phase argument lies outside 0-2.
#include <atomic>
#include <cstdint>

#include "core/regbus/phase.h"

// Sequencer command word of register 2351: the low byte is the command (1 run, 2 stop, 4 hold, 8 branch 1,
// 16 branch 2); the whole 16-bit word is written.
extern std::atomic<uint16_t> g_SeqSimCmd;

int BusReg_SetWaveform(regbus::Phase phase, int32_t wave);  // 1-based waveform number
int BusReg_Apply(int32_t any);                    // apply strobe 2340 (always sends 1)
int BusReg_ApplyAfterSeqSim();
int BusReg_SetVoltUnit(int32_t v);
int BusReg_SetSignal(int32_t v);
int BusReg_SetVoltSlew(int32_t v);
int BusReg_PeakHoldClear(int32_t mask);
int BusReg_AlarmClear(int32_t v);
int BusReg_SetOutputOnOff(int32_t v);
int BusReg_SetVoltRange(int32_t code);
int BusReg_SetServiceFlags(int32_t word);
int BusReg_SetModelType(int32_t id);  // register gets model type + 1
int BusReg_SeqSimRun();
int BusReg_SeqSimStop();
int BusReg_SeqSimHold();
int BusReg_SeqSimBranch1();
int BusReg_SeqSimBranch2();
int BusReg_SetSeqSimMode(int32_t mode);  // 0 -> 2, 1 -> 0, 2 -> 1, other -> 0
int BusReg_SetCaliMode(int32_t v);
int BusReg_SetCaliCmd(int32_t v);
int BusReg_SetPhaseMode(int32_t v);  // 0 3P4W, 1 1P2W, 2 1P3W
int BusReg_SetPowerLimitTotal(int32_t v);
int BusReg_SetPowerLimitPhase(int32_t v);
int BusReg_SetFanSlew(int32_t v);
int BusReg_SetSource(int32_t v, regbus::Phase phase);
int BusReg_SetTrigOutSource(int32_t v);
int BusReg_SetOnPhase(int32_t v, regbus::Phase phase);   // 0.1 degree
int BusReg_SetOffPhase(int32_t v, regbus::Phase phase);  // 0.1 degree
int BusReg_SetSyncPhase(int32_t v);            // 0.1 degree
int BusReg_SetAcv(regbus::Phase phase, int32_t v);  // 0.01 V
int BusReg_SetDcv(regbus::Phase phase, int32_t v);  // 0.01 V
int BusReg_SetGain(int32_t v, regbus::Phase phase);
int BusReg_SetIrmsLimit(int32_t v, regbus::Phase phase);  // 0.01 A
int BusReg_SetIpkOffHigh(int32_t v, regbus::Phase phase);
int BusReg_SetIpkOffLow(int32_t v, regbus::Phase phase);
int BusReg_SetIpkLimitHigh(int32_t v, regbus::Phase phase);
int BusReg_SetIpkLimitLow(int32_t v, regbus::Phase phase);
int BusReg_SetPeakHoldTime(int32_t v);     // to 2412, 2413, 2464, 2465, 2466 and last 2411
int BusReg_SetFreq(int32_t v, regbus::Phase phase);  // 0.01 Hz
int BusReg_SetAvgCurrCompKp(int32_t v);
int BusReg_SetAvgCurrCompKi(int32_t v);
int BusReg_SetFanDutyMax(int32_t v);
int BusReg_SetFanDutyMin(int32_t v);
int BusReg_SetCaliAvgCount(int32_t v);
int BusReg_SetArbUpdate(int32_t v);
int BusReg_SetBootCtrl(int32_t v);
int BusReg_SetMonitorSource(int32_t v);
int BusReg_SetMonitorScale1(float scale);
int BusReg_SetMonitorScale2(float scale);
int BusReg_SetHarmCapture(int32_t v);
int BusReg_SetL1Inductance(int32_t v);
int BusReg_SetL2Inductance(int32_t v);
int BusReg_SetL3Inductance(int32_t v);
int BusReg_SetL1Resistance(int32_t v);
int BusReg_SetL2Resistance(int32_t v);
int BusReg_SetL3Resistance(int32_t v);
int BusReg_SetDuty(regbus::Phase phase, int32_t v);  // 0.1 %
int BusReg_SetRdDefine1(int32_t v);
int BusReg_SetRdDefine2(int32_t v);
int BusReg_SetRdDefine3(int32_t v);
int BusReg_SetRdDefine4(int32_t v);
int BusReg_SetRdDefine5(int32_t v);
int BusReg_SetPowerStageEnable(int32_t v);
int BusReg_SetParallelCtrl(int32_t v);
int BusReg_SetParallelFrame(uint32_t frame);  // waits 1 ms first
