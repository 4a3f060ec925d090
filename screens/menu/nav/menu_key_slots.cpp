#include "screens/menu/nav/menu_key_slots.h"

#include <array>
#include <utility>

#include "core/system/state/menu_state_ids.h"
#include "screens/menu/editors/misc_editors.h"
#include "screens/menu/nav/menu_nav.h"
#include "screens/menu/nav/menu_nav_table.h"
#include "screens/menu/service/password_entry.h"
#include "screens/output/keys/key_table.h"

namespace {
// USB Speed and the fieldbus list owners have no row but take the row keys.
constexpr uint32_t kRowlessStates[] = {kMenuUsbSpeed, kMenuCanopen, kMenuDevicenet};
constexpr size_t kRowlessCount = sizeof kRowlessStates / sizeof kRowlessStates[0];

// One MISC editor per odd state of the run, each the common editor's handler of its state.
constexpr size_t kMiscCount = (kMiscLastEditor - kMiscFirstEditor) / 2 + 1;
template <size_t... I>
constexpr std::array<KeyHandler, sizeof...(I)> MiscHandlers(std::index_sequence<I...>) {
    return {MiscEditorKeys<kMiscFirstEditor + 2 * I>...};
}
constexpr auto kMiscEditors = MiscHandlers(std::make_index_sequence<kMiscCount>{});

// The MISC rows, in order, open the MISC editors, one each.
constexpr bool MiscRowsHaveEditors() {
    uint32_t n = 0;
    for (const menu_rows::MenuRow& r : menu_rows::kMenuRows) {
        if (r.list != menu_rows::NavList::kMisc) continue;
        if (r.opens != menu_rows::Opens::kEditor || r.state + 1 != kMiscFirstEditor + 2 * n) return false;
        ++n;
    }
    return n == kMiscCount;
}
static_assert(MiscRowsHaveEditors(), "the MISC rows and the MISC editors disagree");

constexpr auto BuildNavSlots() {
    std::array<MenuKeySlot, kMenuNavRows + kRowlessCount + kMiscCount + 1> slots{};
    size_t n = 0;
    for (uint32_t i = 0; i < kMenuNavRows; ++i)
        slots[n++] = {g_MenuNavTable[i].State, KeyProcess_SelectMenuItem};
    for (uint32_t s : kRowlessStates)
        slots[n++] = {s, KeyProcess_SelectMenuItem};
    for (uint32_t i = 0; i < kMiscCount; ++i)
        slots[n++] = {kMiscFirstEditor + 2 * i, kMiscEditors[i]};
    slots[n++] = {kMenuPassword, KeyProcess_Password};
    return slots;
}
constexpr auto kNavSlots = BuildNavSlots();
}  // namespace

int MenuNav_RegisterKeys() {
    return KeyTable_RegisterMenu(kNavSlots.data(), kNavSlots.size());
}
