#pragma once
// Accessors of the step registers 768-803: the power stage keeps one copy per SEQ/SIM step, and every
// transfer addresses the copy of the current step (current step + step base). Values in the units of the
// SEQ/SIM steps; phases 0-2 (-1 without a transfer otherwise).
#include <cstdint>

#include "core/regbus/phase.h"

int BusReg_SetStepStatus(int32_t v);               // 768, status and synchronisation word
int BusReg_SetStepCtrl(int32_t v, regbus::Phase phase);      // 769 + phase, waveform and ON/OFF enables
int BusReg_SetStepDcv(int32_t v, regbus::Phase phase);       // 772 + phase, 0.01 V
int BusReg_SetStepAcv(int32_t v, regbus::Phase phase);       // 775 + phase, 0.01 V
int BusReg_SetStepFreq(int32_t v, regbus::Phase phase);      // 778 + phase, 0.01 Hz
int BusReg_SetStepOnPhase(int32_t v, regbus::Phase phase);   // 781 + phase, 0.1 degree
int BusReg_SetStepOffPhase(int32_t v, regbus::Phase phase);  // 784 + phase, 0.1 degree
int BusReg_SetStepJumpTo(int32_t step);            // 787
int BusReg_SetStepJumpCount(int32_t n);            // 788, 0 endless
int BusReg_SetStepBranch1(int32_t step);           // 789
int BusReg_SetStepBranch2(int32_t step);           // 790
int BusReg_SetStepTime(int32_t t);                 // 791, 0.1 ms
int BusReg_SetStepWord798(int32_t v);              // 798, sent as v / 10
int BusReg_SetStepPhaseL2(int32_t angle);          // 799, 3600 - angle sent as / 10
int BusReg_SetStepPhaseL3(int32_t angle);          // 800
int BusReg_SetStepDuty(int32_t v, regbus::Phase phase);  // 801 + phase, 0.1 %
