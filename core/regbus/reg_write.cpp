// Write accessors that carry only a register number, a phase offset and the register's encoding.
#include "core/regbus/reg_write.h"

#include "core/regbus/bus_transfer.h"
#include "platform/host/clock.h"
#include "platform/stage/reg_map.h"

namespace {

int Write(uint32_t reg, int32_t v) {
    return BusReg_WriteIntEx(0, reg, v);
}

int WritePhase(const regmap::Block& block, regbus::Phase at, int32_t v) {
    const int phase = at.index;
    if (phase < 0 || phase > 2) return -1;
    return BusReg_WriteIntEx(0, block.at(static_cast<uint32_t>(phase)), v);
}

}  // namespace

int BusReg_SetWaveform(regbus::Phase phase, int32_t wave) {
    return WritePhase(regmap::kWaveform, phase, wave);
}
int BusReg_Apply(int32_t any) {
    return Write(regmap::kApply, any);
}
int BusReg_ApplyAfterSeqSim() {
    return Write(regmap::kApply, 1);
}
int BusReg_SetVoltUnit(int32_t v) {
    return Write(regmap::kVoltUnit, v);
}
int BusReg_SetSignal(int32_t v) {
    return Write(regmap::kSignal, v);
}
int BusReg_SetVoltSlew(int32_t v) {
    return Write(regmap::kVoltSlew, v);
}
int BusReg_PeakHoldClear(int32_t mask) {
    return Write(regmap::kPeakHoldClear, mask);
}
int BusReg_AlarmClear(int32_t v) {
    return Write(regmap::kAlarmClear, v);
}
int BusReg_SetOutputOnOff(int32_t v) {
    return Write(regmap::kOutputOn, v);
}
int BusReg_SetVoltRange(int32_t code) {
    return Write(regmap::kVoltRange, code);
}
int BusReg_SetServiceFlags(int32_t word) {
    return Write(regmap::kServiceFlags, word);
}
int BusReg_SetModelType(int32_t id) {
    return Write(regmap::kModelType, id + 1);
}
int BusReg_SetCaliMode(int32_t v) {
    return Write(regmap::kCaliMode, v);
}
int BusReg_SetCaliCmd(int32_t v) {
    return Write(regmap::kCaliCmd, v);
}
int BusReg_SetPhaseMode(int32_t v) {
    return Write(regmap::kPhaseMode, v);
}
int BusReg_SetPowerLimitTotal(int32_t v) {
    return Write(regmap::kPowerLimitTotal, v);
}
int BusReg_SetPowerLimitPhase(int32_t v) {
    return Write(regmap::kPowerLimitPhase, v);
}
int BusReg_SetFanSlew(int32_t v) {
    return Write(regmap::kFanSlew, v);
}
int BusReg_SetSource(int32_t v, regbus::Phase phase) {
    return WritePhase(regmap::kSource, phase, v);
}
int BusReg_SetTrigOutSource(int32_t v) {
    return Write(regmap::kTrigOutSource, v);
}
int BusReg_SetOnPhase(int32_t v, regbus::Phase phase) {
    return WritePhase(regmap::kOnPhase, phase, v);
}
int BusReg_SetOffPhase(int32_t v, regbus::Phase phase) {
    return WritePhase(regmap::kOffPhase, phase, v);
}
int BusReg_SetSyncPhase(int32_t v) {
    return Write(regmap::kSyncPhase, v);
}
int BusReg_SetAcv(regbus::Phase phase, int32_t v) {
    return WritePhase(regmap::kAcv, phase, v);
}
int BusReg_SetDcv(regbus::Phase phase, int32_t v) {
    return WritePhase(regmap::kDcv, phase, v);
}
int BusReg_SetGain(int32_t v, regbus::Phase phase) {
    return WritePhase(regmap::kGain, phase, v);
}
int BusReg_SetIrmsLimit(int32_t v, regbus::Phase phase) {
    return WritePhase(regmap::kIrmsLimit, phase, v);
}
int BusReg_SetIpkOffHigh(int32_t v, regbus::Phase phase) {
    return WritePhase(regmap::kIpkOffHigh, phase, v);
}
int BusReg_SetIpkOffLow(int32_t v, regbus::Phase phase) {
    return WritePhase(regmap::kIpkOffLow, phase, v);
}
int BusReg_SetIpkLimitHigh(int32_t v, regbus::Phase phase) {
    return WritePhase(regmap::kIpkLimitHigh, phase, v);
}
int BusReg_SetIpkLimitLow(int32_t v, regbus::Phase phase) {
    return WritePhase(regmap::kIpkLimitLow, phase, v);
}

