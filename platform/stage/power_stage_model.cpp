#include "platform/stage/power_stage_model.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>

#include "platform/host/clock.h"
#include "platform/stage/power_stage_capture.h"
#include "platform/stage/reg_map.h"
#include "platform/stage/wave_numbers.h"
#include "platform/stage/wiring_codes.h"

namespace plat {
namespace {

struct DecodeRow {
    uint16_t first;
    uint16_t last;
    RegDecode decode;
};

using namespace regmap;

// The registers from the first of `from` to the last of `to`.
constexpr DecodeRow Rows(const Block& from, const Block& to, RegDecode decode) {
    return {from.first, static_cast<uint16_t>(to.last()), decode};
}
constexpr DecodeRow Rows(const Block& block, RegDecode decode) {
    return Rows(block, block, decode);
}

// The stage's view of its registers, sorted by register; anything not listed is a plain word.
constexpr DecodeRow kDecodeRows[] = {
    Rows(kFloatTable, RegDecode::kFloat),                  // per-waveform factor table
    Rows(kArbTable, RegDecode::kInt),                      // waveform tables, one sample per word
    Rows(kStepDcv, kStepFreq, RegDecode::kFloat),          // step DCV, ACV, frequency
    Rows(kStepOnPhase, kStepTime, RegDecode::kInt),        // step phases, jumps, branches, time
    Rows(kStepWord798, kStepPhaseL3, RegDecode::kFloat),   // step reserved word, L2/L3 angles
    Rows(kStepDuty, RegDecode::kDuty4096),                 // step duty
    Rows(kVrms, kReactive, RegDecode::kFloat),             // measurements, 7 rows per quantity
    Rows(kPowerFactor, kCrestFactor, RegDecode::kInt),     // power factor x 1000, crest factor x 100
    Rows(kMeasWord54, kSyncInputFreq, RegDecode::kFloat),  // aux row, voltage peak hold, frequency
    Rows(kOutputMode, kWaveform, RegDecode::kInt),         // output mode, waveforms
    Rows(kVoltUnit, kModelType, RegDecode::kInt),          // unit, signal, slew, clears, output, range, ...
    Rows(kSeqSimCmd, kPhaseMode, RegDecode::kInt),         // sequencer, calibration, wiring
    Rows(kPowerLimitTotal, kPowerLimitPhase, RegDecode::kFloat),  // power limits
    Rows(kFanSlew, RegDecode::kFloat),                            // fan slew
    Rows(kSource, RegDecode::kInt),                               // signal sources
    Rows(kTrigWidth, RegDecode::kInt),                            // trigger width
    Rows(kTrigOutSource, RegDecode::kInt),                        // trigger source
    Rows(kOnPhase, kGain, RegDecode::kFloat),                     // phase angles, voltages, gains
    Rows(kIrmsLimit, kIpkLimitLow, RegDecode::kFloat),            // current limits
    Rows(kPeakHoldTimeA, RegDecode::kFixed10000),                 // peak-hold time
    Rows(kOutputFreq, RegDecode::kFixed10000),                    // frequency
    Rows(kAvgCurrCompKp, kCaliAvgCount, RegDecode::kFloat),   // compensation, fan duty, calibration averaging
    Rows(kArbUpdate, kMonitorSource, RegDecode::kInt),        // table update, boot control, monitor sources
    Rows(kMonitorScale1, kMonitorScale2, RegDecode::kFloat),  // monitor scales
    Rows(kHarmCapture, RegDecode::kInt),                      // harmonic capture
    Rows(kInductance, kResistance, RegDecode::kFloat),        // output impedance
    Rows(kDuty, RegDecode::kDuty4096),                        // square-wave duty
    Rows(kPeakHoldTimeB, RegDecode::kFixed10000),             // peak-hold time
    Rows(kRdDefine, RegDecode::kFloat),                       // service tuning values
    Rows(kPowerStageEnable, RegDecode::kInt),                 // power-stage enable
};

constexpr bool RowsSorted() {
    for (size_t i = 0; i < std::size(kDecodeRows); ++i) {
        if (kDecodeRows[i].first > kDecodeRows[i].last) return false;
        if (i > 0 && kDecodeRows[i - 1].last >= kDecodeRows[i].first) return false;
    }
    return true;
}
static_assert(RowsSorted(), "decode rows must be sorted and disjoint");

// Fixed answers of the stage until later versions model them.
constexpr uint32_t kStatusWord = 0x0200;       // high byte = controller firmware version
constexpr uint32_t kModuleWordValue = 0x0201;  // same firmware version as the controller
constexpr uint32_t kNoFaultWord = 0xFFFFF;     // a clear bit would be a fault
constexpr uint32_t kModulePresentValue = 1;
constexpr uint32_t kOutputOnBit = 1u << 0;  // of the output status
constexpr uint32_t kCurrentLimitBit = 1u << 5;
constexpr uint32_t kHighRangeBit = 1u << 1;
constexpr uint32_t kArmAllPhases = 7;
constexpr uint32_t kNotReadyBit = 1u << 7;
constexpr uint32_t kRange200V = 1;   // of the range register
constexpr uint32_t kUnitVpp = 1;     // of the voltage unit register
constexpr uint32_t kModeCodeAcSync = 18, kModeCodeAcDcSync = 19;  // of the output mode register
constexpr uint32_t kSignalExternal = 3;                           // of the signal selection register
constexpr uint64_t kTickUs = 2000;

using ReadFn = uint32_t (*)(const PowerStageModel&, const RegisterFile&, uint32_t reg, uint32_t word);

struct ReadRow {
    uint16_t first;
    uint16_t last;
    ReadFn read;
};

uint32_t ReadStatus(const PowerStageModel&, const RegisterFile&, uint32_t, uint32_t) {
    return kStatusWord;
}
uint32_t ReadBoot(const PowerStageModel& m, const RegisterFile&, uint32_t, uint32_t) {
    return m.bootStatus;
}
uint32_t ReadModuleWord(const PowerStageModel&, const RegisterFile&, uint32_t, uint32_t) {
    return kModuleWordValue;
}
uint32_t ReadFaultWord(const PowerStageModel&, const RegisterFile&, uint32_t, uint32_t) {
    return kNoFaultWord;
}
uint32_t ReadModuleType(const PowerStageModel& m, const RegisterFile&, uint32_t, uint32_t) {
    return m.vaClass;
}
uint32_t ReadPresent(const PowerStageModel&, const RegisterFile&, uint32_t, uint32_t) {
    return kModulePresentValue;
}

// Output status: bit 0 reports the output stage, bit 1 the high range in use, bit 5 a phase held at its
// rms current limit, bit 7 (not ready) stays clear.
uint32_t ReadOutputStatus(const PowerStageModel& m, const RegisterFile& regs, uint32_t reg, uint32_t word) {
    uint32_t v = regs.Get(reg, word) & ~(kOutputOnBit | kHighRangeBit | kCurrentLimitBit | kNotReadyBit);
    if (m.outputOn) v |= kOutputOnBit;
    if (m.HighRange()) v |= kHighRangeBit;
    if (m.outputOn && m.CurrentLimited(regs)) v |= kCurrentLimitBit;
    return v;
}

// Every measurement register: 0 while the output is off, else the load model's value.
uint32_t ReadMeasure(const PowerStageModel& m, const RegisterFile& regs, uint32_t reg, uint32_t) {
    return m.MeasureWord(regs, reg);
}

uint32_t ReadLinkStatus(const PowerStageModel& m, const RegisterFile& regs, uint32_t, uint32_t) {
    return m.link.Status(regs.Get(kParallelCtrl, 0));
}

// Loop-back: the read register shows what was written to the write register.
uint32_t ReadLoopback(const PowerStageModel&, const RegisterFile& regs, uint32_t, uint32_t word) {
    return regs.Get(kLoopbackWrite, word);
}

uint32_t ReadSequencer(const PowerStageModel& m, const RegisterFile& regs, uint32_t reg, uint32_t) {
    return m.SequencerRead(regs, reg);
}

uint32_t ReadCaliStatus(const PowerStageModel& m, const RegisterFile&, uint32_t, uint32_t) {
    return m.CaliStatus();
}

// The synchronisation input is measured whether the output is on or not: the controller needs its
// frequency before it may switch on in a synchronised mode.
uint32_t ReadSyncInput(const PowerStageModel& m, const RegisterFile&, uint32_t, uint32_t) {
    return std::bit_cast<uint32_t>(m.syncInputHz);
}

constexpr ReadRow Answers(const Block& block, ReadFn read) {
    return {block.first, static_cast<uint16_t>(block.last()), read};
}

constexpr ReadRow kReadRows[] = {
    Answers(kStatus, ReadStatus),
    Answers(kParallelStatus, ReadLinkStatus),
    Answers(kBootStatus, ReadBoot),
    Answers(kModuleWord, ReadModuleWord),
    Answers(kOutputStatus, ReadOutputStatus),
    Answers(kFaultWord, ReadFaultWord),
    Answers(kModuleType, ReadModuleType),
    Answers(kModulePresent, ReadPresent),
    ReadRow{kVrms.first, kMeasFreq.first, ReadMeasure},
    Answers(kSyncInputFreq, ReadSyncInput),
    Answers(kLoopbackRead, ReadLoopback),
    Answers(kRunStep, ReadSequencer),
    Answers(kRunState, ReadSequencer),
    Answers(kRepeatCount, ReadSequencer),
    Answers(kRunTime, ReadSequencer),
    Answers(kCaliStatus, ReadCaliStatus),
};

struct MeasureBlock {
    Block block;
    StageQuantity quantity;
    bool integer;
};

// The measurement blocks, seven rows each, and the quantity the load model gives for them.
constexpr MeasureBlock kMeasureBlocks[] = {
    {kVrms, kQVrms, false},
    {kIrms, kQIrms, false},
    {kPower, kQPower, false},
    {kVmax, kQVmax, false},
    {kVmin, kQVmin, false},
    {kImax, kQImax, false},
    {kImin, kQImin, false},
    {kVavg, kQVavg, false},
    {kIavg, kQIavg, false},
    {kApparent, kQApparent, false},
    {kReactive, kQReactive, false},
    {kPowerFactor, kQPowerFactor, true},
    {kCrestFactor, kQCrestFactor, true},
};

float RegFloat(const PowerStageModel& m, uint32_t reg) {
    return std::bit_cast<float>(m.Applied(reg));
}

constexpr uint32_t kCalChecksumWord = 254;
// The stage's own data when nothing was calibrated: every data word at its mid value, no correction.
constexpr uint16_t kCalNeutralWord = 0x4000;

// A page's word 254 must be nonzero and the 16-bit sum of words 0-253, as the controller checks it.
bool CalPageSound(const uint16_t* page) {
    uint16_t sum = 0;
    for (uint32_t w = 0; w < kCalChecksumWord; ++w)
        sum = static_cast<uint16_t>(sum + page[w]);
    return page[kCalChecksumWord] != 0 && page[kCalChecksumWord] == sum;
}

void CalNeutralPage(uint16_t* page) {
    uint16_t sum = 0;
    for (uint32_t w = 0; w < kCalChecksumWord; ++w) {
        page[w] = kCalNeutralWord;
        sum = static_cast<uint16_t>(sum + page[w]);
    }
    page[kCalChecksumWord] = sum;
}

void CalPageToRegs(RegisterFile& regs, uint32_t phase, const uint16_t* page) {
    for (uint32_t w = 0; w <= kCalChecksumWord; ++w)
        regs.Set(kCalPage.at(phase), w, page[w]);
}

}  // namespace

RegDecode DecodeOf(uint32_t reg) {
    for (const auto& row : kDecodeRows) {
        if (reg < row.first) break;
        if (reg <= row.last) return row.decode;
    }
    return RegDecode::kUInt;
}

double DecodeValue(RegDecode decode, uint32_t raw) {
    switch (decode) {
        case RegDecode::kInt:
            return static_cast<int32_t>(raw);
        case RegDecode::kFloat:
            return std::bit_cast<float>(raw);
        case RegDecode::kFixed10000:
            return raw / 10000.0;
        case RegDecode::kDuty4096:
            return static_cast<int32_t>(raw) * 100.0 / 4096.0;
        case RegDecode::kUInt:
            break;
    }
    return raw;
}

void PowerStageModel::Reset() {
    *this = PowerStageModel{};
    for (auto& page : calStored_)
        CalNeutralPage(page);
}

void PowerStageModel::PowerOn(RegisterFile& regs) const {
    LoadCalPages(regs);
    LoadStandardShapes(regs);
}

void PowerStageModel::LoadCalPages(RegisterFile& regs) const {
    for (uint32_t p = 0; p < kCalPage.count; ++p)
        CalPageToRegs(regs, p, calStored_[p]);
}

// The stage carries out the data commands itself; the others belong to its run of the calibration.
void PowerStageModel::CaliCommand(RegisterFile& regs, uint32_t command) {
    if (command == kCaliSave) {
        uint16_t pages[kCalPage.count][kCalWords];
        for (uint32_t p = 0; p < kCalPage.count; ++p) {
            for (uint32_t w = 0; w < kCalWords; ++w)
                pages[p][w] = static_cast<uint16_t>(regs.Get(kCalPage.at(p), w));
            // A page that fails its check is not stored over sound data: the save fails as a whole.
            if (!CalPageSound(pages[p])) {
                cali_.Report(kCaliSecondTwo);
                return;
            }
        }
        std::copy(&pages[0][0], &pages[0][0] + std::size(pages) * kCalWords, &calStored_[0][0]);
        cali_.Report(kCaliSecondOne);
    } else if (command == kCaliRecall) {
        LoadCalPages(regs);
        cali_.Report(kCaliSecondOne);
    } else if (command == kCaliDefault) {
        // The stored data stays until the next save; only the pages in use go back to the stage's own.
        uint16_t neutral[kCalWords];
        CalNeutralPage(neutral);
        for (uint32_t p = 0; p < kCalPage.count; ++p)
            CalPageToRegs(regs, p, neutral);
        cali_.Report(kCaliSecondOne);
    } else {
        cali_.Command(command, regs.Get(kCaliMode, 0), clock());
    }
}

uint32_t PowerStageModel::Read(const RegisterFile& regs, uint32_t reg, uint32_t word) const {
    for (const auto& row : kReadRows) {
        if (reg >= row.first && reg <= row.last) return row.read(*this, regs, reg, word);
    }
    // Everything else reads back what was written: step memory per step word, waveform tables,
    // link receive words; measurement registers stay 0 until a load model fills them.
    return regs.Get(reg, word);
}

void PowerStageModel::Written(RegisterFile& regs, uint32_t reg, uint32_t word, uint32_t value) {
    Invalidate();
    if (word != 0) return;
    if (reg == kHarmCapture && value == kArmAllPhases) {
        Tick(regs);
        PhaseDrive drive[3], played[3];
        bool limited[3];
        Drives(regs, drive);
        LimitDrives(drive, Applied(kPhaseMode), played, limited);
        FillCapture(regs, played, harmonicPct, outputOn, HighRange(), vaClass);
    } else if (reg == kOutputOn) {
        outputOn = value != 0;
        TakePeaks(regs);
    } else if (reg == kPeakHoldClear) {
        ClearPeaks(value);
    } else if (reg == kCaliCmd) {
        CaliCommand(regs, value);
    } else if (reg == kCaliAvgCount) {
        cali_.Reading(clock());
    } else if (reg == kSeqSimCmd) {
        sequencer_.Command(regs, value, clock());
        if (sequencer_.state() == StageSequencer::kRunning) runPlays_ = true;
        TakePeaks(regs);
    } else if (reg == kArbUpdate) {
        shapes_.Clear();
    } else if (reg == kParallelFrame) {
        link.OnFrame(value, regs.Get(kParallelCtrl, 0), regs);
    } else if (reg == kApply) {
        ++applies;
        // After a run the controller's settings take the output back; during one they wait.
        if (sequencer_.state() == StageSequencer::kIdle) runPlays_ = false;
        for (uint32_t i = 0; i < kSettings.count; ++i)
            applied_[i] = regs.Get(kSettings.at(i), 0);
        TakePeaks(regs);
    }
}

// A waveform's AC voltage is its rms, or with the Vpp unit twice its largest excursion, except for the sine
// and the square, whose voltage is always an rms. A silent table plays nothing at any voltage.
float PowerStageModel::AcRms(float acv, uint32_t wave, const WaveShape& shape) const {
    const float peak = shape.PeakAbs();
    if (peak == 0.0f) return 0.0f;
    if (Applied(kVoltUnit) != kUnitVpp || wave == kWaveCodeSin || wave == kWaveCodeSqu) return acv;
    return acv / (2.0f * peak);
}

void PowerStageModel::SettingDrives(const RegisterFile& regs, PhaseDrive (&drive)[3]) const {
    for (uint32_t p = 0; p < 3; ++p) {
        PhaseDrive& d = drive[p];
        const uint32_t wave = Applied(kWaveform.at(p));
        d.shape = &shapes_.Get(regs, wave, Applied(kDuty.at(p)));
        d.ac = AcRms(RegFloat(*this, kAcv.at(p)), wave, *d.shape);
        d.dc = RegFloat(*this, kDcv.at(p));
        d.freq = static_cast<float>(Applied(kOutputFreq.at(p)) / 10000.0);
        if (SyncedToInput()) d.freq = syncInputHz;
    }
    drive[1].angleDeg = RegFloat(*this, kPhaseAngleL2);
    drive[2].angleDeg = RegFloat(*this, kPhaseAngleL3);
}

void PowerStageModel::RunDrives(const RegisterFile& regs, PhaseDrive (&drive)[3]) const {
    StageSequencer::Play play;
    sequencer_.Played(regs, &play);
    for (uint32_t p = 0; p < 3; ++p) {
        PhaseDrive& d = drive[p];
        d.shape = &shapes_.Get(regs, play.wave[p], play.duty[p]);
        d.ac = AcRms(play.acv[p], play.wave[p], *d.shape);
        d.dc = play.dcv[p];
        d.freq = play.freq[p];
    }
    drive[1].angleDeg = play.angleL2;
    drive[2].angleDeg = play.angleL3;
}

void PowerStageModel::Drives(const RegisterFile& regs, PhaseDrive (&drive)[3]) const {
    if (runPlays_) {
        RunDrives(regs, drive);
    } else {
        SettingDrives(regs, drive);
    }
    for (uint32_t p = 0; p < 3; ++p) {
        drive[p].irmsLimit = RegFloat(*this, kIrmsLimit.at(p));
        drive[p].ohms = loadOhms[p];
    }
    // The L2 and L3 angle registers hold 360 - angle, in degrees.
    for (uint32_t p = 1; p < 3; ++p)
        drive[p].angleDeg = std::fmod(360.0f - drive[p].angleDeg, 360.0f);
    // In 1P2W the three phase modules feed one output: L2 and L3 drive L1's voltage (each into its own
    // load; the output's current, theirs added, held at L1's limit), whatever their own registers hold.
    if (Applied(kPhaseMode) == kWiring1P2W) {
        for (uint32_t p = 1; p < 3; ++p) {
            drive[p].shape = drive[0].shape;
            drive[p].ac = drive[0].ac;
            drive[p].dc = drive[0].dc;
            drive[p].freq = drive[0].freq;
            drive[p].angleDeg = drive[0].angleDeg;
        }
    }
}

void PowerStageModel::Tick(const RegisterFile& regs) const {
    const uint64_t now = clock();
    sequencer_.Advance(regs, now);
    if (!runPlays_) return;
    // A running program changes what is played as its time goes on: once per tick, and at every change
    // of step or state.
    const bool moved = sequencer_.step() != tickStep_ || sequencer_.state() != tickState_;
    if (moved || (sequencer_.state() == StageSequencer::kRunning && now - tickUs_ >= kTickUs)) {
        measuresValid_ = false;
        tickUs_ = now;
        tickStep_ = sequencer_.step();
        tickState_ = sequencer_.state();
    }
}

const StageMeasures& PowerStageModel::Measures(const RegisterFile& regs) const {
    // Kept until the next write or load change: a pass reads a hundred registers of one state.
    if (!measuresValid_) {
        PhaseDrive drive[3];
        Drives(regs, drive);
        measures_ = ComputeMeasures(drive, Applied(kPhaseMode));
        measuresValid_ = true;
        if (outputOn) HoldPeaks(measures_);
    }
    return measures_;
}

void PowerStageModel::TakePeaks(const RegisterFile& regs) const {
    if (!outputOn) return;
    Tick(regs);
    Measures(regs);
}

// Hold slot s is phase s for s < 3, the total for 3.
void PowerStageModel::HoldPeaks(const StageMeasures& m) const {
    for (uint32_t s = 0; s < 4; ++s) {
        const uint32_t row = s < 3 ? s : kTotalRow;
        heldV_[s] = std::max(heldV_[s], m.row[kQVpkHold][row]);
        heldI_[s] = std::max(heldI_[s], m.row[kQIpkHold][row]);
    }
}

// Bits 0-3 of the clear mask clear the voltage holds of L1, L2, L3 and the total, bits 4-7 the currents'.
// The write has marked the measures for working out again, so what plays on is held from the next read.
void PowerStageModel::ClearPeaks(uint32_t mask) {
    for (uint32_t s = 0; s < 4; ++s) {
        if (mask & (1u << s)) heldV_[s] = 0.0f;
        if (mask & (1u << (s + 4))) heldI_[s] = 0.0f;
    }
}

float PowerStageModel::Held(uint32_t reg) const {
    if (kVpkHold.contains(reg)) return heldV_[reg - kVpkHold];
    const uint32_t row = reg - kIpkHold;
    if (row < 3) return heldI_[row];
    return row == kTotalRow ? heldI_[3] : 0.0f;
}

// A synchronised mode on the external signal locks the output to the signal at the synchronisation
// input; without one the phases run free at their own frequency.
bool PowerStageModel::SyncedToInput() const {
    const uint32_t mode = Applied(kOutputMode);
    return (mode == kModeCodeAcSync || mode == kModeCodeAcDcSync) && Applied(kSignal) == kSignalExternal &&
           syncInputHz > 0.0f;
}

bool PowerStageModel::HighRange() const {
    return Applied(kVoltRange) == kRange200V;
}

bool PowerStageModel::CurrentLimited(const RegisterFile& regs) const {
    Tick(regs);
    const StageMeasures& m = Measures(regs);
    return m.limited[0] || m.limited[1] || m.limited[2];
}

uint32_t PowerStageModel::MeasureWord(const RegisterFile& regs, uint32_t reg) const {
    if (!outputOn) return 0;
    Tick(regs);
    float value = 0.0f;
    if (reg == kMeasFreq) {
        value = Measures(regs).freq;
    } else if (kVpkHold.contains(reg) || kIpkHold.contains(reg)) {
        Measures(regs);
        value = Held(reg);
    } else {
        for (const auto& b : kMeasureBlocks) {
            if (reg < b.block.first || reg > b.block.last()) continue;
            const float v = Measures(regs).row[b.quantity][reg - b.block];
            if (b.integer) return static_cast<uint32_t>(static_cast<int32_t>(v));
            value = v;
            break;
        }
    }
    if (noise > 0.0f) {
        // Relative noise of at most +-noise, from the stage's own seeded generator.
        const double u = static_cast<double>(rng_()) / rng_.max() * 2.0 - 1.0;
        value = static_cast<float>(value * (1.0 + noise * u));
    }
    return std::bit_cast<uint32_t>(value);
}

void PowerStageModel::SetNoise(float relative, uint32_t seed) {
    noise = relative;
    rng_.seed(seed);
}

uint32_t PowerStageModel::SequencerRead(const RegisterFile& regs, uint32_t reg) const {
    Tick(regs);
    if (reg == kRunStep) return sequencer_.step();
    if (reg == kRunState) return sequencer_.state();
    if (reg == kRepeatCount) return sequencer_.remaining(regs);
    return sequencer_.elapsed10us();
}

uint32_t PowerStageModel::Applied(uint32_t reg) const {
    return kSettings.contains(reg) ? applied_[reg - kSettings] : 0u;
}

}  // namespace plat
