#include "engine/run/seqsim_download.h"

#include "core/regbus/reg_step.h"
#include "engine/run/seqsim_verify.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_internal.h"
#include "engine/seq/seq_setters.h"
#include "engine/sim/sim_access.h"
#include "engine/sim/sim_setters.h"
#include "platform/stage/wiring_codes.h"

using namespace engine;

namespace {

// Default L2/L3 angles of a wiring (0 3P4W, 1 1P2W, 2 1P3W).
struct Angles {
    uint32_t l2, l3;
};
constexpr Angles kWiringAngles[3] = {{1200, 2400}, {0, 0}, {1800, 2400}};

// The step-global registers of the current step and their verification.
int SeqDownloadGlobals(int32_t s, bool defaultAngles) {
    g_SeqSimStatusShadow = SeqStatusWord();
    BusReg_SetStepStatus(g_SeqSimStatusShadow);
    BusReg_SetStepJumpTo(SeqGetJumpto());
    BusReg_SetStepJumpCount(SeqGetJumpCnt());
    BusReg_SetStepBranch1(SeqGetBranch1());
    BusReg_SetStepBranch2(SeqGetBranch2());
    BusReg_SetStepTime(SeqGetTime());
    BusReg_SetStepWord798(0);
    if (defaultAngles) {
        const uint32_t wiring = SeqSavedConfigCopy().wiring;
        const Angles a = wiring < kWirings ? kWiringAngles[wiring] : kWiringAngles[0];
        SeqRec(0).angleL2 = a.l2;
        SeqRec(0).angleL3 = a.l3;
    }
    // The register holds what the getters report (fixed angles in 1P3W and 1P2W, none in the DC kind).
    BusReg_SetStepPhaseL2(SeqGetBalance_L2());
    BusReg_SetStepPhaseL3(SeqGetBalance_L3());
    return SeqSimVerifyStatusReg(s, kEngineSeq) + SeqSimVerifyJumpto(s, kEngineSeq) + SeqVerifyJumpCnt(s) +
           SeqVerifyBranch1(s) + SeqVerifyBranch2(s) + SeqSimVerifyTime(s, kEngineSeq) +
           SeqSimVerifyErrReg(s, kEngineSeq) + SeqSimVerifyBalance_L2(s, kEngineSeq) +
           SeqSimVerifyBalance_L3(s, kEngineSeq);
}

int SeqDownloadPhase(int32_t s, int p) {
    SeqApplyStep(p);
    BusReg_SetStepDcv(SeqGetDcv(p), regbus::Phase(p));
    BusReg_SetStepAcv(SeqGetAcv(p), regbus::Phase(p));
    BusReg_SetStepFreq(SeqGetFset(p), regbus::Phase(p));
    BusReg_SetStepOnPhase(SeqGetOnPhase(p), regbus::Phase(p));
    BusReg_SetStepOffPhase(SeqGetOffPhase(p), regbus::Phase(p));
    BusReg_SetStepDuty(SeqGetDuty(p), regbus::Phase(p));
    return SeqSimVerifyPhaseReg(s, p, kEngineSeq) + SeqSimVerifyDcv(s, p, kEngineSeq) +
           SeqSimVerifyAcv(s, p, kEngineSeq) + SeqSimVerifyFset(s, p, kEngineSeq) +
           SeqSimVerifyOnPhase(s, p, kEngineSeq) + SeqSimVerifyOffPhase(s, p, kEngineSeq) +
           SeqVerifyDuty(s, p);
}

void SimDownloadSlot(uint32_t s) {
    SimSelectState(s);
    if (s == kSimNormal2) {
        SimSetEnRepeat(SimGetEnRepeat());
        SimSetRepeat(SimGetRepeat());
    }
    g_SeqSimStatusShadow = SimStatusWord(s);
    BusReg_SetStepStatus(g_SeqSimStatusShadow);
    BusReg_SetStepJumpTo(SimGetJumpto());
    const SeqStepRecord& seq = g_SeqSimBlock[0].seqTable[0][s];
    BusReg_SetStepBranch1(static_cast<int32_t>(seq.branch1));
    BusReg_SetStepBranch2(static_cast<int32_t>(seq.branch2));
    BusReg_SetStepWord798(0);
    BusReg_SetStepPhaseL2(SimGetBalance_L2());
    BusReg_SetStepPhaseL3(SimGetBalance_L3());
    SimSetTime(s == kSimInitial || s == kSimNoState ? 1 : SimGetTime());
    for (int p = 0; p < 3; ++p) {
        SimApplyStatePhase(p, s);
        BusReg_SetStepDcv(0, regbus::Phase(p));
        SimSetAcv(SimGetAcv(p), p);
        SimSetFreq(SimGetFreq(p), p);
        BusReg_SetStepOnPhase(SimGetOnpha(p), regbus::Phase(p));
        BusReg_SetStepOffPhase(SimGetOffpha(p), regbus::Phase(p));
    }
}

// Verifies the copy of slot c against what SimDownloadSlot wrote there; the phases only while the
// running total is 0.
void SimVerifySlot(uint32_t c, int& total) {
    SimSelectState(c);
    const int32_t s = static_cast<int32_t>(c);
    if (c == kSimNormal2) total += SimVerifyRepeat(s) + SimVerifyEnRepeat(s);
    total += SeqSimVerifyStatusReg(s, kEngineSim) + SimVerifyJumpto(s) + SeqSimVerifyTime(s, kEngineSim) +
             SeqSimVerifyErrReg(s, kEngineSim) + SeqSimVerifyBalance_L2(s, kEngineSim) +
             SeqSimVerifyBalance_L3(s, kEngineSim);
    for (int p = 0; p < 3 && total == 0; ++p) {
        total += SeqSimVerifyPhaseReg(s, p, kEngineSim) + SeqSimVerifyDcv(s, p, kEngineSim) +
                 SeqSimVerifyAcv(s, p, kEngineSim) + SeqSimVerifyFset(s, p, kEngineSim) +
                 SeqSimVerifyOnPhase(s, p, kEngineSim) + SeqSimVerifyOffPhase(s, p, kEngineSim);
    }
}

}  // namespace