int BusReg_SetPeakHoldTime(int32_t v) {
    // In the order the power stage expects them, the first register of the first block last.
    using regmap::kPeakHoldTimeA, regmap::kPeakHoldTimeB;
    for (uint32_t reg : {kPeakHoldTimeA.at(1), kPeakHoldTimeA.at(2), kPeakHoldTimeB.at(0),
                         kPeakHoldTimeB.at(1), kPeakHoldTimeB.at(2), kPeakHoldTimeA.at(0)})
        (void)Write(reg, v);  // all six pass the same hold: none is refused alone
    return 0;
}

int BusReg_SetFreq(int32_t v, regbus::Phase phase) {
    return WritePhase(regmap::kOutputFreq, phase, v);
}
int BusReg_SetAvgCurrCompKp(int32_t v) {
    return Write(regmap::kAvgCurrCompKp, v);
}
int BusReg_SetAvgCurrCompKi(int32_t v) {
    return Write(regmap::kAvgCurrCompKi, v);
}
int BusReg_SetFanDutyMax(int32_t v) {
    return Write(regmap::kFanDutyMax, v);
}
int BusReg_SetFanDutyMin(int32_t v) {
    return Write(regmap::kFanDutyMin, v);
}
int BusReg_SetCaliAvgCount(int32_t v) {
    return Write(regmap::kCaliAvgCount, v);
}
int BusReg_SetArbUpdate(int32_t v) {
    return Write(regmap::kArbUpdate, v);
}
int BusReg_SetBootCtrl(int32_t v) {
    return BusReg_WriteGuarded2447(0, regmap::kBootCtrl, v);
}
int BusReg_SetMonitorSource(int32_t v) {
    return Write(regmap::kMonitorSource, v);
}
int BusReg_SetMonitorScale1(float scale) {
    return BusReg_WriteFloat(0, regmap::kMonitorScale1, scale);
}
int BusReg_SetMonitorScale2(float scale) {
    return BusReg_WriteFloat(0, regmap::kMonitorScale2, scale);
}
int BusReg_SetHarmCapture(int32_t v) {
    return Write(regmap::kHarmCapture, v);
}
int BusReg_SetL1Inductance(int32_t v) {
    return Write(regmap::kInductance.at(0), v);
}
int BusReg_SetL1Resistance(int32_t v) {
    return Write(regmap::kResistance.at(0), v);
}
int BusReg_SetL2Inductance(int32_t v) {
    return Write(regmap::kInductance.at(1), v);
}
int BusReg_SetL2Resistance(int32_t v) {
    return Write(regmap::kResistance.at(1), v);
}
int BusReg_SetL3Inductance(int32_t v) {
    return Write(regmap::kInductance.at(2), v);
}
int BusReg_SetL3Resistance(int32_t v) {
    return Write(regmap::kResistance.at(2), v);
}
int BusReg_SetDuty(regbus::Phase phase, int32_t v) {
    return WritePhase(regmap::kDuty, phase, v);
}
int BusReg_SetRdDefine1(int32_t v) {
    return Write(regmap::kRdDefine.at(0), v);
}
int BusReg_SetRdDefine2(int32_t v) {
    return Write(regmap::kRdDefine.at(1), v);
}
int BusReg_SetRdDefine3(int32_t v) {
    return Write(regmap::kRdDefine.at(2), v);
}
int BusReg_SetRdDefine4(int32_t v) {
    return Write(regmap::kRdDefine.at(3), v);
}
int BusReg_SetRdDefine5(int32_t v) {
    return Write(regmap::kRdDefine.at(4), v);
}
int BusReg_SetPowerStageEnable(int32_t v) {
    return Write(regmap::kPowerStageEnable, v);
}
int BusReg_SetParallelCtrl(int32_t v) {
    return Write(regmap::kParallelCtrl, v);
}

int BusReg_SetParallelFrame(uint32_t frame) {
    // The link needs a pause between frames.
    plat::SleepMs(1);
    return Write(regmap::kParallelFrame, static_cast<int32_t>(frame));
}
