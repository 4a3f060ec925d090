#include "panel/menu/edit_follow.h"

#include <atomic>

#include "core/system/state/edit_state.h"

int EditFollow_Apply(uint32_t editState, int32_t value) {
    if (editState == 0 || editState != g_MenuState.load(std::memory_order_relaxed)) return 0;
    g_EditParam.workValue.store(value, std::memory_order_relaxed);
    return 1;
}
