#include "core/control/calibration/cali_panel_request.h"

#include <atomic>

#include "core/control/hooks/core_ui_hooks.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"

namespace {
constexpr uint32_t kNone = 0;
constexpr uint32_t kStateOnly = 1u << 31;
std::atomic<uint32_t> g_request{kNone};

void Post(uint32_t state, uint32_t kind) {
    if (state < kMenuCalibration || state > kMenuCalDefaultConfirm) return;
    g_request.store(state | kind, std::memory_order_release);
}
}  // namespace

void CaliPanel_Request(uint32_t state) {
    Post(state, 0);
}

void CaliPanel_RequestState(uint32_t state) {
    Post(state, kStateOnly);
}

bool CaliPanel_TakeRequest() {
    const uint32_t state = g_request.exchange(kNone, std::memory_order_acq_rel);
    if (state == kNone) return false;
    if (state & kStateOnly)
        g_MenuState.store(state & ~kStateOnly, std::memory_order_release);
    else if (state == kMenuCalibration)
        core::CallHook(core::CoreUi().enterCalibration);
    else
        core::CallHook(core::CoreUi().caliEnterStep, state);
    return true;
}
