#include "core/regbus/reg_step.h"

#include "core/regbus/bus_transfer.h"

namespace {

int Step(uint32_t reg, int32_t v) {
    return BusReg_WriteStep(0, reg, v, 0);
}

int StepPhase(uint32_t first, int32_t v, int phase) {
    if (phase < 0 || phase > 2) return -1;
    return BusReg_WriteStep(0, first + static_cast<uint32_t>(phase), v, phase);
}

}  // namespace

int BusReg_SetStepStatus(int32_t v) {
    return Step(768, v);
}
int BusReg_SetStepCtrl(int32_t v, int phase) {
    return StepPhase(769, v, phase);
}
int BusReg_SetStepDcv(int32_t v, int phase) {
    return StepPhase(772, v, phase);
}
int BusReg_SetStepAcv(int32_t v, int phase) {
    return StepPhase(775, v, phase);
}
int BusReg_SetStepFreq(int32_t v, int phase) {
    return StepPhase(778, v, phase);
}
int BusReg_SetStepOnPhase(int32_t v, int phase) {
    return StepPhase(781, v, phase);
}
int BusReg_SetStepOffPhase(int32_t v, int phase) {
    return StepPhase(784, v, phase);
}
int BusReg_SetStepJumpTo(int32_t step) {
    return Step(787, step);
}
int BusReg_SetStepJumpCount(int32_t n) {
    return Step(788, n);
}
int BusReg_SetStepBranch1(int32_t step) {
    return Step(789, step);
}
int BusReg_SetStepBranch2(int32_t step) {
    return Step(790, step);
}
int BusReg_SetStepTime(int32_t t) {
    return Step(791, t);
}
int BusReg_SetStepWord798(int32_t v) {
    return Step(798, v);
}
int BusReg_SetStepPhaseL2(int32_t angle) {
    return Step(799, 3600 - angle);
}
int BusReg_SetStepPhaseL3(int32_t angle) {
    return Step(800, 3600 - angle);
}
int BusReg_SetStepDuty(int32_t v, int phase) {
    return StepPhase(801, v, phase);
}

int BusReg_SetStepIndex(int32_t) {
    return 0;
}
