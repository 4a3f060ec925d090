#include "core/system/config/lan_pending.h"

#include <atomic>

core::LanPending g_LanPending;

void LanPendingMark(uint32_t bit, bool changed) {
    std::atomic_ref<uint32_t> mask(g_LanPending.mask);
    if (changed)
        mask.fetch_or(1u << bit, std::memory_order_acq_rel);
    else
        mask.fetch_and(~(1u << bit), std::memory_order_acq_rel);
}
