#include "screens/output/key_table.h"

#include "core/system/state/edit_state.h"
#include "panel/menu/home_fields.h"
#include "screens/output/dialog_keys.h"
#include "screens/output/field_keys.h"
#include "screens/output/home_keys.h"
#include "screens/output/keypad_input.h"

namespace {
struct StateRange {
    uint32_t first, last;
    KeyHandler handler;
};
// Later rows override earlier ones; the states not named keep only the exit key.
constexpr StateRange kRanges[] = {
    {0, 0, nullptr},
    {1, 1, menuAdvenceScreen},
    {2, 2, menuSimpleScreen},
    {3, 3, KeyProcess_Switch_OutputPhase},
    {4, 4, KeyProcess_Switch_OutputPhaseCheck},
    {5, 5, KeyProcess_Preset_OutputPhase},
    {6, 6, KeyProcess_Switch_PresetOutputPhaseCheck},
    {7, 7, KeyProcess_Parallel_Retry},
    {8, 89, KeyProcess_HomeField},
    {38, 38, Keyprocess_MeasItem1},
    {39, 39, Keyprocess_MeasItem2},
    {40, 40, Keyprocess_MeasItem3},
    {41, 41, Keyprocess_MeasItem4},
    {42, 42, Keyprocess_MeasItem5},
    {43, 43, Keyprocess_MeasItem6},
    {44, 44, Keyprocess_MeasItem7},
    {90, 93, nullptr},  // parameter ids that are never the current state
    {94, 315, KeyProcess_MenuPageKeys},
    {379, 379, KeyProcess_Ignore},  // the SEQUENCE trigger-output field takes no keys
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

void menuKeyDispatch(uint32_t* ev) {
    if (ev == nullptr || *ev == 0) return;
    const uint32_t state = g_MenuState.load(std::memory_order_acquire);
    if (state >= kMenuStateCount || g_KeyProcessTable[state] == nullptr) return;
    menuKeypadInput(ev);
    g_KeyProcessTable[state](ev);
}
