#include "screens/seqsim/seq/seq_select_keys.h"

#include <array>
#include <cmath>

#include "core/params/access/key_entry.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_setters.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/seqsim/seqsim_saved_config.h"
#include "panel/edit/edit_common.h"
#include "platform/host/clock.h"
#include "screens/output/keys/key_table.h"
#include "screens/seqsim/seq/seq_enter.h"
#include "screens/seqsim/seq/seq_fields.h"
#include "screens/seqsim/seq/seq_panel_keys.h"
#include "screens/seqsim/seqsim_panel.h"
#include "screens/seqsim/seqsim_words.h"

namespace {

constexpr int32_t kLastStep = 999;
constexpr int32_t kStepDigits = 3;

// The fields step 0 lacks: on reaching step 0 their cursor goes to the step index.
constexpr uint32_t kNotOnStep0[] = {kMenuSeqSetJumpCnt, kMenuSeqSetStepterm, kMenuSeqEnJumpto,
                                    kMenuSeqSetJumpto,  kMenuSeqEnBranch1,   kMenuSeqSetBranch1,
                                    kMenuSeqEnBranch2,  kMenuSeqSetBranch2};
// A field that another field of its phase shows or hides, and that other field's L1 selection state.
struct Dependent {
    SeqField field;
    uint32_t replacement;
};
constexpr Dependent kDependents[] = {
    {SeqField::kOnPhase, kMenuSeqEnOnPhase}, {SeqField::kOffPhase, kMenuSeqEnOffPhase},
    {SeqField::kDuty, kMenuSeqSetWave},      {SeqField::kJumpto, kMenuSeqEnJumpto},
    {SeqField::kBranch1, kMenuSeqEnBranch1}, {SeqField::kBranch2, kMenuSeqEnBranch2},
};

uint32_t State() {
    return g_MenuState.load(std::memory_order_acquire);
}
bool ScreenReady() {
    return SeqScreenReady.load(std::memory_order_acquire) == 1;
}
bool Running() {
    return SeqSimIsRunning() != 0;
}
void AcvUnitFollows(int32_t before, int32_t after) {
    if (SeqSimStepAcvIsVpp(before) != SeqSimStepAcvIsVpp(after))
        g_SeqSimScreen.acvUnitRedraw.store(1, std::memory_order_release);
}

void CursorKeysAndKnob(uint32_t* ev, const SeqStateInfo& s) {
    const uint8_t code = KeyEventCode(*ev);
    if (code == kKeyLeft || code == kKeyRight) {
        Seq_StepKeys(code, s.phase);
    } else if (code == kKeyKnob) {
        const uint32_t next = SeqKnobNeighbour(State(), KeyEventDelta(*ev));
        if (next != 0) SeqEnterFieldState(next);
    }
}

void SelectionKeys(uint32_t* ev, bool softKeysNeedReady) {
    Seq_KeyHook(ev);
    const SeqStateInfo s = SeqStateOf(State());
    switch (KeyEventClass(*ev)) {
        case kClassKeypad:
            if (KeyEventCode(*ev) == kKeyEnter)
                SeqEnterFieldState(s.editState);
            else if (KeyEventCode(*ev) != kKeyExit)
                Seq_KeypadHook(ev);
            break;
        case kClassShortcut:
            Seq_FilterShortcutKeys(ev);
            break;
        case kClassSoft:
            if (!softKeysNeedReady || ScreenReady()) Seq_SoftKeys(ev);
            break;
        case kClassCursor:
            CursorKeysAndKnob(ev, s);
            break;
        case kClassFunction:
            Seq_FunctionKeyHook(ev);
            Seq_FunctionKeys(ev);
            break;
        default:
            break;
    }
}

// Leaves the step editor for the step index.
void BackToStepIndex(int32_t step) {
    SeqSetCurStep(step);
    Enter_menuSeqSetStepIndex();
    plat::SleepUs(1);
}

}  // namespace

void menuSeqSelectField(uint32_t* ev) {
    const uint32_t state = State();
    SelectionKeys(ev, state == kMenuSeqBalanceL2 || state == kMenuSeqBalanceL3);
}

