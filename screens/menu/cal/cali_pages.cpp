#include "screens/menu/cal/cali_pages.h"

#include "core/control/calibration/cal_state.h"
#include "core/control/calibration/cali_step_record.h"
#include "core/control/calibration/calibration.h"
#include "core/control/hooks/screen_request.h"
#include "core/params/access/key_entry.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "panel/menu_entries.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
}  // namespace

void Enter_menuCalibration() {
    // The list has no popup that would give back keys a point locked (the soft EXIT leaves them locked).
    g_ParamFlags.fetch_and(~static_cast<uint32_t>(core::kFlagKeysLocked), kRelaxed);
    g_MenuState.store(kMenuCalibration, std::memory_order_release);
    menuResetEdit();
    const auto selection = static_cast<int32_t>(g_CalState.savedSelection.load(kRelaxed));
    g_EditParam.workValue.store(selection, kRelaxed);
    g_EditParam.startValue = selection;
}

void caliEnterStep(uint32_t state) {
    if (!IsCalibrationState(state) || state == kMenuCalibration) return;
    g_MenuState.store(state, std::memory_order_release);
    menuResetEdit();
    ParamRec rec{};
    caliGetStepRecord(state, &rec);
    menuLoadEditRecord(rec);
    g_EditParam.cursor = 0;
    if (state == kMenuCalVoltR100P0) CaliVoltStart();
    if (state == kMenuCalCurrP0) CaliCurrStart();
}

void CaliPage_Enter(uint32_t state, int32_t entry) {
    if (!IsCalibrationState(state)) return;
    if (entry == kCaliPageStateOnly)
        g_MenuState.store(state, std::memory_order_release);
    else if (state == kMenuCalibration)
        Enter_menuCalibration();
    else
        caliEnterStep(state);
}
