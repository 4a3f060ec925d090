// Write accessors that carry only a register number, a phase offset and the register's encoding.
#include "core/regbus/reg_write.h"

#include "core/regbus/bus_transfer.h"
#include "platform/clock.h"

namespace {

int Write(uint32_t reg, int32_t v) {
    return BusReg_WriteIntEx(0, reg, v);
}

int WritePhase(uint32_t first, int phase, int32_t v, uint32_t stride = 1) {
    if (phase < 0 || phase > 2) return -1;
    return BusReg_WriteIntEx(0, first + stride * static_cast<uint32_t>(phase), v);
}

}  // namespace

int BusReg_SetWaveform(int phase, int32_t wave) {
    return WritePhase(2337, phase, wave);
}
int BusReg_Apply(int32_t any) {
    return Write(2340, any);
}
int BusReg_ApplyAfterSeqSim() {
    return Write(2340, 1);
}
int BusReg_SetVoltUnit(int32_t v) {
    return Write(2341, v);
}
int BusReg_SetSignal(int32_t v) {
    return Write(2342, v);
}
int BusReg_SetVoltSlew(int32_t v) {
    return Write(2343, v);
}
int BusReg_PeakHoldClear(int32_t mask) {
    return Write(2344, mask);
}
int BusReg_AlarmClear(int32_t v) {
    return Write(2345, v);
}
int BusReg_SetOutputOnOff(int32_t v) {
    return Write(2346, v);
}
int BusReg_SetVoltRange(int32_t code) {
    return Write(2347, code);
}
int BusReg_SetServiceFlags(int32_t word) {
    return Write(2348, word);
}
int BusReg_SetModelType(int32_t id) {
    return Write(2349, id + 1);
}
int BusReg_SetCaliMode(int32_t v) {
    return Write(2353, v);
}
int BusReg_SetCaliCmd(int32_t v) {
    return Write(2354, v);
}
int BusReg_SetPhaseMode(int32_t v) {
    return Write(2355, v);
}
int BusReg_SetPowerLimitTotal(int32_t v) {
    return Write(2358, v);
}
int BusReg_SetPowerLimitPhase(int32_t v) {
    return Write(2359, v);
}
int BusReg_SetFanSlew(int32_t v) {
    return Write(2363, v);
}
int BusReg_SetSource(int32_t v, int phase) {
    return WritePhase(2368, phase, v);
}
int BusReg_SetTrigOutSource(int32_t v) {
    return Write(2374, v);
}
int BusReg_SetOnPhase(int32_t v, int phase) {
    return WritePhase(2375, phase, v, 2);
}
int BusReg_SetOffPhase(int32_t v, int phase) {
    return WritePhase(2376, phase, v, 2);
}
int BusReg_SetSyncPhase(int32_t v) {
    return Write(2381, v);
}
int BusReg_SetAcv(int phase, int32_t v) {
    return WritePhase(2384, phase, v);
}
int BusReg_SetDcv(int phase, int32_t v) {
    return WritePhase(2387, phase, v);
}
int BusReg_SetGain(int32_t v, int phase) {
    return WritePhase(2390, phase, v);
}
int BusReg_SetIrmsLimit(int32_t v, int phase) {
    return WritePhase(2396, phase, v);
}
int BusReg_SetIpkOffHigh(int32_t v, int phase) {
    return WritePhase(2399, phase, v);
}
int BusReg_SetIpkOffLow(int32_t v, int phase) {
    return WritePhase(2402, phase, v);
}
int BusReg_SetIpkLimitHigh(int32_t v, int phase) {
    return WritePhase(2405, phase, v);
}
int BusReg_SetIpkLimitLow(int32_t v, int phase) {
    return WritePhase(2408, phase, v);
}

int BusReg_SetPeakHoldTime(int32_t v) {
    // In the order the power stage expects them, 2411 last.
    for (uint32_t reg : {2412u, 2413u, 2464u, 2465u, 2466u, 2411u})
        Write(reg, v);
    return 0;
}

int BusReg_SetFreq(int32_t v, int phase) {
    return WritePhase(2414, phase, v);
}
int BusReg_SetAvgCurrCompKp(int32_t v) {
    return Write(2436, v);
}
int BusReg_SetAvgCurrCompKi(int32_t v) {
    return Write(2437, v);
}
int BusReg_SetFanDutyMax(int32_t v) {
    return Write(2438, v);
}
int BusReg_SetFanDutyMin(int32_t v) {
    return Write(2439, v);
}
int BusReg_SetCaliAvgCount(int32_t v) {
    return Write(2443, v);
}
int BusReg_SetArbUpdate(int32_t v) {
    return Write(2446, v);
}
int BusReg_SetBootCtrl(int32_t v) {
    return BusReg_WriteGuarded2447(0, 2447, v);
}
int BusReg_SetMonitorSource(int32_t v) {
    return Write(2448, v);
}
int BusReg_SetMonitorScale1(float scale) {
    return BusReg_WriteFloat(0, 2449, scale);
}
int BusReg_SetMonitorScale2(float scale) {
    return BusReg_WriteFloat(0, 2450, scale);
}
int BusReg_SetHarmCapture(int32_t v) {
    return Write(2454, v);
}
int BusReg_SetL1Inductance(int32_t v) {
    return Write(2455, v);
}
int BusReg_SetL1Resistance(int32_t v) {
    return Write(2456, v);
}
int BusReg_SetL2Inductance(int32_t v) {
    return Write(2457, v);
}
int BusReg_SetL2Resistance(int32_t v) {
    return Write(2458, v);
}
int BusReg_SetL3Inductance(int32_t v) {
    return Write(2459, v);
}
int BusReg_SetL3Resistance(int32_t v) {
    return Write(2460, v);
}
int BusReg_SetDuty(int phase, int32_t v) {
    return WritePhase(2461, phase, v);
}
int BusReg_SetRdDefine1(int32_t v) {
    return Write(2467, v);
}
int BusReg_SetRdDefine2(int32_t v) {
    return Write(2468, v);
}
int BusReg_SetRdDefine3(int32_t v) {
    return Write(2469, v);
}
int BusReg_SetRdDefine4(int32_t v) {
    return Write(2470, v);
}
int BusReg_SetRdDefine5(int32_t v) {
    return Write(2471, v);
}
int BusReg_SetPowerStageEnable(int32_t v) {
    return Write(2472, v);
}
int BusReg_SetParallelCtrl(int32_t v) {
    return Write(2480, v);
}

int BusReg_SetParallelFrame(uint32_t frame) {
    // The link needs a pause between frames.
    plat::SleepMs(1);
    return Write(2481, static_cast<int32_t>(frame));
}
