// The SIMULATE ON and OFF phase editors: above 500.00 Hz the angle moves in whole degrees up to 359.0.
#include "core/params/settings/angle_bounds.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/util/num_util.h"
#include "engine/run/seqsim_verify.h"
#include "engine/seq/seq_limits.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/sim/sim_access.h"
#include "engine/sim/sim_setters.h"
#include "screens/seqsim/sim/sim_entries.h"
#include "screens/seqsim/simedit/sim_edit_common.h"
#include "screens/seqsim/simedit/sim_edit_words.h"
#include "screens/seqsim/simedit/sim_field_editors.h"

using namespace simedit;

namespace {

constexpr int32_t kQuarterAngles[4] = {0, 900, 1800, 2700};

constexpr PhaseLimits kLimits{[](int) { return SimGetOnOffPhaseMin(); }, SimGetOnOffPhaseMax};

struct PhaseField {
    uint32_t firstState;
    bool typedUnchangedOnly;  // the typed number is written only while the working value is the saved one
    int32_t (*set)(int32_t value, int phase);
    int (*check)(int32_t state, int phase, int engine);
    void (*back)(int phase);
};

// The limits and steps of the phase's frequency, the upper limit kept in the edit copy.
struct Steps {
    int32_t upper, factor, positions;
};
Steps StepsFor(int phase) {
    const bool whole = settings::WholeDegreeAngles(SimGetFreq(phase));
    const Steps s = whole ? Steps{settings::kAngleMaxWholeDegrees, 10, 3} : Steps{SeqGetPhaseMax(), 1, 4};
    g_EditParam.max = s.upper;
    return s;
}

void EnterKey(const PhaseField& f, int phase) {
    const uint32_t state = engine::SimState();
    if (EntryPending() && (!f.typedUnchangedOnly || Work() == Saved())) {
        int32_t v = 0;
        if (!TypedPhase(TypedNumber(), SimGetFreq(phase), &v)) return RefuseTyped(kMsgPhaseLimited);
        if (!WritePhases(f.set, kLimits, v, phase, true)) MsgQueue_PostId(kMsgPhaseLimited);
    } else {
        WritePhases(f.set, kLimits, Work(), phase, true);
    }
    f.back(phase);
    AfterWrite(f.check(static_cast<int32_t>(state), phase, kEngineSim));
}

void Run(const PhaseField& f, uint32_t* ev) {
    const Key k = Decode(ev);
    const uint32_t offset = g_MenuState.load(std::memory_order_acquire) - f.firstState;
    const int phase = offset <= 2 ? static_cast<int>(offset) : 0;
    const Steps steps = StepsFor(phase);
    if (ExitKey(k, f.back, phase)) return;
    if (k.cls == kClassKeypad && k.code == kKeyEnter) {
        EnterKey(f, phase);
    } else if (k.cls == kClassSoft && k.code >= kKeySoft1 && k.code <= kKeySoft4) {
        SetWork(kQuarterAngles[k.code - kKeySoft1]);
    } else if (k.cls == kClassCursor && k.code == kKeyKnob) {
        SetWork(EditValueStep(Work(), static_cast<int32_t>(Cursor()), k.delta * steps.factor, steps.upper,
                              SimGetOnOffPhaseMin()));
        SetSaved(Work());
    } else if (k.cls == kClassCursor && (k.code == kKeyLeft || k.code == kKeyRight)) {
        SetCursor(static_cast<uint32_t>(
            WrapIndex(static_cast<int32_t>(Cursor()), k.code == kKeyLeft ? 1 : -1, steps.positions)));
    }
}

constexpr PhaseField kOn{kSimEditOnpha, false, SimSetOnpha, SeqSimVerifyOnPhase,
                         [](int p) { Enter_menuSimulationOnpha(p); }};
constexpr PhaseField kOff{kSimEditOffpha, true, SimSetOffpha, SeqSimVerifyOffPhase,
                          [](int p) { Enter_menuSimulationOffpha(p); }};

}  // namespace

void menuEditSimulationOnpha(uint32_t* ev) {
    Run(kOn, ev);
}
void menuEditSimulationOffpha(uint32_t* ev) {
    Run(kOff, ev);
}
