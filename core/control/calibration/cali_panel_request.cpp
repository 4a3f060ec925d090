#include "core/control/calibration/cali_panel_request.h"

#include <atomic>

#include "core/control/core_ui_hooks.h"

namespace {
constexpr uint32_t kNone = 0, kItemList = 316, kLastEntry = 329;
std::atomic<uint32_t> g_request{kNone};
}  // namespace

void CaliPanel_Request(uint32_t state) {
    if (state < kItemList || state > kLastEntry) return;
    g_request.store(state, std::memory_order_release);
}

bool CaliPanel_TakeRequest() {
    const uint32_t state = g_request.exchange(kNone, std::memory_order_acq_rel);
    if (state == kNone) return false;
    if (state == kItemList)
        core::CallHook(core::CoreUi().enterCalibration);
    else
        core::CallHook(core::CoreUi().caliEnterStep, state);
    return true;
}
