#include "engine/run/seqsim_verify.h"

#include <atomic>

#include "core/regbus/bus_transfer.h"
#include "core/regbus/encoding.h"
#include "core/system/messaging/msg_ring.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_internal.h"
#include "engine/seq/seq_setters.h"
#include "engine/sim/sim_access.h"
#include "engine/sim/sim_setters.h"
#include "platform/stage/reg_map.h"

using namespace engine;
using namespace regmap;

namespace {

std::atomic<void (*)(int)> g_checks[2];

bool Sim(int engine) {
    return engine == kEngineSim;
}
int Mismatch(int32_t step, int engine) {
    auto& count = Sim(engine) ? g_SeqSimErrors.simCount : g_SeqSimErrors.seqCount;
    auto& last = Sim(engine) ? g_SeqSimErrors.simStep : g_SeqSimErrors.seqStep;
    count.fetch_add(1, std::memory_order_relaxed);
    last.store(step, std::memory_order_relaxed);
    return 1;
}
int Word(int32_t step, int engine, uint32_t reg, uint32_t expected) {
    return BusReg_ReadStepWord(0, reg) == expected ? 0 : Mismatch(step, engine);
}
int Float(int32_t step, int engine, uint32_t reg, float expected) {
    return BusReg_ReadStepFloat(0, reg) == expected ? 0 : Mismatch(step, engine);
}
float Div100(int32_t v) {
    return regbus::FloatDiv(v, 100);
}
float Angle(int32_t angle) {
    return regbus::FloatDiv(3600 - angle, 10);
}

}  // namespace

