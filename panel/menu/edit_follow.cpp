#include "panel/menu/edit_follow.h"

#include <atomic>

#include "core/system/state/edit_state.h"

namespace {
// State in the high word, value in the low word, taken whole; 0 while nothing is posted (no edit state is
// 0).
std::atomic<uint64_t> g_followReq{0};
}  // namespace

void EditFollow_Post(uint32_t editState, int32_t value) {
    if (editState == 0) return;
    g_followReq.store((uint64_t{editState} << 32) | static_cast<uint32_t>(value), std::memory_order_release);
}

int EditFollow_Apply() {
    const uint64_t req = g_followReq.exchange(0, std::memory_order_acquire);
    if (req == 0) return 0;
    const auto state = static_cast<uint32_t>(req >> 32);
    if (state != g_MenuState.load(std::memory_order_relaxed)) return 0;
    g_EditParam.workValue.store(static_cast<int32_t>(static_cast<uint32_t>(req)), std::memory_order_relaxed);
    return 1;
}
