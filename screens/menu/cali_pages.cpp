#include "screens/menu/cali_pages.h"

#include "core/control/calibration/calibration.h"
#include "core/system/state/edit_state.h"
#include "panel/menu_entries.h"

namespace {
constexpr uint32_t kFirstVoltPoint = 317, kFirstCurrPoint = 323, kLastCurrPoint = 328;
}  // namespace

// The remote calibration commands and the panel enter the calibration menu the same way.
void Enter_menuCalibration() {
    menuGoCalibration();
}

void caliEnterStep(uint32_t state) {
    if (state < kFirstVoltPoint || state > kLastCurrPoint) return;
    g_MenuState.store(state, std::memory_order_release);
    if (state == kFirstVoltPoint) CaliVoltStart();
    if (state == kFirstCurrPoint) CaliCurrStart();
}