int SeqSimVerifyStatusReg(int32_t step, int engine) {
    const uint16_t expected = Sim(engine) ? SimStatusWord(SimState()) : SeqStatusWord();
    return Word(step, engine, kStepStatus, expected);
}
int SeqSimVerifyPhaseReg(int32_t step, int phase, int engine) {
    if (!ValidPhase(phase)) return 0;
    const uint32_t expected = Sim(engine) ? SimCtrlWord(SimState(), phase) : g_SeqSimOutCtrl[phase];
    return Word(step, engine, kStepCtrl.at(static_cast<uint32_t>(phase)), expected);
}
int SeqSimVerifyDcv(int32_t step, int phase, int engine) {
    if (!ValidPhase(phase)) return 0;
    return Float(step, engine, kStepDcv.at(static_cast<uint32_t>(phase)),
                 Sim(engine) ? 0.0f : Div100(SeqGetDcv(phase)));
}
int SeqSimVerifyAcv(int32_t step, int phase, int engine) {
    if (!ValidPhase(phase)) return 0;
    const int32_t acv = Sim(engine) ? SimGetAcv(phase) : SeqGetAcv(phase);
    return Float(step, engine, kStepAcv.at(static_cast<uint32_t>(phase)), Div100(acv));
}
int SeqSimVerifyFset(int32_t step, int phase, int engine) {
    if (!ValidPhase(phase) || (Sim(engine) && SimState() == kSimNoState)) return 0;
    const int32_t f = Sim(engine) ? SimGetFreq(phase) : SeqGetFset(phase);
    return Float(step, engine, kStepFreq.at(static_cast<uint32_t>(phase)), Div100(f));
}
int SeqSimVerifyOnPhase(int32_t step, int phase, int engine) {
    if (!ValidPhase(phase)) return 0;
    const int32_t v = Sim(engine) ? SimGetOnpha(phase) : SeqGetOnPhase(phase);
    return Word(step, engine, kStepOnPhase.at(static_cast<uint32_t>(phase)), static_cast<uint32_t>(v));
}
int SeqSimVerifyOffPhase(int32_t step, int phase, int engine) {
    if (!ValidPhase(phase)) return 0;
    const int32_t v = Sim(engine) ? SimGetOffpha(phase) : SeqGetOffPhase(phase);
    return Word(step, engine, kStepOffPhase.at(static_cast<uint32_t>(phase)), static_cast<uint32_t>(v));
}
int SeqSimVerifyJumpto(int32_t step, int engine) {
    if (Sim(engine)) return SimVerifyJumpto(step);
    return Word(step, engine, kStepJumpTo, static_cast<uint32_t>(SeqGetJumpto()));
}
int SimVerifyJumpto(int32_t state) {
    return Word(state, kEngineSim, kStepJumpTo, static_cast<uint32_t>(SimGetJumpto()));
}
int SeqVerifyJumpCnt(int32_t step) {
    return Word(step, kEngineSeq, kStepJumpCount, static_cast<uint32_t>(SeqGetJumpCnt()));
}
int SimVerifyRepeat(int32_t state) {
    const uint32_t got = BusReg_ReadStepWord(1, kStepJumpCount);
    return got == static_cast<uint32_t>(SimGetRepeat()) ? 0 : Mismatch(state, kEngineSim);
}
int SimVerifyEnRepeat(int32_t state) {
    const uint32_t expected =
        (SimRecAt(kSimNormal2, 0).syncCode & 3u) + kStatConti + (SimGetEnRepeat() ? kStatJump : 0);
    return BusReg_ReadStepWord(1, kStepStatus) == expected ? 0 : Mismatch(state, kEngineSim);
}
int SeqVerifyBranch1(int32_t step) {
    return Word(step, kEngineSeq, kStepBranch1, static_cast<uint32_t>(SeqGetBranch1()));
}
int SeqVerifyBranch2(int32_t step) {
    return Word(step, kEngineSeq, kStepBranch2, static_cast<uint32_t>(SeqGetBranch2()));
}
int SeqSimVerifyTime(int32_t step, int engine) {
    const int32_t t = Sim(engine) ? SimGetTime() : SeqGetTime();
    return Word(step, engine, kStepTime, static_cast<uint32_t>(t));
}
int SeqSimVerifyErrReg(int32_t step, int engine) {
    return Float(step, engine, kStepWord798, 0.0f);
}
int SeqSimVerifyBalance_L2(int32_t step, int engine) {
    return Float(step, engine, kStepPhaseL2, Angle(Sim(engine) ? SimGetBalance_L2() : SeqGetBalance_L2()));
}
int SeqSimVerifyBalance_L3(int32_t step, int engine) {
    return Float(step, engine, kStepPhaseL3, Angle(Sim(engine) ? SimGetBalance_L3() : SeqGetBalance_L3()));
}
int SeqVerifyDuty(int32_t step, int phase) {
    if (!ValidPhase(phase)) return 0;
    const uint32_t expected = static_cast<uint32_t>(regbus::DutyTo4096(SeqGetDuty(phase)));
    return Word(step, kEngineSeq, kStepDuty.at(static_cast<uint32_t>(phase)), expected);
}

void SeqReportErrors() {
    const int32_t count = g_SeqSimErrors.seqCount.load(std::memory_order_relaxed);
    const int32_t step = g_SeqSimErrors.seqStep.load(std::memory_order_relaxed);
    if (count + step != 0) ShowMessage(2, "SEQ Err.(%d, %d)", step, count);
}
void SimReportErrors() {
    const int32_t count = g_SeqSimErrors.simCount.load(std::memory_order_relaxed);
    const int32_t step = g_SeqSimErrors.simStep.load(std::memory_order_relaxed);
    if (count + step != 0) ShowMessage(2, "SIM Err.(%d, %d)", step, count);
}

void SeqSimSetCheckHooks(const SeqSimCheckHooks& hooks) {
    g_checks[0].store(hooks.seq, std::memory_order_release);
    g_checks[1].store(hooks.sim, std::memory_order_release);
}
void SeqSimCheck(int engine, int mismatch) {
    void (*check)(int) = g_checks[Sim(engine) ? 1 : 0].load(std::memory_order_acquire);
    if (check != nullptr) check(mismatch);
}
