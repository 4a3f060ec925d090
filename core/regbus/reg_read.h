#pragma once
// Accessors of the power stage's read registers. Phases are 0-2 (L1-L3); measurement rows 0-6 (phases,
// line-to-line L1-L2, L2-L3, L3-L1, total). A phase or row outside its range reads 0 without a transfer.
// Every read passes force 0, so it is silenced while the bus is held.
#include <cstdint>

// kept: the register bus's reads of one word of the stage's harmonic tables, for callers to come.
// Harmonic tables (word n): of the unit's phase, and of the whole parallel system.
uint32_t BusReg_ReadHarmonic(int phase, uint32_t n);
uint32_t BusReg_ReadHarmonicSys(int phase, uint32_t n);
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
// kept: the register bus's getter of alarm word 2; the alarm poll reads it with the others in one hold.
uint32_t BusReg_GetAlarmWord2();             // 2091
// 2085, 2086-2088 and 2091 as the three getters above read them, in one hold of the bus: the alarm
// monitor's poll on every pass.
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
// kept: the register bus's getters of power and crest factor; the program reads the block at once.
int32_t BusReg_GetPF(int phase);             // 2212 + phase, power factor x 1000
int32_t BusReg_GetPFTotal();                 // 2218
int32_t BusReg_GetCF(int phase);             // 2219 + phase, crest factor x 100
int32_t BusReg_GetCFTotal();                 // 2225
int32_t BusReg_GetSlaveCounter(int n);       // 2246 + n, n 0-5

// kept: the register bus's getter of each measurement register, for callers to come; the program reads the block at once.
// Float measurements: rows 0-6, and the row-6 (total) value.
float BusReg_GetVrms(int row);
float BusReg_GetVrmsTotal();
float BusReg_GetIrms(int row);
float BusReg_GetIrmsTotal();
float BusReg_GetPower(int row);
float BusReg_GetPowerTotal();
float BusReg_GetVmax(int row);
float BusReg_GetVmaxTotal();
float BusReg_GetVmin(int row);
float BusReg_GetVminTotal();
float BusReg_GetImax(int row);
float BusReg_GetImaxTotal();
float BusReg_GetImin(int row);
float BusReg_GetIminTotal();
float BusReg_GetIpkHold(int row);
float BusReg_GetIpkHoldTotal();
float BusReg_GetVavg(int row);
float BusReg_GetVavgTotal();
float BusReg_GetIavg(int row);
float BusReg_GetIavgTotal();
float BusReg_GetApparent(int row);
float BusReg_GetApparentTotal();
float BusReg_GetReactive(int row);
float BusReg_GetReactiveTotal();
float BusReg_GetMeasWord54(int row);  // 2226 + row
float BusReg_GetVpkHold(int phase);   // 2229 + phase
float BusReg_GetVpkHoldTotal();       // 2232

// Returns 0 without a transfer.
int BusReg_Reserved0();
