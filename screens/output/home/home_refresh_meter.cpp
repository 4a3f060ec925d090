// The home refresh's measured part and the meter settings: the meter cells on their countdown (only when
// a new reading came, and only the cells it changes), the hold, the item rows, the selected line and the
// view. The level bars are a status bar cell (home_status_chain.cpp).
#include <atomic>

#include "core/control/measure/measurement.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/service_flags.h"
#include "panel/draw/panel_shapes.h"
#include "screens/output/home/home_dirty_queue.h"
#include "screens/output/home/home_refresh.h"
#include "screens/output/home/home_windows.h"
#include "screens/output/homepaint/home_meter_draw.h"

namespace home {

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

bool BelowMenuPage() {
    return g_MenuState.load(kRelaxed) < kMenuSystemInfo;
}

void QueueMeterAndPower() {
    for (int n = 0; n < 12; ++n)
        Queue(MeterCellWin(n));
    QueueRange(kWinPowerCell0, 6);
}

// A new reading repaints the cells whose face it changes; a cell already showing its face is left as it
// is, which on an idle unit is every cell.
void QueueChangedMeterAndPower() {
    for (int n = 0; n < 12; ++n)
        if (!HomeMeter_Shows(n, HomeMeter_CellFace(n))) Queue(MeterCellWin(n));
    for (int k = 0; k < 6; ++k)
        if (!HomeMeter_Shows(MeterFaceSlotOfPower(k), HomeMeter_PowerFace(k))) Queue(kWinPowerCell0 + k);
}

void MeterCountdown() {
    if (g_HomeMeterCountdown > 0) {
        --g_HomeMeterCountdown;
        return;
    }
    if (g_ServiceFlags.tempDisplay.load(kRelaxed) == 1) Queue(kWinPhaseHeader);
    if ((g_MeasRefreshFlags.load(std::memory_order_acquire) & kMeasRefreshDue) != 0) {
        QueueChangedMeterAndPower();
        g_MeasRefreshFlags.fetch_and(~kMeasRefreshDue, std::memory_order_acq_rel);
    }
    g_HomeMeterCountdown = paramGetValue(kParamUpdateRate, 0) == 1 ? 5 : 10;
}

}  // namespace

void MeterStep() {
    const uint32_t hold =
        (g_ParamFlags.load(std::memory_order_acquire) & core::kFlagMeterHold) != 0 ? 1u : 0u;
    if (hold != g_HomeWindows.meterHold) {
        g_HomeWindows.meterHold = hold;
        Queue(kWinHoldKey);
        QueueMeterAndPower();
        for (int n = 0; n < 3; ++n)
            Queue(CellTagWin(n));
        return;
    }
    if (hold == 0) MeterCountdown();
}

void ItemRowSteps() {
    for (int k = 0; k < 4; ++k) {
        const uint32_t id = kParamMeasItem1 + static_cast<uint32_t>(k);
        const auto item = static_cast<uint32_t>(paramGetValue(id, 0));
        if (item == g_HomeWindows.items[k]) continue;
        g_HomeWindows.items[k] = item;
        if (BelowMenuPage()) {
            for (int col = 0; col < 3; ++col)
                Queue(MeterCellWin(4 * col + k));
            for (int col = 0; col < 3; ++col)
                Queue(CellTagWin(4 * col + k));
            Queue(ItemKeyWin(k));
        }
        if (g_MenuState.load(kRelaxed) == id) {
            g_EditParam.workValue.store(static_cast<int32_t>(item), kRelaxed);
            MoveWindowRelative(g_HomeWin[kWinItemListHead0 + k], 0, 25 * static_cast<int>(item),
                               g_HomeWin[kWinItemList0 + k]);
        }
    }
    const auto line = static_cast<uint32_t>(GetSelectedLine());
    if (line != g_HomeWindows.lineForKey) {
        g_HomeWindows.lineForKey = line;
        if (BelowMenuPage()) Queue(kWinLineKey);
    }
    const auto view = static_cast<uint32_t>(GetPhaseLineView());
    if (view != g_HomeWindows.view) {
        g_HomeWindows.view = view;
        if (BelowMenuPage()) {
            Queue(kWinLineKey);
            Queue(kWinEachAllKey);
        }
        Queue(kWinPhasor);
        QueueRange(kWinSetCell0, 9);
        for (int n = 0; n < 6; ++n) {
            Queue(PanelValueWin(n));
            Queue(PanelLabelWin(n));
        }
    }
}

}  // namespace home
