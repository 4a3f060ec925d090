#pragma once
// The simulated power stage's sequencer: on the start command it runs the downloaded steps (their copies
// of the step registers) in instrument time, following jumps with their counts, branches, HOLD and END,
// and reports its progress through the run registers. It also says what the program plays: each step's
// waveform, duty, angles and its voltages and frequency by their types (CT the step's value, KP the value
// the previous step ended on, SP a straight sweep from there to the step's value over the step time; the
// first step starts from 0). Held or stopped, the values stay where the run left them.
#include <cstdint>
#include <map>

namespace plat {

class RegisterFile;

class StageSequencer {
  public:
    enum State : uint32_t { kIdle = 0, kRunning = 2, kHeld = 3 };

    // A command written to the sequencer's command register: 1 start or resume, 2 stop, 4 hold, 8 and 16
    // the Branch 1 and Branch 2 triggers.
    void Command(const RegisterFile& regs, uint32_t command, uint64_t nowUs);
    // Runs the program up to nowUs.
    void Advance(const RegisterFile& regs, uint64_t nowUs);

    uint32_t step() const { return step_; }
    uint32_t state() const { return state_; }
    uint32_t remaining(const RegisterFile& regs) const;  // jumps left at the current step
    uint32_t elapsed10us() const { return static_cast<uint32_t>(elapsedUs_ / 10); }

    struct Play {
        uint32_t wave[3] = {};  // waveform numbers
        uint32_t duty[3] = {};  // of 4096
        float dcv[3] = {}, acv[3] = {}, freq[3] = {};
        float angleL2 = 0.0f, angleL3 = 0.0f;  // as the angle registers hold them: 360 - angle
    };
    void Played(const RegisterFile& regs, Play* play) const;

  private:
    void FinishStep(const RegisterFile& regs);
    void Goto(uint32_t step);

    State state_ = kIdle;
    bool heldAtEnd_ = false;  // a HOLD termination: resuming goes on to the next step
    uint32_t step_ = 0;
    uint64_t lastUs_ = 0;
    uint64_t inStepUs_ = 0;
    uint64_t elapsedUs_ = 0;
    std::map<uint32_t, uint32_t> jumpsLeft_;  // per jumping step, while its count runs
    // The value each phase's DCV, ACV and frequency reached at the end of the last step run.
    float carry_[3][3] = {};
};

}  // namespace plat
