// The output impedance and parallel editors: records of the parameter store, edited by the common protocol.
#include <atomic>

#include "core/control/output_sync.h"
#include "core/system/links/parallel_link.h"
#include "screens/menu/editors/item_edit_keys.h"
#include "screens/menu/editors/menu_editor.h"
#include "drivers/panel_link.h"

namespace {
using K = MenuEditKind;
constexpr uint8_t kClassCursor = 4, kKnob = 213;
constexpr uint32_t kPositionRow = 208;

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
constexpr MenuEditor kImpedance{194, 193, K::kChoice, true, nullptr, nullptr, nullptr};
constexpr MenuEditor kInductance[] = {
    {196, 195, K::kNumeric, false, nullptr, nullptr, nullptr},
    {198, 197, K::kNumeric, false, nullptr, nullptr, nullptr},
    {200, 199, K::kNumeric, false, nullptr, nullptr, nullptr},
};
constexpr MenuEditor kResistance[] = {
    {202, 201, K::kNumeric, false, nullptr, nullptr, nullptr},
    {204, 203, K::kNumeric, false, nullptr, nullptr, nullptr},
    {206, 205, K::kNumeric, false, nullptr, nullptr, nullptr},
};
constexpr MenuEditor kPositionEditor{209, kPositionRow, K::kChoice, true, nullptr, nullptr, EnterPosition};
constexpr MenuEditor kNumber{211, 210, K::kNumeric, true, nullptr, nullptr, nullptr};
constexpr MenuEditor kEnable{213, 212, K::kChoice, true, nullptr, nullptr, nullptr};
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
    if (KeyEventClass(*ev) == kClassCursor && KeyEventCode(*ev) != kKnob) return;
    MenuEditor_Keys(ev, kNumber);
}
