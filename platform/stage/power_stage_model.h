#pragma once
// What the simulated power stage does with its registers: how it decodes what it receives, and what it
// answers when a register is read. The bus side (bytes, halves, index register, trace) is in
// power_stage_sim.h; the stage's behaviour goes here, as rows of its tables and handlers of its writes.
//
// The settings the controller writes (regmap::kSettings) take effect only on the apply strobe: the stage
// keeps what was written and, separately, what was applied, so a missing strobe shows. The output stage
// follows the output-on register at once, and the output status reports it; while it is on, each phase
// plays its waveform (stage_waveform.h) at the applied settings, the measurement registers follow the load
// model of power_stage_load.h (0 while off), and an armed capture records one period of each phase
// (power_stage_capture.h). The synchronisation input's register reports the signal set at it (syncInputHz),
// output on or off; in a synchronised mode on the external signal the phases play at its frequency. From
// a start command of the sequencer until the first apply strobe after the run ended, the output plays the
// program instead (stage_sequencer.h).
//
// The stage works out what it plays in its tick: on a read of a measurement or run register, a capture,
// or the output status, it moves the sequencer on to the present instrument time and, while a program runs
// (at most once per 2 ms) or after anything it plays changed, works the measures out again from the
// waveforms' shapes, which are reduced once per table download.
#include <cstdint>
#include <random>
#include <vector>

#include "platform/host/clock.h"
#include "platform/stage/link_peers.h"
#include "platform/stage/power_stage_load.h"
#include "platform/stage/reg_map.h"
#include "platform/stage/register_file.h"
#include "platform/stage/stage_cali_run.h"
#include "platform/stage/stage_sequencer.h"
#include "platform/stage/stage_waveform.h"

namespace plat {

// How the stage reads the 32 bits of a register.
enum class RegDecode : uint8_t {
    kUInt,        // a plain 32-bit word (status, command and table words)
    kInt,         // a signed integer
    kFloat,       // single precision
    kFixed10000,  // unsigned, ten-thousandths (frequency in Hz, peak-hold time)
    kDuty4096,    // signed, 4096 = 100 %; decoded in percent
};

RegDecode DecodeOf(uint32_t reg);
double DecodeValue(RegDecode decode, uint32_t raw);

class PowerStageModel {
  public:
    void Reset();
    // Power-on of the stage's controller: its calibration pages come up from the data it stored.
    void PowerOn(RegisterFile& regs) const;

    // The value the stage presents for word `word` of `reg`.
    uint32_t Read(const RegisterFile& regs, uint32_t reg, uint32_t word) const;
    // A complete 32-bit write has reached the stage (the word is already stored).
    void Written(RegisterFile& regs, uint32_t reg, uint32_t word, uint32_t value);

    // The value the last apply strobe took for a setting register (word 0), 0 when never applied.
    uint32_t Applied(uint32_t reg) const;
    // A run register (step, state, jumps left, run time) as the sequencer reports it now.
    uint32_t SequencerRead(const RegisterFile& regs, uint32_t reg) const;
    // The calibration status register: the outcome of the last save (4), recall (2) or default (1) of the
    // calibration data in its second result (1 done, 2 failed); after a start, a next point, a reading or
    // another command what the stage's own run of the calibration reports by now (stage_cali_run.h).
    uint32_t CaliStatus() const { return cali_.Status(clock()); }

    // The answer of a measurement register (0-6 rows of 2128-2225, 2226-2233).
    uint32_t MeasureWord(const RegisterFile& regs, uint32_t reg) const;
    const StageMeasures& Measures(const RegisterFile& regs) const;
    // The loads or the registers changed other than by a write: the measures are worked out again.
    void Invalidate() { measuresValid_ = false; }
    // What the output plays now is worked out at once, so that the held peaks see it even when no read
    // comes before the next change.
    void TakePeaks(const RegisterFile& regs) const;
    // The stage's tick: the sequencer moved on to now, and the measures marked for working out again when
    // what the output plays may have changed.
    void Tick(const RegisterFile& regs) const;
    bool CurrentLimited(const RegisterFile& regs) const;
    // The stage works in its high range (the 200 V range applied): output status bit 1 reports it, and
    // the capture counts in its units. AUTO stays in its low variant: moving to the high one would swap
    // the setting records the controller reads under its control task.
    bool HighRange() const;
    // Relative noise of the measurement readings (0: none) and the seed of its generator.
    // Tests add noise to the readings through it.
    void SetNoise(float relative, uint32_t seed);

    uint32_t vaClass = 1;         // module type code of every phase (1: 4.5 kVA, 2: 6 kVA family)
    uint32_t bootStatus = 1;      // nonzero: the stage's controller has booted
    bool outputOn = false;        // the output stage is switched on
    uint64_t applies = 0;         // apply strobes received
    float loadOhms[3] = {};       // resistive load of each phase; 0: nothing connected
    float harmonicPct[101] = {};  // captured harmonics in percent of the fundamental, orders 2-100
    float noise = 0.0f;
    float syncInputHz = 0.0f;     // frequency of the signal at the synchronisation input; 0: none
    LinkPeers link;               // the parallel link and its peer units
    uint64_t (*clock)() = NowUs;  // instrument time in microseconds (a test steps its own)

  private:
    void Drives(const RegisterFile& regs, PhaseDrive (&drive)[3]) const;
    void RunDrives(const RegisterFile& regs, PhaseDrive (&drive)[3]) const;
    void SettingDrives(const RegisterFile& regs, PhaseDrive (&drive)[3]) const;
    bool SyncedToInput() const;
    float AcRms(float acv, uint32_t wave, const WaveShape& shape) const;

    mutable std::minstd_rand rng_;
    mutable StageMeasures measures_;
    mutable bool measuresValid_ = false;
    uint32_t applied_[regmap::kSettings.count] = {};
    // Calibration data: the pages (words 0-254 of each phase's calibration register) as the stage last
    // stored them, and what its calibration status reports.
    static constexpr uint32_t kCalWords = 255;
    uint16_t calStored_[regmap::kCalPage.count][kCalWords] = {};
    StageCaliRun cali_;
    void CaliCommand(RegisterFile& regs, uint32_t command);
    void LoadCalPages(RegisterFile& regs) const;
    // Reading a run register moves the sequencer on to the present instrument time.
    mutable StageSequencer sequencer_;
    bool runPlays_ = false;        // the output follows the program
    mutable uint64_t tickUs_ = 0;  // instrument time the measures were last worked out for a running program
    mutable uint32_t tickStep_ = 0, tickState_ = 0;
    mutable ShapeCache shapes_;
    // The peak holds (phases, then the total): the largest peak played since they were cleared.
    mutable float heldV_[4] = {}, heldI_[4] = {};
    void HoldPeaks(const StageMeasures& m) const;
    void ClearPeaks(uint32_t mask);
    float Held(uint32_t reg) const;
};

}  // namespace plat
