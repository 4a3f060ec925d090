#include "screens/output/key_table.h"

#include "core/system/state/edit_state.h"
#include "panel/menu/home_fields.h"
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
    {8, 89, KeyProcess_HomeSetting},
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
