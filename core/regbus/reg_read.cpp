#include "core/regbus/reg_read.h"

#include "core/regbus/bus_transfer.h"

namespace {

bool ValidPhase(int phase) {
    return phase >= 0 && phase <= 2;
}
bool ValidRow(int row) {
    return row >= 0 && row <= 6;
}

uint32_t ReadWord(uint32_t reg) {
    return static_cast<uint32_t>(BusReg_ReadInt(0, reg));
}

int32_t ReadPhaseInt(uint32_t first, int phase) {
    return ValidPhase(phase) ? BusReg_ReadInt(0, first + static_cast<uint32_t>(phase)) : 0;
}

float ReadRow(uint32_t first, int row) {
    return ValidRow(row) ? BusReg_ReadFloat(first + static_cast<uint32_t>(row)) : 0.0f;
}

constexpr uint32_t kTotalRow = 6;

// First registers of the float quantities, 7 rows each.
constexpr uint32_t kVrms = 2128, kIrms = 2135, kPower = 2142, kVmax = 2149, kVmin = 2156, kImax = 2163,
                   kImin = 2170, kIpkHold = 2177, kVavg = 2184, kIavg = 2191, kApparent = 2198,
                   kReactive = 2205, kMeasWord54 = 2226, kVpkHold = 2229;

}  // namespace

uint32_t BusReg_ReadHarmonic(int phase, uint32_t n) {
    return ValidPhase(phase) ? BusReg_ReadAt(0, static_cast<uint32_t>(phase), n) : 0;
}

uint32_t BusReg_ReadHarmonicSys(int phase, uint32_t n) {
    return ValidPhase(phase) ? BusReg_ReadAt(0, 3u + static_cast<uint32_t>(phase), n) : 0;
}

int32_t BusReg_GetLinkRxWord(int channel, uint32_t n) {
    return channel >= 0 && channel <= 5 ? BusReg_ReadIntAt(0, 98u + static_cast<uint32_t>(channel), n) : 0;
}

uint32_t BusReg_GetStatus() {
    return ReadWord(2048);
}
uint32_t BusReg_GetStatusHigh() {
    return (BusReg_GetStatus() >> 8) & 0xFFu;
}
uint32_t BusReg_GetParallelStatus() {
    return ReadWord(2050);
}
int32_t BusReg_GetBootStatus() {
    return BusReg_ReadInt(0, 2080);
}
int32_t BusReg_GetModuleWord(int phase) {
    return ReadPhaseInt(2081, phase);
}
int32_t BusReg_GetModuleVersion(int phase) {
    return (ReadPhaseInt(2081, phase) >> 8) & 0xFF;
}
uint32_t BusReg_GetOutputStatus() {
    return ReadWord(2085);
}
uint32_t BusReg_GetAlarmWord(int phase) {
    return static_cast<uint32_t>(ReadPhaseInt(2086, phase));
}
uint32_t BusReg_GetAlarmWord2() {
    return ReadWord(2091);
}
uint32_t BusReg_GetHarmStatus() {
    return ReadWord(2092) & 0xFFFFu;
}
int32_t BusReg_GetModuleType(int phase) {
    return ReadPhaseInt(2093, phase);
}
int32_t BusReg_GetRunStep() {
    return BusReg_ReadInt(0, 2096);
}
int32_t BusReg_GetRunState() {
    return BusReg_ReadInt(0, 2097);
}
uint32_t BusReg_GetCaliStatus() {
    return ReadWord(2098);
}
int32_t BusReg_GetModulePresent(int phase) {
    return ReadPhaseInt(2099, phase);
}
int32_t BusReg_GetRepeatCount() {
    return BusReg_ReadInt(0, 2102);
}
int32_t BusReg_GetRunTime() {
    return BusReg_ReadInt(0, 2103);
}
int32_t BusReg_GetPF(int phase) {
    return ReadPhaseInt(2212, phase);
}
int32_t BusReg_GetPFTotal() {
    return BusReg_ReadInt(0, 2218);
}
int32_t BusReg_GetCF(int phase) {
    return ReadPhaseInt(2219, phase);
}
int32_t BusReg_GetCFTotal() {
    return BusReg_ReadInt(0, 2225);
}
int32_t BusReg_GetSlaveCounter(int n) {
    return n >= 0 && n <= 5 ? BusReg_ReadInt(0, 2246u + static_cast<uint32_t>(n)) : 0;
}

float BusReg_GetVrms(int row) {
    return ReadRow(kVrms, row);
}
float BusReg_GetVrmsTotal() {
    return BusReg_ReadFloat(kVrms + kTotalRow);
}
float BusReg_GetIrms(int row) {
    return ReadRow(kIrms, row);
}
float BusReg_GetIrmsTotal() {
    return BusReg_ReadFloat(kIrms + kTotalRow);
}
float BusReg_GetPower(int row) {
    return ReadRow(kPower, row);
}
float BusReg_GetPowerTotal() {
    return BusReg_ReadFloat(kPower + kTotalRow);
}
float BusReg_GetVmax(int row) {
    return ReadRow(kVmax, row);
}
float BusReg_GetVmaxTotal() {
    return BusReg_ReadFloat(kVmax + kTotalRow);
}
float BusReg_GetVmin(int row) {
    return ReadRow(kVmin, row);
}
float BusReg_GetVminTotal() {
    return BusReg_ReadFloat(kVmin + kTotalRow);
}
float BusReg_GetImax(int row) {
    return ReadRow(kImax, row);
}
float BusReg_GetImaxTotal() {
    return BusReg_ReadFloat(kImax + kTotalRow);
}
float BusReg_GetImin(int row) {
    return ReadRow(kImin, row);
}
float BusReg_GetIminTotal() {
    return BusReg_ReadFloat(kImin + kTotalRow);
}
float BusReg_GetIpkHold(int row) {
    return ReadRow(kIpkHold, row);
}
float BusReg_GetIpkHoldTotal() {
    return BusReg_ReadFloat(kIpkHold + kTotalRow);
}
float BusReg_GetVavg(int row) {
    return ReadRow(kVavg, row);
}
float BusReg_GetVavgTotal() {
    return BusReg_ReadFloat(kVavg + kTotalRow);
}
float BusReg_GetIavg(int row) {
    return ReadRow(kIavg, row);
}
float BusReg_GetIavgTotal() {
    return BusReg_ReadFloat(kIavg + kTotalRow);
}
float BusReg_GetApparent(int row) {
    return ReadRow(kApparent, row);
}
float BusReg_GetApparentTotal() {
    return BusReg_ReadFloat(kApparent + kTotalRow);
}
float BusReg_GetReactive(int row) {
    return ReadRow(kReactive, row);
}
float BusReg_GetReactiveTotal() {
    return BusReg_ReadFloat(kReactive + kTotalRow);
}
float BusReg_GetMeasWord54(int row) {
    return ReadRow(kMeasWord54, row);
}
float BusReg_GetVpkHold(int phase) {
    return ValidPhase(phase) ? ReadRow(kVpkHold, phase) : 0.0f;
}
float BusReg_GetVpkHoldTotal() {
    return BusReg_ReadFloat(2232);
}

int BusReg_Reserved0() {
    return 0;
}
