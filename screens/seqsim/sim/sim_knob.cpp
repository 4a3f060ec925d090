#include "screens/seqsim/sim/sim_knob.h"

#include "core/params/access/param_access.h"
#include "core/system/state/menu_state_ids.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/sim/sim_access.h"
#include "platform/stage/wiring_codes.h"

namespace {
enum class Cond : uint8_t {
    kAlways,
    kState0,
    kStateNot0,
    kState5,
    kState2Or4,  // a transition state
    kRepeat,     // the repeat enabled
    kOnEn0,
    kOnEn1,
    kOnEn2,
    kOffEn0,
    kOffEn1,
    kOffEn2,
    k1P3W,
    kNot1P3W,
};

constexpr uint32_t kStay = 0;
// The first rule whose two conditions hold gives the target; kStay keeps the cursor where it is. Every
// list ends in an unconditional rule (the unused rules are unconditional stays).
struct Rule {
    uint32_t target;
    Cond a = Cond::kAlways;
    Cond b = Cond::kAlways;
};
constexpr int kMaxRules = 6;
struct KnobRow {
    uint32_t state;
    Rule next[kMaxRules];
    Rule prev[kMaxRules];
};

// clang-format off
constexpr KnobRow kKnob[] = {
    {kSimSelStep, {{kSimSelTime, Cond::kStateNot0}, {kSimSelSyncCode}}, {{kStay}}},
    {kSimSelTime, {{kSimSelSyncCode}}, {{kSimSelStep}}},
    {kSimSelSyncCode, {{kSimSelEnRepeat}}, {{kSimSelStep, Cond::kState0}, {kSimSelTime}}},
    {kSimSelEnRepeat,
     {{kSimSelRepeat, Cond::kRepeat}, {kSimSelEnOnpha, Cond::kState5}, {kStay, Cond::kState2Or4}, {kSimSelAcv}},
     {{kSimSelSyncCode}}},
    {kSimSelRepeat,
     {{kSimSelEnOnpha, Cond::kState5}, {kStay, Cond::kState2Or4}, {kSimSelAcv}},
     {{kSimSelEnRepeat, Cond::kRepeat}, {kStay}}},
    {kSimSelAcv, {{kSimSelFreq}}, {{kSimSelRepeat, Cond::kRepeat}, {kSimSelEnRepeat}}},
    {kSimSelAcv + 1, {{kSimSelFreq, Cond::k1P3W}, {kSimSelAcv + 2}}, {{kSimSelAcv}}},
    {kSimSelAcv + 2, {{kSimSelFreq}}, {{kSimSelAcv + 1}}},
    {kSimSelFreq, {{kSimSelEnOnpha}}, {{kSimSelAcv}}},
    {kSimSelFreq + 1, {{kSimSelEnOnpha, Cond::k1P3W}, {kSimSelFreq + 2}}, {{kSimSelFreq}}},
    {kSimSelFreq + 2, {{kSimSelEnOnpha}}, {{kSimSelFreq + 1}}},
    {kSimSelEnOnpha,
     {{kSimSelOnpha, Cond::kOnEn0}, {kSimSelEnOffpha}},
     {{kSimSelRepeat, Cond::kState5, Cond::kRepeat}, {kSimSelEnRepeat, Cond::kState5}, {kSimSelFreq}}},
    {kSimSelEnOnpha + 1,
     {{kSimSelOnpha + 1, Cond::kOnEn1}, {kSimSelEnOffpha, Cond::k1P3W}, {kSimSelEnOnpha + 2}},
     {{kSimSelOnpha, Cond::kOnEn0}, {kSimSelEnOnpha}}},
    {kSimSelEnOnpha + 2,
     {{kSimSelOnpha + 2, Cond::kOnEn2}, {kSimSelEnOffpha}},
     {{kSimSelOnpha + 1, Cond::kOnEn1}, {kSimSelEnOnpha + 1}}},
    {kSimSelOnpha, {{kSimSelEnOffpha}}, {{kSimSelEnOnpha}}},
    {kSimSelOnpha + 1, {{kSimSelEnOffpha, Cond::k1P3W}, {kSimSelEnOnpha + 2}}, {{kSimSelEnOnpha + 1}}},
    {kSimSelOnpha + 2, {{kSimSelEnOffpha}}, {{kSimSelEnOnpha + 2}}},
    {kSimSelEnOffpha, {{kSimSelOffpha, Cond::kOffEn0}, {kStay}}, {{kSimSelOnpha, Cond::kOnEn0}, {kSimSelEnOnpha}}},
    {kSimSelEnOffpha + 1,
     {{kSimSelOffpha + 1, Cond::kOffEn1}, {kSimSelBalanceL2, Cond::k1P3W}, {kSimSelEnOffpha + 2}},
     {{kSimSelOffpha, Cond::kOffEn0}, {kSimSelEnOffpha}}},
    {kSimSelEnOffpha + 2,
     {{kSimSelOffpha + 2, Cond::kOffEn2}, {kStay}},
     {{kSimSelOffpha + 1, Cond::kOffEn1}, {kSimSelEnOffpha + 1}}},
    {kSimSelOffpha, {{kStay}}, {{kSimSelEnOffpha}}},
    {kSimSelOffpha + 1, {{kSimSelBalanceL2, Cond::k1P3W}, {kSimSelEnOffpha + 2}}, {{kSimSelEnOffpha + 1}}},
    {kSimSelOffpha + 2, {{kStay}}, {{kSimSelEnOffpha + 2}}},
    {kSimSelBalanceL2,
     {{kSimSelBalanceL3, Cond::kNot1P3W}, {kStay}},
     {{kSimSelRepeat, Cond::kState2Or4, Cond::kRepeat},
      {kSimSelEnRepeat, Cond::kState2Or4},
      {kSimSelOffpha + 1, Cond::k1P3W, Cond::kOffEn1},
      {kSimSelEnOffpha + 1, Cond::k1P3W},
      {kSimSelOffpha + 2, Cond::kOffEn2},
      {kSimSelEnOffpha + 2}}},
    {kSimSelBalanceL3, {{kStay}}, {{kSimSelBalanceL2}}},
    {kSimSelWave, {{kSimSelSyncCode}}, {{kSimSelOffpha, Cond::kOffEn0}, {kSimSelEnOffpha + 1}}},
};
// clang-format on

bool Holds(Cond c) {
    const uint32_t state = SeqSimGetCurStep();
    switch (c) {
        case Cond::kAlways:
            return true;
        case Cond::kState0:
            return state == 0;
        case Cond::kStateNot0:
            return state != 0;
        case Cond::kState5:
            return state == kSimNormal2;
        case Cond::kState2Or4:
            return state == kSimTrans1 || state == kSimTrans2;
        case Cond::kRepeat:
            return SimGetEnRepeat() == 1;
        case Cond::kOnEn0:
        case Cond::kOnEn1:
        case Cond::kOnEn2:
            return SimGetEnOnpha(static_cast<int>(c) - static_cast<int>(Cond::kOnEn0)) == 1;
        case Cond::kOffEn0:
        case Cond::kOffEn1:
        case Cond::kOffEn2:
            return SimGetEnOffpha(static_cast<int>(c) - static_cast<int>(Cond::kOffEn0)) == 1;
        case Cond::k1P3W:
            return GetPhaseMode() == kWiring1P3W;
        case Cond::kNot1P3W:
            return GetPhaseMode() != kWiring1P3W;
    }
    return false;
}

uint32_t FirstMatch(const Rule (&rules)[kMaxRules], uint32_t state) {
    for (const Rule& r : rules) {
        if (Holds(r.a) && Holds(r.b)) return r.target == kStay ? state : r.target;
    }
    return state;
}
}  // namespace

uint32_t SimKnobTarget(uint32_t state, int32_t delta) {
    for (const KnobRow& row : kKnob)
        if (row.state == state) return FirstMatch(delta > 0 ? row.next : row.prev, state);
    return state;
}
