#include "core/params/access/key_entry.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/sim/sim_access.h"
#include "engine/sim/sim_setters.h"
#include "platform/host/clock.h"
#include "screens/seqsim/sim/sim_entries.h"
#include "screens/seqsim/sim/sim_keys.h"
#include "screens/seqsim/sim/sim_select_keys.h"

namespace {
constexpr int32_t kFirstState = kSimInitial, kLastState = kSimNormal2;

int32_t ClampState(int32_t s) {
    return s < kFirstState ? kFirstState : (s > kLastState ? kLastState : s);
}

bool EntryPending() {
    return g_EditBuf.entryState != 0;
}

// The field cursor goes home when the new state does not show its field: Time in Initial, ACV and
// frequency in Normal2, the voltage, frequency and phase fields in the transitions.
bool FieldHidden(uint32_t menu, int32_t state) {
    switch (state) {
        case kSimInitial:
            return menu == kSimSelTime;
        case kSimNormal2:
            return menu == kSimSelAcv || menu == kSimSelFreq;
        case kSimTrans1:
        case kSimTrans2:
            return menu == kSimSelAcv || menu == kSimSelFreq || menu == kSimSelEnOnpha ||
                   menu == kSimSelOnpha || menu == kSimSelEnOffpha || menu == kSimSelOffpha;
        default:
            return false;
    }
}

void CurrentStateWord(int32_t state) {
    g_SeqSimBlock[0].curStep.store(static_cast<uint32_t>(state), std::memory_order_release);
}
}  // namespace

void Sim_StepKeys(uint8_t code) {
    const uint32_t before = g_MenuState.load(std::memory_order_acquire);
    const bool onPhaseField = before == kSimSelOnpha, offPhaseField = before == kSimSelOffpha;
    const int32_t cur = static_cast<int32_t>(SeqSimGetCurStep());
    const int32_t next = ClampState(cur + (code == kKeyRight ? 1 : -1));
    if (SeqSimIsRunning() || next == cur) return;
    CurrentStateWord(next);
    if (FieldHidden(g_MenuState.load(std::memory_order_acquire), next)) Enter_menuSimulationStep();
    const int phase = static_cast<int>(g_SeqSimRemoteSel[1].load(std::memory_order_acquire) % 3);
    const uint32_t menu = g_MenuState.load(std::memory_order_acquire);
    if (onPhaseField && menu == kSimSelOnpha && SimGetEnOnpha(phase) == 0) Enter_menuSimulationEnOnpha(phase);
    if (offPhaseField && menu == kSimSelOffpha && SimGetEnOffpha(phase) == 0)
        Enter_menuSimulationEnOffpha(phase);
    SeqSimSetDirty();
}

void menuSimulationStep(uint32_t* ev) {
    Sim_KeyHook(ev);
    if (SimPrepRequest.load(std::memory_order_acquire) != 0) {
        ShowMessageHold("Simulation preparation...");
        return;
    }
    if (SimCommonKeys(ev)) return;
    const uint8_t cls = KeyEventClass(*ev), code = KeyEventCode(*ev);
    if (SeqSimIsRunning()) return;
    if (cls == kClassKeypad) {
        if (code == kKeyEnter)
            Enter_menuEditSimulationStep();
        else if (code == kKeyExit)
            Enter_menuSimulationStep();
        else
            Sim_KeypadHook(ev);
    } else if (cls == kClassCursor) {
        SimCursorKeys(kSimSelStep, ev);
    }
}

namespace {
void EditKnob(int32_t delta) {
    const int32_t v = EditValueStep(g_EditParam.workValue.load(std::memory_order_relaxed), 0, delta,
                                    kLastState, kFirstState);
    g_EditParam.workValue.store(v, std::memory_order_relaxed);
    g_SeqSimScreen.fieldRedraw[0].store(1, std::memory_order_release);
    if (SeqSimIsRunning()) return;
    CurrentStateWord(v);
    SeqSimSetDirty();
}

void EditEnter() {
    const int32_t work = g_EditParam.workValue.load(std::memory_order_relaxed);
    int32_t state = work;
    if (work == g_EditParam.startValue && EntryPending()) state = ClampState(g_EditBuf.enteredInt);
    SeqSimSetCurStep(state);
    // The runner thread reads the state word; it gets a moment before the field cursor goes home.
    plat::SleepUs(1);
    Enter_menuSimulationStep();
}

void EditLeave() {
    if (EntryPending()) {
        menuResetEdit();
        return;
    }
    SeqSimSetCurStep(g_EditParam.startValue);
    Enter_menuSimulationStep();
}
}  // namespace

void menuEditSimulationStep(uint32_t* ev) {
    const uint8_t cls = KeyEventClass(*ev), code = KeyEventCode(*ev);
    if (cls == kClassCursor && code == kKeyKnob)
        EditKnob(KeyEventDelta(*ev));
    else if (cls == kClassKeypad && code == kKeyEnter)
        EditEnter();
    else if ((cls == kClassKeypad && code == kKeyExit) || (cls == kClassFunction && code == kKeySeq))
        EditLeave();
}
