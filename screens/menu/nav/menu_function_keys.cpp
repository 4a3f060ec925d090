// The MENU key of the MENU lists and their editors: one level up, from a list owner to the home view.
#include <atomic>

#include "core/params/access/param_access.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "drivers/panel_link.h"
#include "panel/menu/menu_parents.h"
#include "panel/menu_entries.h"
#include "screens/menu/nav/menu_nav.h"
#include "screens/menu/rows/menu_row_table.h"
#include "screens/menu/rows/row_entry_table.h"

namespace {
constexpr uint32_t kLinkUp = 1u << 16;  // of the parallel link status

// Every MENU row, and the editor it opens, has its entry: a row without one would do nothing when the keys
// reach it.
constexpr bool EveryRowHasEntry() {
    for (const menu_rows::MenuRow& r : menu_rows::kMenuRows) {
        if (r.state == 0) continue;
        if (!menu_rows::HasRowEntry(r.state)) return false;
        if (r.opens == menu_rows::Opens::kEditor && !menu_rows::HasRowEntry(r.state + 1)) return false;
    }
    return true;
}
static_assert(EveryRowHasEntry(), "a MENU row or its editor without a row entry");

// Every list row, and the editor each opens, has a parent for the back and MENU keys.
constexpr bool EveryRowHasParents() {
    for (const menu_rows::MenuRow& r : menu_rows::kMenuRows) {
        if (r.state == 0) continue;
        if (panel::MenuParentOf(r.state) == nullptr) return false;
        if (r.opens == menu_rows::Opens::kEditor && panel::MenuParentOf(r.state + 1) == nullptr) return false;
    }
    return true;
}
// GCC cannot compare addresses while compiling with UndefinedBehaviorSanitizer (VRN_UBSAN): this check is
// left to the other builds.
#ifndef VRN_UBSAN
static_assert(EveryRowHasParents(), "a MENU row without a parent run");
#endif

bool ParallelMayLeave() {
    if (GetParallelEnable() == 0 && GetParallelPosition() != 0) return true;
    return (g_ParallelLink.status.load(std::memory_order_acquire) & kLinkUp) != 0;
}
}  // namespace

void KeyProcess_MenuFunctionKeys(uint32_t* ev) {
    if (KeyEventCode(*ev) != kKeyMenu) return;
    const uint32_t state = g_MenuState.load(std::memory_order_relaxed);
    const panel::MenuParent* p = panel::MenuParentOf(state);
    if (p == nullptr) return;
    if (p->menu == panel::kParentHome)
        menuReturnHome();
    else if (p->menu != panel::kParentParallel)
        menuEnterStateValue(p->menu, 0);
    else if (ParallelMayLeave())
        menuEnterStateValue(kMenuParallel, 0);
}
