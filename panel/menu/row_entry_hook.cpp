#include "panel/menu/row_entry_hook.h"

#include <atomic>

#include "core/params/access/key_entry.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"

namespace {
std::atomic<MenuRowEntryFn> g_rowEntry{nullptr};
}  // namespace

void MenuRows_SetEntry(MenuRowEntryFn enter) {
    g_rowEntry.store(enter, std::memory_order_release);
}

void menuEnterRowState(uint32_t state) {
    const MenuRowEntryFn enter = g_rowEntry.load(std::memory_order_acquire);
    if (enter != nullptr) enter(state);
}

void menuGoParallelEnableRow() {
    g_MenuState.store(kMenuParallelEnable, std::memory_order_release);
    menuResetEdit();
    g_EditBuf.choiceCursor = 0;
}
