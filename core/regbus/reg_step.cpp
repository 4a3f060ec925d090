#include "core/regbus/reg_step.h"

#include "core/regbus/bus_transfer.h"
#include "platform/stage/reg_map.h"

using namespace regmap;

namespace {

int Step(uint32_t reg, int32_t v) {
    return BusReg_WriteStep(0, reg, v, 0);
}

int StepPhase(const Block& block, int32_t v, regbus::Phase at) {
    const int phase = at.index;
    if (phase < 0 || phase > 2) return -1;
    return BusReg_WriteStep(0, block.at(static_cast<uint32_t>(phase)), v, phase);
}

}  // namespace

int BusReg_SetStepStatus(int32_t v) {
    return Step(kStepStatus, v);
}
int BusReg_SetStepCtrl(int32_t v, regbus::Phase phase) {
    return StepPhase(kStepCtrl, v, phase);
}
int BusReg_SetStepDcv(int32_t v, regbus::Phase phase) {
    return StepPhase(kStepDcv, v, phase);
}
int BusReg_SetStepAcv(int32_t v, regbus::Phase phase) {
    return StepPhase(kStepAcv, v, phase);
}
int BusReg_SetStepFreq(int32_t v, regbus::Phase phase) {
    return StepPhase(kStepFreq, v, phase);
}
int BusReg_SetStepOnPhase(int32_t v, regbus::Phase phase) {
    return StepPhase(kStepOnPhase, v, phase);
}
int BusReg_SetStepOffPhase(int32_t v, regbus::Phase phase) {
    return StepPhase(kStepOffPhase, v, phase);
}
int BusReg_SetStepJumpTo(int32_t step) {
    return Step(kStepJumpTo, step);
}
int BusReg_SetStepJumpCount(int32_t n) {
    return Step(kStepJumpCount, n);
}
int BusReg_SetStepBranch1(int32_t step) {
    return Step(kStepBranch1, step);
}
int BusReg_SetStepBranch2(int32_t step) {
    return Step(kStepBranch2, step);
}
int BusReg_SetStepTime(int32_t t) {
    return Step(kStepTime, t);
}
int BusReg_SetStepWord798(int32_t v) {
    return Step(kStepWord798, v);
}
int BusReg_SetStepPhaseL2(int32_t angle) {
    return Step(kStepPhaseL2, 3600 - angle);
}
int BusReg_SetStepPhaseL3(int32_t angle) {
    return Step(kStepPhaseL3, 3600 - angle);
}
int BusReg_SetStepDuty(int32_t v, regbus::Phase phase) {
    return StepPhase(kStepDuty, v, phase);
}
