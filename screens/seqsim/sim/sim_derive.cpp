#include "screens/seqsim/sim/sim_derive.h"

#include "core/regbus/bus_transfer.h"
#include "core/regbus/reg_step.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/sim/sim_access.h"
#include "engine/sim/sim_setters.h"
#include "platform/stage/reg_map.h"

using engine::SimRecAt;
using engine::SimSelectState;

namespace {

constexpr uint32_t kTermFieldMask = 7u << kSeqTermShift;

// The voltage and frequency a derived state took, written as the current state of phase p.
void WriteAcvFreq(int phase) {
    SimSetAcv(static_cast<int32_t>(engine::SimRec(phase).acv), phase);
    SimZeroDcv();
    SimSetFreq(static_cast<int32_t>(engine::SimRec(phase).freq), phase);
}

void CopyAcvFreq(uint32_t to, uint32_t from, int phase) {
    SimRecAt(to, phase).acv = SimRecAt(from, phase).acv;
    SimRecAt(to, phase).freq = SimRecAt(from, phase).freq;
}

void DeriveEnd(int phase) {
    SimStepRecord& end = SimRecAt(kSimNoState, phase);
    end.acv = SimRecAt(kSimInitial, phase).acv;
    end.freq = SimRecAt(kSimNormal1, phase).freq;
    end.syncCode = SimRecAt(kSimInitial, 0).syncCode;
    // The end state is written as the stage holds it between runs: terminated with END.
    SeqSimBlock& b = g_SeqSimBlock[0];
    b.liveModes = (b.liveModes & ~kTermFieldMask) | (uint32_t{kTermEnd} << kSeqTermShift);
    g_SeqSimStatusShadow = static_cast<uint16_t>((g_SeqSimStatusShadow & ~kStatTermMask) | kStatEnd);
    WriteAcvFreq(phase);
    SimSetSyncCode(static_cast<int32_t>(end.syncCode));
    b.liveModes &= ~kTermFieldMask;
    g_SeqSimStatusShadow = static_cast<uint16_t>((g_SeqSimStatusShadow & ~kStatTermMask) | kStatConti);
}

// One derivation of a re-derivation row: Normal2 (kN2) or Sim_DeriveState of a state, for a fixed phase
// or the edited one (kEdited).
constexpr uint8_t kN2 = 0xFF;
constexpr int8_t kEdited = -1;
struct Derivation {
    uint8_t state;
    int8_t phase;
};
// The derivations of one editor in one edited state; count 0: the state has none and is not re-selected.
struct RederiveCell {
    uint8_t count;
    Derivation steps[6];
};
constexpr RederiveCell kNone{0, {}};
constexpr RederiveCell kNormal1AllPhases{6, {{kN2, 0}, {4, 0}, {kN2, 1}, {kN2, 2}, {4, 1}, {4, 2}}};
constexpr RederiveCell kNormal1Phase{2, {{kN2, kEdited}, {4, kEdited}}};
constexpr RederiveCell kTrans2L1{1, {{4, 0}}};
constexpr RederiveCell kTrans2Phase{1, {{4, kEdited}}};
constexpr RederiveCell kTrans1AllPhases{3, {{2, 0}, {2, 1}, {2, 2}}};
constexpr RederiveCell kTrans1L1{1, {{2, 0}}};
constexpr RederiveCell kTrans1Phase{1, {{2, kEdited}}};
constexpr RederiveCell kEndAllPhases{3, {{6, 0}, {6, 1}, {6, 2}}};
constexpr RederiveCell kEndL1{1, {{6, 0}}};

// Columns: the edited state Normal1, Normal2, Abnormal, Initial. An L1 frequency edited in Abnormal wrote
// all three phases, so Trans1 follows in all three.
constexpr uint32_t kColumnState[4] = {kSimNormal1, kSimNormal2, kSimAbnormal, kSimInitial};
constexpr RederiveCell kRederive[6][4] = {
    /* kAcvL1 */ {kNormal1AllPhases, kTrans2L1, kTrans1AllPhases, kEndAllPhases},
    /* kAcvPhase */ {kNormal1Phase, kTrans2Phase, kTrans1Phase, kNone},
    /* kFreqL1 */ {kNormal1AllPhases, kTrans2L1, kTrans1AllPhases, kNone},
    /* kFreqPhase */ {kNormal1Phase, kTrans2Phase, kTrans1Phase, kNone},
    /* kWave */ {{2, {{kN2, 0}, {4, 0}}}, kTrans2L1, kTrans1L1, kNone},
    /* kSyncCode */ {kNone, kNone, kNone, kEndL1},
};

}  // namespace

void Sim_DeriveNormal2(int phase) {
    if (phase < 0 || phase > 2) return;
    SimStepRecord& n2 = SimRecAt(kSimNormal2, phase);
    const SimStepRecord& n1 = SimRecAt(kSimNormal1, phase);
    n2.acv = n1.acv;
    n2.freq = n1.freq;
    n2.wave = n1.wave;
    SimSelectState(kSimNormal2);
    SimSetAcv(static_cast<int32_t>(n2.acv), phase);
    SimSetFreq(static_cast<int32_t>(n2.freq), phase);
}

void Sim_DeriveState(uint32_t state, int phase) {
    if (state > kSimNoState || phase < 0 || phase > 2) return;
    SimSelectState(state);
    switch (state) {
        case kSimTrans1:
            CopyAcvFreq(kSimTrans1, kSimAbnormal, phase);
            WriteAcvFreq(phase);
            break;
        case kSimTrans2:
            CopyAcvFreq(kSimTrans2, kSimNormal1, phase);
            WriteAcvFreq(phase);
            break;
        case kSimNoState:
            DeriveEnd(phase);
            break;
        default:
            break;
    }
}

void Sim_RederiveAfterWrite(SimDeriveFrom editor, int phase) {
    const uint32_t edited = engine::SimState();
    for (uint32_t c = 0; c < 4; ++c) {
        if (kColumnState[c] != edited) continue;
        const RederiveCell& cell = kRederive[static_cast<uint32_t>(editor)][c];
        if (cell.count == 0) return;
        for (uint32_t i = 0; i < cell.count; ++i) {
            const Derivation& d = cell.steps[i];
            const int p = d.phase == kEdited ? phase : d.phase;
            if (d.state == kN2)
                Sim_DeriveNormal2(p);
            else
                Sim_DeriveState(d.state, p);
        }
        SeqSimSetCurStep(static_cast<int32_t>(edited));
        return;
    }
}

void Sim_UpdateJumpBit() {
    const uint32_t transition = engine::SimState();
    if (transition != kSimTrans1 && transition != kSimTrans2) return;
    const uint32_t before = transition - 1;
    SimSelectState(before);
    g_SeqSimStatusShadow = static_cast<uint16_t>(BusReg_ReadStepWord(0, regmap::kStepStatus) & 0xFFFFu);
    const bool zeroTime = (SimRecAt(before, 0).flags & kSimSkip) != 0;
    if (((g_SeqSimStatusShadow & kStatJump) != 0) != zeroTime) {
        g_SeqSimStatusShadow = static_cast<uint16_t>(zeroTime ? (g_SeqSimStatusShadow | kStatJump)
                                                              : (g_SeqSimStatusShadow & ~kStatJump));
        BusReg_SetStepStatus(g_SeqSimStatusShadow);
    }
    SimSelectState(transition);
    g_SeqSimStatusShadow = static_cast<uint16_t>(BusReg_ReadStepWord(0, regmap::kStepStatus) & 0xFFFFu);
}
