#include "platform/stage/stage_sequencer.h"

#include <algorithm>
#include <bit>

#include "platform/stage/reg_map.h"
#include "platform/stage/register_file.h"

namespace plat {
namespace {

using namespace regmap;
constexpr uint32_t kSteps = 1000;
constexpr uint32_t kJumpBit = 1u << 2, kHoldBit = 1u << 4, kEndBit = 1u << 5;
constexpr uint32_t kBranchBits[2] = {1u << 6, 1u << 7};
constexpr uint32_t kUsPerTimeUnit = 100;  // step times are in 0.1 ms

// The quantities a step's type bits govern, in the order of carry_: the step register and the lowest of
// the three one-hot type bits (CT, KP, SP) in the phase's control word.
struct Swept {
    Block reg;
    uint32_t typeShift;
};
constexpr Swept kSwept[3] = {{kStepDcv, 0}, {kStepAcv, 3}, {kStepFreq, 15}};
constexpr uint32_t kKeep = 2, kSweep = 4;  // type bits after the shift
constexpr uint32_t kWaveShift = 6, kWaveMask = 0x1FF;

float StepFloat(const RegisterFile& regs, uint32_t reg, uint32_t step) {
    return std::bit_cast<float>(regs.Get(reg, step));
}

uint64_t StepLength(const RegisterFile& regs, uint32_t step) {
    const uint32_t time = regs.Get(kStepTime, step);
    return uint64_t{time == 0 ? 1u : time} * kUsPerTimeUnit;
}

}  // namespace

void StageSequencer::Goto(uint32_t step) {
    step_ = step;
    inStepUs_ = 0;
}

void StageSequencer::Command(const RegisterFile& regs, uint32_t command, uint64_t nowUs) {
    Advance(regs, nowUs);
    lastUs_ = nowUs;
    switch (command) {
        case 1:
            if (state_ == kIdle) {
                jumpsLeft_.clear();
                for (auto& phase : carry_)
                    for (float& v : phase)
                        v = 0.0f;
                elapsedUs_ = 0;
                Goto(0);
            } else if (state_ == kHeld && heldAtEnd_) {
                Goto(step_ + 1);
            }
            heldAtEnd_ = false;
            state_ = step_ < kSteps ? kRunning : kIdle;
            break;
        case 2:
            state_ = kIdle;
            break;
        case 4:
            if (state_ == kRunning) state_ = kHeld;
            break;
        case 8:
        case 16: {
            const int branch = command == 8 ? 0 : 1;
            if (state_ == kIdle || (regs.Get(kStepStatus, step_) & kBranchBits[branch]) == 0) break;
            const uint32_t target = regs.Get(branch == 0 ? kStepBranch1 : kStepBranch2, step_);
            if (target >= kSteps) break;
            // The branch leaves the step where it is: the next one starts from the values played now.
            Play now;
            Played(regs, &now);
            for (uint32_t p = 0; p < 3; ++p) {
                carry_[p][0] = now.dcv[p];
                carry_[p][1] = now.acv[p];
                carry_[p][2] = now.freq[p];
            }
            Goto(target);
            heldAtEnd_ = false;
            state_ = kRunning;
            break;
        }
        default:
            break;
    }
}

void StageSequencer::FinishStep(const RegisterFile& regs) {
    for (uint32_t p = 0; p < 3; ++p) {
        const uint32_t ctrl = regs.Get(kStepCtrl.at(p), step_);
        for (uint32_t q = 0; q < 3; ++q) {
            if (((ctrl >> kSwept[q].typeShift) & kKeep) == 0)
                carry_[p][q] = StepFloat(regs, kSwept[q].reg.at(p), step_);
        }
    }
    const uint32_t status = regs.Get(kStepStatus, step_);
    if (status & kJumpBit) {
        const uint32_t target = regs.Get(kStepJumpTo, step_);
        const uint32_t count = regs.Get(kStepJumpCount, step_);
        auto it = jumpsLeft_.try_emplace(step_, count).first;
        if (target < kSteps && (count == 0 || it->second > 0)) {
            if (count != 0) --it->second;
            Goto(target);
            return;
        }
        jumpsLeft_.erase(it);
    }
    if (status & kEndBit) {
        state_ = kIdle;
    } else if (status & kHoldBit) {
        state_ = kHeld;
        heldAtEnd_ = true;
    } else if (step_ + 1 >= kSteps) {
        state_ = kIdle;
    } else {
        Goto(step_ + 1);
    }
}

void StageSequencer::Advance(const RegisterFile& regs, uint64_t nowUs) {
    uint64_t dt = nowUs > lastUs_ ? nowUs - lastUs_ : 0;
    lastUs_ = nowUs;
    if (state_ != kRunning) return;
    elapsedUs_ += dt;
    while (state_ == kRunning) {
        const uint64_t length = StepLength(regs, step_);
        if (inStepUs_ + dt < length) {
            inStepUs_ += dt;
            return;
        }
        dt -= length - inStepUs_;
        FinishStep(regs);
    }
}

void StageSequencer::Played(const RegisterFile& regs, Play* play) const {
    // How far the step has come: a step that ended (HOLD, END) has carried its end values already.
    const double done = std::min(1.0, static_cast<double>(inStepUs_) / StepLength(regs, step_));
    for (uint32_t p = 0; p < 3; ++p) {
        const uint32_t ctrl = regs.Get(kStepCtrl.at(p), step_);
        play->wave[p] = (ctrl >> kWaveShift) & kWaveMask;
        play->duty[p] = regs.Get(kStepDuty.at(p), step_);
        float* value[3] = {&play->dcv[p], &play->acv[p], &play->freq[p]};
        for (uint32_t q = 0; q < 3; ++q) {
            const uint32_t type = (ctrl >> kSwept[q].typeShift) & 7u;
            const float target = StepFloat(regs, kSwept[q].reg.at(p), step_);
            const float from = carry_[p][q];
            *value[q] = type & kKeep    ? from
                        : type & kSweep ? static_cast<float>(from + (target - from) * done)
                                        : target;
        }
    }
    play->angleL2 = StepFloat(regs, kStepPhaseL2, step_);
    play->angleL3 = StepFloat(regs, kStepPhaseL3, step_);
}

uint32_t StageSequencer::remaining(const RegisterFile& regs) const {
    auto it = jumpsLeft_.find(step_);
    return it != jumpsLeft_.end() ? it->second : regs.Get(kStepJumpCount, step_);
}

}  // namespace plat
