// The wiring and output-mode changes seen by the home refresh: each resets the panel's selection and the
// selected line and view, and queues every window whose content depends on the panel's layout. The
// settings are written back one word each under the store's lock, so a key or remote write made meanwhile
// to another word of the same record is kept.
#include <atomic>

#include "core/params/access/param_access.h"
#include "core/params/access/wiring_state.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "panel/menu/settings_layout.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/home/home_dirty_queue.h"
#include "screens/output/home/home_layout.h"
#include "screens/output/home/home_refresh.h"
#include "screens/output/home/home_windows.h"

namespace home {

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr int kWiringCell = StatusCellWin(statusbar::kCellWiring);

// Line L1 and the PHASE view.
void FirstLinePhaseView() {
    paramPutValue(kParamMeasItem1 + 5, 0, 0);
    paramPutValue(kParamMeasItem7, 0, 0);
}

void QueuePanelRows(int count) {
    for (int n = 0; n < count; ++n) {
        Queue(PanelLabelWin(n));
        Queue(PanelValueWin(n));
    }
}

}  // namespace

void PhaseModeChange(uint32_t phaseMode) {
    g_HomePage.viewSel.store(0, kRelaxed);
    g_HomeWindows.resetSelection = 1;
    Queue(kWiringCell);
    g_HomePage.panelPage.store(0, kRelaxed);
    g_HomePage.panelRow.store(0, kRelaxed);
    Queue(kWinPhaseValue);
    FirstLinePhaseView();
    if (phaseMode == kWiring3P4W || phaseMode == kWiring1P3W) g_EditAllPhases.store(1, kRelaxed);
    if (phaseMode == kWiring1P2W) SetPhaseBalanceMode(0);
    if (phaseMode == kWiring1P3W) SetPhaseBalanceMode(1);
    for (PanelItem item : {kItemDcv, kItemIrms})
        Queue(PanelLabelWin(static_cast<int>(LayoutRowOf(item, kModeAcDcInt))));
    Queue(kWinPhasor);
    Queue(kWinPhaseHeader);
    ApplyPhaseModeRule(phaseMode, true);
    for (int n = 0; n < 12; ++n)
        Queue(PanelValueWin(n));
    Queue(kWinLineKey);
    Queue(kWinEachAllKey);
    QueueRange(kWinSetCell0, 9);
    g_OutputRefresh.store(1, std::memory_order_release);
}

void OutputModeChange(uint32_t mode) {
    g_HomeWindows.outputMode = mode;
    if (g_HomeWindows.resetSelection == 1) {
        g_HomePage.panelRow.store(0, kRelaxed);
        g_HomeWindows.resetSelection = 0;
    } else {
        g_HomePage.panelRow.store(1, kRelaxed);
    }
    g_HomePage.rowMask.store(0, kRelaxed);
    const bool noSecondPage = IsDcOrExtMode(mode);
    noSecondPage ? WM_Hide(g_HomeWin[kWinPanelScroll]) : WM_Show(g_HomeWin[kWinPanelScroll]);
    FirstLinePhaseView();
    const bool threeModule = GetPhaseMode() != kWiring1P2W;
    if (threeModule) g_EditAllPhases.store(1, kRelaxed);
    QueuePanelRows(threeModule ? 6 : 12);
    threeModule ? WM_Show(g_HomeWin[kWinPanelScroll]) : WM_Hide(g_HomeWin[kWinPanelScroll]);
    for (int n = 0; n < 12; ++n) {
        Queue(MeterCellWin(n));
        Queue(CellTagWin(n));
    }
    QueueRange(kWinPowerCell0, 6);
    Queue(kWinPhaseHeader);
    for (int win : {int{kWinLineKey}, ItemKeyWin(0), ItemKeyWin(1), int{kWinEachAllKey}})
        Queue(win);
}

}  // namespace home
