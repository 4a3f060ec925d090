// The output impedance and parallel editors: records of the parameter store, edited by the common protocol.
#include <atomic>

#include "core/control/sync/output_sync.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/menu_state_ids.h"
#include "drivers/panel_link.h"
#include "screens/menu/editors/item_edit_keys.h"
#include "screens/menu/editors/menu_editor.h"

namespace {
using K = MenuEditKind;
constexpr uint32_t kPositionRow = kMenuParallelPosition;

// A new position ends parallel operation at once and has the control task send the slew settings again;
// the row's entry takes the Parallel top row instead on a parallel system that is enabled.
void EnterPosition(uint32_t param) {
    if (MenuEdit_StoreChoice(param)) {
        g_ParallelActive.store(0, std::memory_order_release);
        g_SlewRecheckReq.store(1, std::memory_order_release);
    }
    MenuEdit_ReturnToRow(kPositionRow);
}

// {param, row, kind, knob only, upper, stepped, enter}
constexpr MenuEditor kImpedance{
    kMenuImpedanceOnEdit, kMenuImpedanceOn, K::kChoice, true, nullptr, nullptr, nullptr};
constexpr MenuEditor kInductance[] = {
    {kMenuL1InductanceEdit, kMenuL1Inductance, K::kNumeric, false, nullptr, nullptr, nullptr},
    {kMenuL2InductanceEdit, kMenuL2Inductance, K::kNumeric, false, nullptr, nullptr, nullptr},
    {kMenuL3InductanceEdit, kMenuL3Inductance, K::kNumeric, false, nullptr, nullptr, nullptr},
};
constexpr MenuEditor kResistance[] = {
    {kMenuL1ResistanceEdit, kMenuL1Resistance, K::kNumeric, false, nullptr, nullptr, nullptr},
    {kMenuL2ResistanceEdit, kMenuL2Resistance, K::kNumeric, false, nullptr, nullptr, nullptr},
    {kMenuL3ResistanceEdit, kMenuL3Resistance, K::kNumeric, false, nullptr, nullptr, nullptr},
};
constexpr MenuEditor kPositionEditor{
    kMenuParallelPositionEdit, kPositionRow, K::kChoice, true, nullptr, nullptr, EnterPosition};
constexpr MenuEditor kNumber{
    kMenuParallelNumberEdit, kMenuParallelNumber, K::kNumeric, true, nullptr, nullptr, nullptr};
constexpr MenuEditor kEnable{
    kMenuParallelEnableEdit, kMenuParallelEnable, K::kChoice, true, nullptr, nullptr, nullptr};
}  // namespace

void menuListOutputImpedanceEdit(uint32_t* ev) {
    MenuEditor_Keys(ev, kImpedance);
}
void KeyProcess_L1InductanceEdit(uint32_t* ev) {
    MenuEditor_Keys(ev, kInductance[0]);
}
void KeyProcess_L2InductanceEdit(uint32_t* ev) {
    MenuEditor_Keys(ev, kInductance[1]);
}
void KeyProcess_L3InductanceEdit(uint32_t* ev) {
    MenuEditor_Keys(ev, kInductance[2]);
}
void KeyProcess_L1ResistanceEdit(uint32_t* ev) {
    MenuEditor_Keys(ev, kResistance[0]);
}
void KeyProcess_L2ResistanceEdit(uint32_t* ev) {
    MenuEditor_Keys(ev, kResistance[1]);
}
void KeyProcess_L3ResistanceEdit(uint32_t* ev) {
    MenuEditor_Keys(ev, kResistance[2]);
}
void menuListParallelPositionEdit(uint32_t* ev) {
    MenuEditor_Keys(ev, kPositionEditor);
}
void menuListParallelEnableEdit(uint32_t* ev) {
    MenuEditor_Keys(ev, kEnable);
}

// The number of units is set with the knob alone: the cursor keys leave the digit where it is.
void menuListParallelNumberEdit(uint32_t* ev) {
    if (KeyEventClass(*ev) == kClassCursor && KeyEventCode(*ev) != kKeyKnob) return;
    MenuEditor_Keys(ev, kNumber);
}
