#include "screens/output/keys/key_table.h"

#include <atomic>
#include <mutex>

#include "core/system/state/edit_state.h"
#include "core/system/state/home_screens.h"
#include "core/system/state/menu_state_ids.h"
#include "panel/menu/home_field_rows.h"
#include "panel/menu/home_fields.h"
#include "screens/output/keys/dialog_keys.h"
#include "screens/output/keys/field_keys.h"
#include "screens/output/keys/home_keys.h"
#include "screens/output/keys/keypad_input.h"

namespace {
using panel::home::kHomeFieldFirst;
using panel::home::kHomeFieldLast;

struct StateRange {
    uint32_t first, last;
    KeyHandler handler;
};
// Later rows override earlier ones; the states not named keep only the exit key.
constexpr StateRange kRanges[] = {
    {0, 0, nullptr},
    {kScreenAdvanced, kScreenAdvanced, menuAdvenceScreen},
    {kScreenSimple, kScreenSimple, menuSimpleScreen},
    {kMenuPhaseDialog, kMenuPhaseDialog, KeyProcess_Switch_OutputPhase},
    {kMenuPhaseDialogCheck, kMenuPhaseDialogCheck, KeyProcess_Switch_OutputPhaseCheck},
    {kMenuPresetPhaseDialog, kMenuPresetPhaseDialog, KeyProcess_Preset_OutputPhase},
    {kMenuPresetPhaseDialogCheck, kMenuPresetPhaseDialogCheck, KeyProcess_Switch_PresetOutputPhaseCheck},
    {kMenuParallelRetry, kMenuParallelRetry, KeyProcess_Parallel_Retry},
    {kHomeFieldFirst, kHomeFieldLast, KeyProcess_HomeField},
    {kParamMeasItem1, kParamMeasItem1, Keyprocess_MeasItem1},
    {kParamMeasItem1 + 1, kParamMeasItem1 + 1, Keyprocess_MeasItem2},
    {kParamMeasItem1 + 2, kParamMeasItem1 + 2, Keyprocess_MeasItem3},
    {kParamMeasItem1 + 3, kParamMeasItem1 + 3, Keyprocess_MeasItem4},
    {kParamMeasItem1 + 4, kParamMeasItem1 + 4, Keyprocess_MeasItem5},
    {kParamMeasItem1 + 5, kParamMeasItem1 + 5, Keyprocess_MeasItem6},
    {kParamMeasItem7, kParamMeasItem7, Keyprocess_MeasItem7},
    {kParamIrmsLimitMode, kParamIpkLimitMode + 2, nullptr},  // parameter ids that are never the current state
    {kMenuSystemInfo, kMenuBarcodeLast, KeyProcess_MenuPageKeys},
    // The SEQUENCE trigger-output field and its editor take no keys.
    {kMenuSeqSetTriggerOut, kMenuSeqEditTriggerOut, KeyProcess_Ignore},
};

constexpr std::array<KeyHandler, kMenuStateCount> BuildTable() {
    std::array<KeyHandler, kMenuStateCount> t{};
    for (KeyHandler& h : t)
        h = KeyProcess_ExitToHome;
    for (const StateRange& r : kRanges)
        for (uint32_t s = r.first; s <= r.last; ++s)
            t[s] = r.handler;
    return t;
}
}  // namespace

constinit const std::array<KeyHandler, kMenuStateCount> g_KeyProcessTable = BuildTable();

namespace {
// Written under the lock at start, read by the menu/control thread without it.
std::array<std::atomic<KeyHandler>, kArbSlotLast - kMenuSlotFirst + 1> g_MenuSlots{};
std::mutex g_MenuSlotsLock;

bool IsSlot(uint32_t state) {
    return (state >= kMenuSlotFirst && state <= kMenuSlotLast) ||
           (state >= kSeqSimSlotFirst && state <= kSeqSimSlotLast) ||
           (state >= kArbSlotFirst && state <= kArbSlotLast);
}
}  // namespace

int KeyTable_RegisterMenu(const MenuKeySlot* slots, size_t count) {
    if (slots == nullptr && count != 0) return -1;
    const std::lock_guard<std::mutex> hold(g_MenuSlotsLock);
    for (size_t i = 0; i < count; ++i) {
        const MenuKeySlot& s = slots[i];
        if (!IsSlot(s.state) || s.handler == nullptr) return -1;
        const KeyHandler held = g_MenuSlots[s.state - kMenuSlotFirst].load(std::memory_order_relaxed);
        if (held != nullptr && held != s.handler) return -1;
    }
    for (size_t i = 0; i < count; ++i)
        g_MenuSlots[slots[i].state - kMenuSlotFirst].store(slots[i].handler, std::memory_order_release);
    return 0;
}

KeyHandler KeyTable_Handler(uint32_t state) {
    if (state >= kMenuStateCount) return nullptr;
    if (IsSlot(state)) {
        const KeyHandler h = g_MenuSlots[state - kMenuSlotFirst].load(std::memory_order_acquire);
        if (h != nullptr) return h;
    }
    return g_KeyProcessTable[state];
}

void menuKeyDispatch(uint32_t* ev) {
    if (ev == nullptr || *ev == 0) return;
    const KeyHandler handler = KeyTable_Handler(g_MenuState.load(std::memory_order_acquire));
    if (handler == nullptr) return;
    menuKeypadInput(ev);
    handler(ev);
}
