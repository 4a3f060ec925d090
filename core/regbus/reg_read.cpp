#include "core/regbus/reg_read.h"

#include <iterator>

#include "core/regbus/bus_transfer.h"
#include "platform/stage/reg_map.h"

using namespace regmap;

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

int32_t ReadPhaseInt(const regmap::Block& block, int phase) {
    return ValidPhase(phase) ? BusReg_ReadInt(0, block.at(static_cast<uint32_t>(phase))) : 0;
}

// Every row accessor takes rows 0-6, also for the three-row block of kMeasWord54, whose rows 3-6 fall on
// the voltage peak holds.
float ReadRow(const regmap::Block& block, int row) {
    return ValidRow(row) ? BusReg_ReadFloat(block.first + static_cast<uint32_t>(row)) : 0.0f;
}

float ReadTotal(const regmap::Block& block) {
    return BusReg_ReadFloat(block.at(regmap::kTotalRow));
}

}  // namespace

uint32_t BusReg_ReadHarmonic(int phase, uint32_t n) {
    return ValidPhase(phase) ? BusReg_ReadAt(0, kHarmonic.at(static_cast<uint32_t>(phase)), n) : 0;
}

uint32_t BusReg_ReadHarmonicSys(int phase, uint32_t n) {
    return ValidPhase(phase) ? BusReg_ReadAt(0, kHarmonicSys.at(static_cast<uint32_t>(phase)), n) : 0;
}

int32_t BusReg_GetLinkRxWord(int channel, uint32_t n) {
    return channel >= 0 && channel <= 5 ? BusReg_ReadIntAt(0, kLinkRx.at(static_cast<uint32_t>(channel)), n)
                                        : 0;
}

uint32_t BusReg_GetStatus() {
    return ReadWord(kStatus);
}
uint32_t BusReg_GetStatusHigh() {
    return (BusReg_GetStatus() >> 8) & 0xFFu;
}
uint32_t BusReg_GetParallelStatus() {
    return ReadWord(kParallelStatus);
}
int32_t BusReg_GetBootStatus() {
    return BusReg_ReadInt(0, kBootStatus);
}
int32_t BusReg_GetModuleWord(int phase) {
    return ReadPhaseInt(kModuleWord, phase);
}
int32_t BusReg_GetModuleVersion(int phase) {
    return (ReadPhaseInt(kModuleWord, phase) >> 8) & 0xFF;
}
uint32_t BusReg_GetOutputStatus() {
    return ReadWord(kOutputStatus);
}
uint32_t BusReg_GetAlarmWord(int phase) {
    return static_cast<uint32_t>(ReadPhaseInt(kAlarmWord, phase));
}
uint32_t BusReg_GetAlarmWord2() {
    return ReadWord(kAlarmWord2);
}
BusAlarmWords BusReg_GetAlarmWords() {
    const uint32_t regs[] = {kOutputStatus, kAlarmWord.at(0), kAlarmWord.at(1), kAlarmWord.at(2), kAlarmWord2};
    uint32_t words[std::size(regs)];
    BusReg_ReadBurst(regs, std::size(regs), words);
    const auto word = [&](size_t i) { return static_cast<uint32_t>(BusReg_IntOfWord(regs[i], words[i])); };
    return {word(0), {word(1), word(2), word(3)}, word(4)};
}
uint32_t BusReg_GetHarmStatus() {
    return ReadWord(kHarmStatus) & 0xFFFFu;
}
int32_t BusReg_GetModuleType(int phase) {
    return ReadPhaseInt(kModuleType, phase);
}
int32_t BusReg_GetRunStep() {
    return BusReg_ReadInt(0, kRunStep);
}
int32_t BusReg_GetRunState() {
    return BusReg_ReadInt(0, kRunState);
}
uint32_t BusReg_GetCaliStatus() {
    return ReadWord(kCaliStatus);
}
int32_t BusReg_GetModulePresent(int phase) {
    return ReadPhaseInt(kModulePresent, phase);
}
int32_t BusReg_GetRepeatCount() {
    return BusReg_ReadInt(0, kRepeatCount);
}
int32_t BusReg_GetRunTime() {
    return BusReg_ReadInt(0, kRunTime);
}
int32_t BusReg_GetPF(int phase) {
    return ReadPhaseInt(kPowerFactor, phase);
}
int32_t BusReg_GetPFTotal() {
    return BusReg_ReadInt(0, kPowerFactor.at(kTotalRow));
}
int32_t BusReg_GetCF(int phase) {
    return ReadPhaseInt(kCrestFactor, phase);
}
int32_t BusReg_GetCFTotal() {
    return BusReg_ReadInt(0, kCrestFactor.at(kTotalRow));
}
int32_t BusReg_GetSlaveCounter(int n) {
    return n >= 0 && n <= 5 ? BusReg_ReadInt(0, kSlaveCounter.at(static_cast<uint32_t>(n))) : 0;
}

float BusReg_GetVrms(int row) {
    return ReadRow(kVrms, row);
}
float BusReg_GetVrmsTotal() {
    return ReadTotal(kVrms);
}
float BusReg_GetIrms(int row) {
    return ReadRow(kIrms, row);
}
float BusReg_GetIrmsTotal() {
    return ReadTotal(kIrms);
}
float BusReg_GetPower(int row) {
    return ReadRow(kPower, row);
}
float BusReg_GetPowerTotal() {
    return ReadTotal(kPower);
}
float BusReg_GetVmax(int row) {
    return ReadRow(kVmax, row);
}
float BusReg_GetVmaxTotal() {
    return ReadTotal(kVmax);
}
float BusReg_GetVmin(int row) {
    return ReadRow(kVmin, row);
}
float BusReg_GetVminTotal() {
    return ReadTotal(kVmin);
}
float BusReg_GetImax(int row) {
    return ReadRow(kImax, row);
}
float BusReg_GetImaxTotal() {
    return ReadTotal(kImax);
}
float BusReg_GetImin(int row) {
    return ReadRow(kImin, row);
}
float BusReg_GetIminTotal() {
    return ReadTotal(kImin);
}
float BusReg_GetIpkHold(int row) {
    return ReadRow(kIpkHold, row);
}
float BusReg_GetIpkHoldTotal() {
    return ReadTotal(kIpkHold);
}
float BusReg_GetVavg(int row) {
    return ReadRow(kVavg, row);
}
float BusReg_GetVavgTotal() {
    return ReadTotal(kVavg);
}
float BusReg_GetIavg(int row) {
    return ReadRow(kIavg, row);
}
float BusReg_GetIavgTotal() {
    return ReadTotal(kIavg);
}
float BusReg_GetApparent(int row) {
    return ReadRow(kApparent, row);
}
float BusReg_GetApparentTotal() {
    return ReadTotal(kApparent);
}
float BusReg_GetReactive(int row) {
    return ReadRow(kReactive, row);
}
float BusReg_GetReactiveTotal() {
    return ReadTotal(kReactive);
}
float BusReg_GetMeasWord54(int row) {
    return ReadRow(kMeasWord54, row);
}
float BusReg_GetVpkHold(int phase) {
    return ValidPhase(phase) ? ReadRow(kVpkHold, phase) : 0.0f;
}
float BusReg_GetVpkHoldTotal() {
    return BusReg_ReadFloat(kVpkHold.last());
}

int BusReg_Reserved0() {
    return 0;
}
