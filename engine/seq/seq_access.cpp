#include "engine/seq/seq_access.h"

#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "engine/seq/seq_internal.h"
#include "platform/stage/wiring_codes.h"

namespace engine {

namespace {
// Per thread, so that two threads that meet an out-of-range step never share it.
thread_local SeqStepRecord g_scratch;
}  // namespace

uint32_t SeqKind() {
    uint32_t mode = GetOutputMode();
    return IsIntMode(mode) ? mode : 0;
}

uint32_t SeqAbsStep() {
    const SeqSimBlock& b = g_SeqSimBlock[0];
    return b.curStep.load(std::memory_order_acquire) + b.stepBase.load(std::memory_order_acquire);
}

SeqStepRecord& SeqRecAt(uint32_t step, int slice) {
    if (step >= kSeqSteps || slice < 0 || slice >= kSeqSlices) {
        g_scratch = {};
        return g_scratch;
    }
    return g_SeqSimBlock[slice].seqTable[SeqKind()][step];
}

bool VppWave(uint32_t wave) {
    return GetAcvUnit() == 1 && wave >= 1 && wave <= 256 && wave != kWaveCodeSin && wave != kWaveCodeSqu;
}

bool SeqVppAt(uint32_t step, int phase) {
    if (GetAcvUnit() != 1 || !ValidPhase(phase)) return false;
    if (phase == 1 && GetPhaseMode() == kWiring1P3W) phase = 0;
    return VppWave(SeqRecAt(step, phase).wave);
}

}  // namespace engine

using namespace engine;

namespace {

int32_t AcField(int phase, uint32_t SeqStepRecord::*field) {
    if (!ValidPhase(phase) || !KindHasAc(SeqKind())) return 0;
    return static_cast<int32_t>(SeqRec(phase).*field);
}
int32_t AcType(int phase, uint32_t shift) {
    if (!ValidPhase(phase) || !KindHasAc(SeqKind())) return 0;
    return static_cast<int32_t>(TypeField(SeqRec(phase).flags, shift));
}
int32_t AcFlag(int phase, uint32_t bit) {
    if (!ValidPhase(phase) || !KindHasAc(SeqKind())) return 0;
    return (SeqRec(phase).flags & bit) ? 1 : 0;
}
int32_t Global(uint32_t SeqStepRecord::*field) {
    return static_cast<int32_t>(SeqRec(0).*field);
}
int32_t GlobalFlag(uint32_t bit) {
    return (SeqRec(0).flags & bit) ? 1 : 0;
}
bool AtValid(int32_t step, int phase) {
    return step >= 0 && step < kSeqSteps && ValidPhase(phase);
}

}  // namespace

int32_t SeqGetAbsStep() {
    return static_cast<int32_t>(SeqAbsStep());
}
int32_t SeqGetCurStep() {
    return static_cast<int32_t>(g_SeqSimBlock[0].curStep.load(std::memory_order_acquire));
}

