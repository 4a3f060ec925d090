#include "core/control/calibration/cal_state.h"

#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"

CalStateRec g_CalState;

bool CalibrationInProgress() {
    const uint32_t state = g_MenuState.load(std::memory_order_acquire);
    return CalibrationModeActive() || IsCalibrationState(state);
}

bool CalibrationPointUp() {
    const uint32_t state = g_MenuState.load(std::memory_order_acquire);
    return IsCalPointState(state);
}
