#include "platform/stage/stage_sequencer.h"

#include "platform/stage/reg_map.h"
#include "platform/stage/register_file.h"

namespace plat {
namespace {

using namespace regmap;
constexpr uint32_t kSteps = 1000;
constexpr uint32_t kJumpBit = 1u << 2, kHoldBit = 1u << 4, kEndBit = 1u << 5;
constexpr uint32_t kBranchBits[2] = {1u << 6, 1u << 7};
constexpr uint32_t kUsPerTimeUnit = 100;  // step times are in 0.1 ms

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
        const uint32_t time = regs.Get(kStepTime, step_);
        const uint64_t length = uint64_t{time == 0 ? 1u : time} * kUsPerTimeUnit;
        if (inStepUs_ + dt < length) {
            inStepUs_ += dt;
            return;
        }
        dt -= length - inStepUs_;
        FinishStep(regs);
    }
}

uint32_t StageSequencer::remaining(const RegisterFile& regs) const {
    auto it = jumpsLeft_.find(step_);
    return it != jumpsLeft_.end() ? it->second : regs.Get(kStepJumpCount, step_);
}

}  // namespace plat
