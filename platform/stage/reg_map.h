#pragma once
// The power stage's register map: every register the controller and the stage exchange, by name. Both
// sides of the bus use it: the register accessors of the controller and the simulated stage.
//
// An entry is one register or a block of registers, one per phase, measurement row, table or step word
// group; `stride` is 2 where two blocks interleave (ON and OFF phase angles, inductance and resistance).
// An entry converts to its first register, so `regmap::kAcv + phase` is the AC voltage register of a
// phase. Reads lie from 2048 upward, writes from 2304 upward; the index register 2304 selects the 16-bit
// half of a transfer.
#include <cstdint>

namespace regmap {

struct Block {
    uint16_t first;
    uint16_t count = 1;
    uint16_t stride = 1;

    constexpr operator uint32_t() const { return first; }
    // Register i of the block (not checked: i < count is the caller's part).
    constexpr uint32_t at(uint32_t i) const { return first + stride * i; }
    constexpr uint32_t last() const { return at(count - 1u); }
    constexpr bool contains(uint32_t reg) const {
        return reg >= first && reg <= last() && (reg - first) % stride == 0;
    }
};

// --- Tables, addressed word by word through the index register ---
constexpr Block kHarmonic{0, 3};      // harmonic table of the unit's phase
constexpr Block kHarmonicSys{3, 3};   // harmonic table of the whole parallel system, per phase
constexpr Block kCalPage{6, 3};       // calibration page of each phase
constexpr Block kLinkRx{98, 6};       // parallel-link receive words of channels 0-5
constexpr Block kFloatTable{104};     // per-waveform factor table, word indices 1-256
constexpr Block kArbTable{256, 256};  // waveform table of each slot, one sample per word

// --- Step registers: one copy per SEQ/SIM step, addressed by the step word ---
constexpr Block kStepStatus{768};
constexpr Block kStepCtrl{769, 3};
constexpr Block kStepDcv{772, 3};
constexpr Block kStepAcv{775, 3};
constexpr Block kStepFreq{778, 3};
constexpr Block kStepOnPhase{781, 3};
constexpr Block kStepOffPhase{784, 3};
constexpr Block kStepJumpTo{787};
constexpr Block kStepJumpCount{788};
constexpr Block kStepBranch1{789};
constexpr Block kStepBranch2{790};
constexpr Block kStepTime{791};
constexpr Block kStepWord798{798};
constexpr Block kStepPhaseL2{799};
constexpr Block kStepPhaseL3{800};
constexpr Block kStepDuty{801, 3};

// --- Read registers ---
constexpr Block kStatus{2048};          // high byte identifies the power stage
constexpr Block kParallelStatus{2050};  // parallel-link status word
constexpr Block kBootStatus{2080};      // nonzero once the stage's controller has booted
constexpr Block kModuleWord{2081, 3};   // module word of each phase; bits 8-15 its firmware version
constexpr Block kOutputStatus{2085};    // bit 0 output on, bit 7 not ready, bits 14-15 wiring
constexpr Block kAlarmWord{2086, 3};
constexpr Block kFaultWord{2090};  // start-up fault bits, a clear bit is a fault
constexpr Block kAlarmWord2{2091};
constexpr Block kHarmStatus{2092};
constexpr Block kModuleType{2093, 3};
constexpr Block kRunStep{2096};
constexpr Block kRunState{2097};  // 2 running, 3 paused or waiting for a trigger
constexpr Block kCaliStatus{2098};
constexpr Block kModulePresent{2099, 3};
constexpr Block kRepeatCount{2102};
constexpr Block kRunTime{2103};  // units of 10 us
// Measurements, seven rows each: phases L1-L3, line-to-line L1-L2, L2-L3, L3-L1, and the total.
constexpr uint32_t kMeasRows = 7;
constexpr uint32_t kTotalRow = 6;
constexpr Block kVrms{2128, kMeasRows};
constexpr Block kIrms{2135, kMeasRows};
constexpr Block kPower{2142, kMeasRows};
constexpr Block kVmax{2149, kMeasRows};
constexpr Block kVmin{2156, kMeasRows};
constexpr Block kImax{2163, kMeasRows};
constexpr Block kImin{2170, kMeasRows};
constexpr Block kIpkHold{2177, kMeasRows};
constexpr Block kVavg{2184, kMeasRows};
constexpr Block kIavg{2191, kMeasRows};
constexpr Block kApparent{2198, kMeasRows};
constexpr Block kReactive{2205, kMeasRows};
constexpr Block kPowerFactor{2212, kMeasRows};  // integer, x 1000
constexpr Block kCrestFactor{2219, kMeasRows};  // integer, x 100
constexpr Block kMeasWord54{2226, 3};           // a further per-phase value of the measurement record
constexpr Block kVpkHold{2229, 4};              // phases, then their total
constexpr Block kMeasFreq{2233};                // measured output frequency
constexpr Block kSyncInputFreq{2236};           // frequency of the synchronisation input
constexpr Block kSlaveCounter{2246, 6};         // link counters of the slaves
constexpr Block kLoopbackRead{2303};            // reads what kLoopbackWrite holds

// --- The index register ---
constexpr Block kIndex{2304};

// --- Write registers (settings take effect on the apply strobe) ---
constexpr Block kOutputMode{2336};
constexpr Block kWaveform{2337, 3};
constexpr Block kApply{2340};  // apply strobe
constexpr Block kVoltUnit{2341};
constexpr Block kSignal{2342};
constexpr Block kVoltSlew{2343};
constexpr Block kPeakHoldClear{2344};
constexpr Block kAlarmClear{2345};
constexpr Block kOutputOn{2346};
constexpr Block kVoltRange{2347};
constexpr Block kServiceFlags{2348};
constexpr Block kModelType{2349};
constexpr Block kSeqSimCmd{2351};
constexpr Block kSeqSimMode{2352};
constexpr Block kCaliMode{2353};
constexpr Block kCaliCmd{2354};
constexpr Block kPhaseMode{2355};
constexpr Block kPowerLimitTotal{2358};
constexpr Block kPowerLimitPhase{2359};
constexpr Block kFanSlew{2363};
constexpr Block kSource{2368, 3};
constexpr Block kTrigWidth{2372};
constexpr Block kTrigOutSource{2374};
constexpr Block kOnPhase{2375, 3, 2};
constexpr Block kOffPhase{2376, 3, 2};
constexpr Block kSyncPhase{2381};
constexpr Block kPhaseAngleL2{2382};
constexpr Block kPhaseAngleL3{2383};
constexpr Block kAcv{2384, 3};
constexpr Block kDcv{2387, 3};
constexpr Block kGain{2390, 3};
constexpr Block kIrmsLimit{2396, 3};
constexpr Block kIpkOffHigh{2399, 3};
constexpr Block kIpkOffLow{2402, 3};
constexpr Block kIpkLimitHigh{2405, 3};
constexpr Block kIpkLimitLow{2408, 3};
constexpr Block kPeakHoldTimeA{2411, 3};  // the peak-hold time goes to both blocks, 2411 last
constexpr Block kOutputFreq{2414, 3};
constexpr Block kAvgCurrCompKp{2436};
constexpr Block kAvgCurrCompKi{2437};
constexpr Block kFanDutyMax{2438};
constexpr Block kFanDutyMin{2439};
constexpr Block kSpareFloat{2440};      // no accessor writes it; its encoding is kept
constexpr Block kSpareDiv100{2441, 2};  // the same
constexpr Block kCaliAvgCount{2443};
constexpr Block kArbUpdate{2446};  // the waveform tables were downloaded
constexpr Block kBootCtrl{2447};
constexpr Block kMonitorSource{2448};
constexpr Block kMonitorScale1{2449};
constexpr Block kMonitorScale2{2450};
constexpr Block kHarmCapture{2454};
constexpr Block kInductance{2455, 3, 2};  // L1, L2, L3
constexpr Block kResistance{2456, 3, 2};
constexpr Block kDuty{2461, 3};
constexpr Block kPeakHoldTimeB{2464, 3};
constexpr Block kRdDefine{2467, 5};  // five service tuning values
constexpr Block kPowerStageEnable{2472};
constexpr Block kParallelCtrl{2480};
constexpr Block kParallelFrame{2481};
constexpr Block kLoopbackWrite{2559};

// The setting registers whose values the stage takes on an apply strobe.
constexpr Block kSettings{2336, 176};

// Every entry above but kSettings (which spans the write registers), for checks of the whole map.
constexpr Block kAll[] = {
    kHarmonic,
    kHarmonicSys,
    kCalPage,
    kLinkRx,
    kFloatTable,
    kArbTable,
    kStepStatus,
    kStepCtrl,
    kStepDcv,
    kStepAcv,
    kStepFreq,
    kStepOnPhase,
    kStepOffPhase,
    kStepJumpTo,
    kStepJumpCount,
    kStepBranch1,
    kStepBranch2,
    kStepTime,
    kStepWord798,
    kStepPhaseL2,
    kStepPhaseL3,
    kStepDuty,
    kStatus,
    kParallelStatus,
    kBootStatus,
    kModuleWord,
    kOutputStatus,
    kAlarmWord,
    kFaultWord,
    kAlarmWord2,
    kHarmStatus,
    kModuleType,
    kRunStep,
    kRunState,
    kCaliStatus,
    kModulePresent,
    kRepeatCount,
    kRunTime,
    kVrms,
    kIrms,
    kPower,
    kVmax,
    kVmin,
    kImax,
    kImin,
    kIpkHold,
    kVavg,
    kIavg,
    kApparent,
    kReactive,
    kPowerFactor,
    kCrestFactor,
    kMeasWord54,
    kVpkHold,
    kMeasFreq,
    kSyncInputFreq,
    kSlaveCounter,
    kLoopbackRead,
    kIndex,
    kOutputMode,
    kWaveform,
    kApply,
    kVoltUnit,
    kSignal,
    kVoltSlew,
    kPeakHoldClear,
    kAlarmClear,
    kOutputOn,
    kVoltRange,
    kServiceFlags,
    kModelType,
    kSeqSimCmd,
    kSeqSimMode,
    kCaliMode,
    kCaliCmd,
    kPhaseMode,
    kPowerLimitTotal,
    kPowerLimitPhase,
    kFanSlew,
    kSource,
    kTrigWidth,
    kTrigOutSource,
    kOnPhase,
    kOffPhase,
    kSyncPhase,
    kPhaseAngleL2,
    kPhaseAngleL3,
    kAcv,
    kDcv,
    kGain,
    kIrmsLimit,
    kIpkOffHigh,
    kIpkOffLow,
    kIpkLimitHigh,
    kIpkLimitLow,
    kPeakHoldTimeA,
    kOutputFreq,
    kAvgCurrCompKp,
    kAvgCurrCompKi,
    kFanDutyMax,
    kFanDutyMin,
    kSpareFloat,
    kSpareDiv100,
    kCaliAvgCount,
    kArbUpdate,
    kBootCtrl,
    kMonitorSource,
    kMonitorScale1,
    kMonitorScale2,
    kHarmCapture,
    kInductance,
    kResistance,
    kDuty,
    kPeakHoldTimeB,
    kRdDefine,
    kPowerStageEnable,
    kParallelCtrl,
    kParallelFrame,
    kLoopbackWrite,
};

}  // namespace regmap
