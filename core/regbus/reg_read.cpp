#include "core/regbus/reg_read.h"

#include <iterator>

#include "core/regbus/bus_transfer.h"
#include "platform/stage/reg_map.h"

using namespace regmap;

namespace {

bool ValidPhase(int phase) {
    return phase >= 0 && phase <= 2;
}

uint32_t ReadWord(uint32_t reg) {
    return static_cast<uint32_t>(BusReg_ReadInt(0, reg));
}

int32_t ReadPhaseInt(const regmap::Block& block, int phase) {
    return ValidPhase(phase) ? BusReg_ReadInt(0, block.at(static_cast<uint32_t>(phase))) : 0;
}

}  // namespace

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
int32_t BusReg_GetSlaveCounter(int n) {
    return n >= 0 && n <= 5 ? BusReg_ReadInt(0, kSlaveCounter.at(static_cast<uint32_t>(n))) : 0;
}

int BusReg_Reserved0() {
    return 0;
}
