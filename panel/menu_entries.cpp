#include "panel/menu_entries.h"

#include "core/system/state/edit_state.h"

namespace {
constexpr uint32_t kAdvanceScreen = 1;
constexpr uint32_t kParallelRetry = 7;  // KeyProcess_Parallel_Retry
}  // namespace

void menuGoAdvenceScreen() {
    g_MenuState.store(kAdvanceScreen, std::memory_order_release);
}

void menuEnterStateValue(uint32_t state, int32_t value) {
    g_EditParam.workValue = value;
    g_MenuState.store(state, std::memory_order_release);
}

void menuEnterParallelRetry() {
    g_MenuPrevState.store(g_MenuState.load(std::memory_order_relaxed), std::memory_order_relaxed);
    menuEnterStateValue(kParallelRetry, 1);
}
