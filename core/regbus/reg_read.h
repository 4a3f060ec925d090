#pragma once
// Accessors of the power stage's read registers. Phases are 0-2 (L1-L3); a phase outside its range reads 0
// without a transfer. The measurements are read as one block by the meter (core/control/measure).
// Every read passes force 0, so it is silenced while the bus is held.
#include <cstdint>

// Parallel-link receive word n of channel 0-5 (registers 98-103).
int32_t BusReg_GetLinkRxWord(int channel, uint32_t n);

uint32_t BusReg_GetStatus();                 // 2048
uint32_t BusReg_GetStatusHigh();             // bits 8-15 of 2048: identifies the power stage, 0-255
uint32_t BusReg_GetParallelStatus();         // 2050
int32_t BusReg_GetBootStatus();              // 2080: nonzero once the stage's controller has booted
int32_t BusReg_GetModuleWord(int phase);     // 2081 + phase
int32_t BusReg_GetModuleVersion(int phase);  // bits 8-15 of 2081 + phase
uint32_t BusReg_GetOutputStatus();           // 2085: bit 0 output on, bit 7 not ready, bits 14-15 wiring
uint32_t BusReg_GetAlarmWord(int phase);     // 2086 + phase
// 2085, 2086-2088 and 2091 (the system's alarm word) in one hold of the bus: the alarm monitor's poll on
// every pass.
struct BusAlarmWords {
    uint32_t outputStatus;
    uint32_t phase[3];
    uint32_t system;
};
BusAlarmWords BusReg_GetAlarmWords();
uint32_t BusReg_GetHarmStatus();             // low 16 bits of 2092
int32_t BusReg_GetModuleType(int phase);     // 2093 + phase
int32_t BusReg_GetRunStep();                 // 2096
int32_t BusReg_GetRunState();                // 2097: 2 running, 3 paused or waiting for a trigger
uint32_t BusReg_GetCaliStatus();             // 2098
int32_t BusReg_GetModulePresent(int phase);  // 2099 + phase: below 1 when the module is missing
int32_t BusReg_GetRepeatCount();             // 2102
int32_t BusReg_GetRunTime();                 // 2103, units of 10 us
int32_t BusReg_GetSlaveCounter(int n);       // 2246 + n, n 0-5

// Returns 0 without a transfer.
int BusReg_Reserved0();