void SeqDownloadAll() {
    SeqSimBlock& b = g_SeqSimBlock[0];
    const bool defaultAngles = b.kindChanged.load(std::memory_order_acquire) == 1;
    g_SeqSimStatusShadow = kStatConti;
    // The walk moves the step base with the current step at 0; the step a client selected meanwhile is
    // current again afterwards.
    const uint32_t selected = b.curStep.exchange(0, std::memory_order_acq_rel);
    for (int32_t s = 0; s < kSeqSteps; ++s) {
        b.stepBase.store(static_cast<uint32_t>(s), std::memory_order_release);
        int total = SeqDownloadGlobals(s, defaultAngles);
        for (int p = 0; p < 3 && total == 0; ++p)
            total += SeqDownloadPhase(s, p);
        if (total > 0) break;
    }
    b.kindChanged.store(0, std::memory_order_release);
    b.stepBase.store(0, std::memory_order_release);
    b.curStep.store(selected, std::memory_order_release);
}

void SimDownloadAll() {
    g_SeqSimStatusShadow = kStatConti;
    for (uint32_t s = 0; s < kSimSlots; ++s)
        SimDownloadSlot(s);
    // The skip flags are final only once every transition's time is set: "Normal 1" and "Abnormal" get
    // their status word (bit 2: jump over the following transition) and a jump count of 0 again.
    for (uint32_t s : {uint32_t{kSimNormal1}, uint32_t{kSimAbnormal}}) {
        SimSelectState(s);
        SimSetSyncCode(SimGetSyncCode());
        g_SeqSimStatusShadow = SimStatusWord(s);
        BusReg_SetStepStatus(g_SeqSimStatusShadow);
        BusReg_SetStepJumpCount(0);
    }
    int total = 0;
    for (uint32_t c = 0; c < kSimSlots; ++c)
        SimVerifySlot(c, total);
    SimSelectState(0);
}
