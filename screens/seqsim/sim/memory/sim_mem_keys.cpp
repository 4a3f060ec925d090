#include "screens/seqsim/sim/memory/sim_mem_keys.h"

#include "core/control/setting_accessors.h"
#include "core/params/access/key_entry.h"
#include "core/params/access/param_access.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/util/num_util.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_file.h"
#include "engine/seqsim/seqsim_mode.h"
#include "panel/menu/dialog_words.h"
#include "screens/seqsim/sim/memory/sim_mem_entries.h"
#include "screens/seqsim/sim/memory/sim_memory.h"
#include "screens/seqsim/sim/sim_entries.h"
#include "screens/seqsim/sim/sim_keys.h"
#include "screens/seqsim/simedit/sim_edit_common.h"
#include "screens/seqsim/simedit/sim_edit_words.h"

using namespace simedit;

namespace {

constexpr uint32_t kButtonEnter = 1, kButtonCancel = 0;  // the wiring dialog's buttons
constexpr uint32_t kYes = 0, kNo = 1;                    // the confirmation's buttons
constexpr uint16_t kUnreadable = 0xFFFF;

void ClearPageBit(uint8_t bit) {
    g_SeqSimBlock[0].panelFlags.fetch_and(static_cast<uint8_t>(~bit), std::memory_order_acq_rel);
}

// Leaving a list or a dialog without acting: the page bit is cleared; a pending keypad entry is only
// cancelled, else the field cursor goes home to the state index.
void Leave(uint8_t pageBit) {
    ClearPageBit(pageBit);
    if (EntryPending())
        menuResetEdit();
    else
        Enter_menuSimulationStep();
}

struct List {
    uint8_t pageBit;
    uint32_t (*setSlot)(uint32_t slot);
    void (*enter)();
};

void ListKeys(const List& list, uint32_t* ev) {
    const Key k = Decode(ev);
    if (k.cls == kClassCursor && k.code == kKeyKnob) {
        if (EntryPending()) menuResetEdit();
        // The list runs from SIM0 at the top: turning right moves up.
        SetWork(EditValueStep(Work(), static_cast<int32_t>(Cursor()), -k.delta, 9, 0));
        list.setSlot(static_cast<uint32_t>(Work()));
    } else if (k.cls == kClassSoft) {
        Sim_SoftKeys(ev);
    } else if ((k.cls == kClassKeypad && k.code == kKeyExit) ||
               (k.cls == kClassFunction && k.code == kKeySeq)) {
        Leave(list.pageBit);
    } else if (k.cls == kClassKeypad && k.code == kKeyEnter) {
        list.enter();
    }
}

void RecallChosen() {
    const uint16_t stored = SimMem_StoredPhaseMode(static_cast<int32_t>(SeqSimGetRecallSlot()));
    // A memory that cannot be read has no wiring to confirm: the recall reports it.
    if (stored == kUnreadable || stored == GetPhaseMode()) {
        Sim_RecallSlot();
        Enter_menuSimulationStep();
        return;
    }
    g_DialogChoice.store(kButtonEnter, std::memory_order_relaxed);
    Enter_menuSimulationOutputPhase();
}

void SaveChosen() {
    Sim_SaveSlot();
    Enter_menuSimulationStep();
}

// The two buttons of a dialog: 'V' picks the left one, 'W' the right one, the knob steps between them.
uint32_t Choose(const Key& k, uint32_t current, uint32_t left, uint32_t right) {
    if (k.code == kKeyLeft) return left;
    if (k.code == kKeyRight) return right;
    if (k.code == kKeyKnob)
        return static_cast<uint32_t>(
            EditValueStep(static_cast<int32_t>(current), static_cast<int32_t>(Cursor()), k.delta, 1, 0));
    return current;
}

}  // namespace

void menuSimulationRecallMemory(uint32_t* ev) {
    ListKeys({kSeqPanelRecallOpen, SeqSimSetRecallSlot, RecallChosen}, ev);
}
void menuSimulationSaveMemory(uint32_t* ev) {
    ListKeys({kSeqPanelSaveOpen, SeqSimSetSaveSlot, SaveChosen}, ev);
}

void menuSimulationOutputPhase(uint32_t* ev) {
    Sim_KeyHook(ev);
    const Key k = Decode(ev);
    if (k.cls == kClassCursor) {
        const uint32_t choice =
            Choose(k, g_DialogChoice.load(std::memory_order_relaxed), kButtonEnter, kButtonCancel);
        g_DialogChoice.store(choice, std::memory_order_relaxed);
        SetWork(static_cast<int32_t>(choice));
    } else if (k.cls == kClassKeypad && k.code == kKeyEnter &&
               g_DialogChoice.load(std::memory_order_relaxed) == kButtonEnter) {
        Enter_menuSimulationOutputPhase_Check();
    } else if (k.cls == kClassKeypad && (k.code == kKeyEnter || k.code == kKeyExit)) {
        Leave(kSeqPanelRecallOpen);
    } else if (k.cls == kClassKeypad) {
        Sim_KeypadHook(ev);
    }
}

// NO leaves the tables alone: the memory was only examined, never loaded into them.
void menuSimulationOutputPhase_Check(uint32_t* ev) {
    Sim_KeyHook(ev);
    const Key k = Decode(ev);
    if (k.cls == kClassCursor) {
        SetWork(static_cast<int32_t>(Choose(k, static_cast<uint32_t>(Work()), kYes, kNo)));
    } else if (k.cls == kClassKeypad && k.code == kKeyEnter && Work() == static_cast<int32_t>(kYes)) {
        Sim_RecallSlot();
        Enter_menuSimulationStep();
    } else if (k.cls == kClassKeypad && (k.code == kKeyEnter || k.code == kKeyExit)) {
        Leave(kSeqPanelRecallOpen);
    } else if (k.cls == kClassKeypad) {
        Sim_KeypadHook(ev);
    }
}