void menuSeqSetStepIndex(uint32_t* ev) {
    if (SeqPrepStage.load(std::memory_order_acquire) < kSeqPrepIdle) {
        ShowMessageHold("Sequence preparation...");
        return;
    }
    const uint8_t cls = KeyEventClass(*ev);
    if (Running() && (cls == kClassKeypad || cls == kClassCursor)) return;
    SelectionKeys(ev, true);
}

void menuSeqEditStepIndex(uint32_t* ev) {
    const uint8_t code = KeyEventCode(*ev), cls = KeyEventClass(*ev);
    panel::EditParam& e = g_EditParam;
    const int32_t value = e.workValue.load(std::memory_order_relaxed);
    const auto cursor = static_cast<int32_t>(e.cursor);
    if (cls == kClassCursor && (code == kKeyLeft || code == kKeyRight)) {
        e.cursor = static_cast<uint32_t>(WrapIndex(cursor, code == kKeyLeft ? 1 : -1, kStepDigits));
    } else if (cls == kClassCursor && code == kKeyKnob) {
        menuResetEdit();
        const int32_t next = EditValueStep(value, cursor, KeyEventDelta(*ev), kLastStep, 0);
        e.workValue.store(next, std::memory_order_relaxed);
        if (!Running()) {
            g_SeqSimBlock[0].curStep.store(static_cast<uint32_t>(next), std::memory_order_release);
            SeqSimSetDirty();
        }
        AcvUnitFollows(value, next);
    } else if (cls == kClassKeypad && code == kKeyEnter) {
        int32_t step = value;
        if (panel::edit::EntryPending()) {
            const double typed = std::trunc(g_EditBuf.entryValue);
            step = typed < 0 ? 0 : typed > kLastStep ? kLastStep : static_cast<int32_t>(typed);
        }
        const int32_t saved = e.startValue;
        SeqSetCurStep(step);
        plat::SleepUs(1);
        Seq_StepChangedHook(step);
        Enter_menuSeqSetStepIndex();
        AcvUnitFollows(saved, step);
    } else if ((cls == kClassKeypad && code == kKeyExit) || (cls == kClassFunction && code == kKeySeq)) {
        if (panel::edit::EntryPending())
            menuResetEdit();
        else
            BackToStepIndex(e.startValue);
    }
}

void Seq_StepKeys(uint8_t code, int phase) {
    const uint32_t state = State();
    const SeqStateInfo s = SeqStateOf(state);
    const Dependent* dependent = nullptr;
    for (const Dependent& d : kDependents)
        if (d.field == s.field) dependent = &d;
    const int32_t step = SeqGetCurStep();
    int32_t next = step + (code == kKeyRight ? 1 : code == kKeyLeft ? -1 : 0);
    next = next < 0 ? 0 : next > kLastStep ? kLastStep : next;
    if (Running() || next == step) return;
    SeqSetCurStep(next);
    bool toIndex = false;
    for (uint32_t lacking : kNotOnStep0)
        toIndex = toIndex || (next == 0 && state == lacking);
    if (toIndex) {
        Enter_menuSeqSetStepIndex();
    } else if (dependent != nullptr && State() == state && !SeqFieldShown(state)) {
        const bool triple = dependent->field == SeqField::kOnPhase ||
                            dependent->field == SeqField::kOffPhase || dependent->field == SeqField::kDuty;
        SeqEnterFieldState(dependent->replacement + (triple ? static_cast<uint32_t>(phase) : 0));
    }
    SeqSimSetDirty();
    AcvUnitFollows(step, next);
}

int SeqSelect_RegisterKeys() {
    std::array<MenuKeySlot, kSeqKnobOrderCount + 1> slots{};
    for (size_t i = 0; i < kSeqKnobOrderCount; ++i)
        slots[i] = {kSeqKnobOrder[i], menuSeqSelectField};
    slots[0].handler = menuSeqSetStepIndex;
    slots[kSeqKnobOrderCount] = {kMenuSeqEditStepIndex, menuSeqEditStepIndex};
    return KeyTable_RegisterMenu(slots.data(), slots.size());
}
