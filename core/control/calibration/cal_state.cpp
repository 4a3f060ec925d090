#include "core/control/calibration/cal_state.h"

#include "core/system/state/edit_state.h"

CalStateRec g_CalState;

namespace {
constexpr uint32_t kFirstCalState = 316, kLastCalState = 329;
}  // namespace

bool CalibrationInProgress() {
    const uint32_t state = g_MenuState.load(std::memory_order_acquire);
    return CalibrationModeActive() || (state >= kFirstCalState && state <= kLastCalState);
}
