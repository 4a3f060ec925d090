#include "screens/menu/cali_pages.h"

#include "core/control/calibration/calibration.h"
#include "core/params/access/key_entry.h"
#include "core/system/state/edit_state.h"

namespace {
constexpr uint32_t kCalibrationMenu = 316;
constexpr uint32_t kFirstVoltPoint = 317, kFirstCurrPoint = 323, kLastCurrPoint = 328;
}  // namespace

void Enter_menuCalibration() {
    menuResetEdit();
    g_MenuState.store(kCalibrationMenu, std::memory_order_release);
}

void caliEnterStep(uint32_t state) {
    if (state < kFirstVoltPoint || state > kLastCurrPoint) return;
    g_MenuState.store(state, std::memory_order_release);
    if (state == kFirstVoltPoint) CaliVoltStart();
    if (state == kFirstCurrPoint) CaliCurrStart();
}