int32_t SeqGetAcv(int phase) {
    return SeqGetAcvAt(static_cast<int32_t>(SeqAbsStep()), phase);
}
int32_t SeqGetAcvMode(int phase) {
    return AcType(phase, kSeqAcvTypeShift);
}
int32_t SeqGetDcv(int phase) {
    return SeqGetDcvAt(static_cast<int32_t>(SeqAbsStep()), phase);
}
int32_t SeqGetDcvMode(int phase) {
    return SeqGetDcvModeAt(static_cast<int32_t>(SeqAbsStep()), phase);
}
int32_t SeqGetFset(int phase) {
    return AcField(phase, &SeqStepRecord::fset);
}
int32_t SeqGetFsetMode(int phase) {
    return AcType(phase, kSeqFsetTypeShift);
}
int32_t SeqGetWave(int phase) {
    return AcField(phase, &SeqStepRecord::wave);
}
int32_t SeqGetDuty(int phase) {
    return AcField(phase, &SeqStepRecord::duty);
}
int32_t SeqGetOnPhase(int phase) {
    return AcField(phase, &SeqStepRecord::onPhase);
}
int32_t SeqGetEnOnPhase(int phase) {
    return AcFlag(phase, kSeqEnOnPhase);
}
int32_t SeqGetOffPhase(int phase) {
    return AcField(phase, &SeqStepRecord::offPhase);
}
int32_t SeqGetEnOffPhase(int phase) {
    return AcFlag(phase, kSeqEnOffPhase);
}
int32_t SeqGetTime() {
    return Global(&SeqStepRecord::time);
}
int32_t SeqGetJumpto() {
    return Global(&SeqStepRecord::jumpTo);
}
int32_t SeqGetEnJumpto() {
    return GlobalFlag(kSeqEnJumpto);
}
int32_t SeqGetJumpCnt() {
    return Global(&SeqStepRecord::jumpCnt);
}
int32_t SeqGetBranch1() {
    return Global(&SeqStepRecord::branch1);
}
int32_t SeqGetEnBranch1() {
    return GlobalFlag(kSeqEnBranch1);
}
int32_t SeqGetBranch2() {
    return Global(&SeqStepRecord::branch2);
}
int32_t SeqGetEnBranch2() {
    return GlobalFlag(kSeqEnBranch2);
}
int32_t SeqGetTerm() {
    return static_cast<int32_t>(TypeField(SeqRec(0).flags, kSeqTermShift));
}
int32_t SeqGetSyncCode() {
    return Global(&SeqStepRecord::syncCode);
}
int32_t SeqGetBalance_L2() {
    const uint32_t kind = SeqKind();
    const uint32_t wiring = GetPhaseMode();
    if (!KindHasAc(kind) || wiring == kWiring1P2W) return 0;
    // 1P3W is one split phase: L2 plays opposite L1 in every kind, whatever angle a step keeps for 3P4W.
    if (wiring == kWiring1P3W) return 1800;
    return Global(&SeqStepRecord::angleL2);
}
int32_t SeqGetBalance_L3() {
    if (!KindHasAc(SeqKind()) || GetPhaseMode() == kWiring1P2W) return 0;
    return Global(&SeqStepRecord::angleL3);
}
int32_t SeqGetTriggerOut() {
    return 0;
}

int32_t SeqGetAcvAt(int32_t step, int phase) {
    if (!AtValid(step, phase) || !KindHasAc(SeqKind())) return 0;
    const SeqStepRecord& r = SeqRecAt(static_cast<uint32_t>(step), phase);
    return static_cast<int32_t>(SeqVppAt(static_cast<uint32_t>(step), phase) ? r.acvVpp : r.acv);
}
int32_t SeqGetAcvModeAt(int32_t step, int phase) {
    if (!AtValid(step, phase) || !KindHasAc(SeqKind())) return 0;
    return static_cast<int32_t>(
        TypeField(SeqRecAt(static_cast<uint32_t>(step), phase).flags, kSeqAcvTypeShift));
}
int32_t SeqGetDcvAt(int32_t step, int phase) {
    if (!AtValid(step, phase) || !KindHasDc(SeqKind())) return 0;
    return SeqRecAt(static_cast<uint32_t>(step), phase).dcv;
}
int32_t SeqGetDcvModeAt(int32_t step, int phase) {
    if (!AtValid(step, phase) || !KindHasDc(SeqKind())) return 0;
    return static_cast<int32_t>(
        TypeField(SeqRecAt(static_cast<uint32_t>(step), phase).flags, kSeqDcvTypeShift));
}
int32_t SeqGetEnJumptoAt(int32_t step) {
    if (!AtValid(step, 0)) return 0;
    return (SeqRecAt(static_cast<uint32_t>(step), 0).flags & kSeqEnJumpto) ? 1 : 0;
}
int32_t SeqGetJumptoAt(int32_t step) {
    if (!AtValid(step, 0)) return 0;
    return static_cast<int32_t>(SeqRecAt(static_cast<uint32_t>(step), 0).jumpTo);
}
int32_t SeqGetTermAt(int32_t step) {
    if (!AtValid(step, 0)) return 0;
    return static_cast<int32_t>(TypeField(SeqRecAt(static_cast<uint32_t>(step), 0).flags, kSeqTermShift));
}
