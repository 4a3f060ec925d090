#include "screens/output/home/home_layout.h"

#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/system/state/service_flags.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/home/home_windows.h"

uint32_t g_HomeRedrawCountdown = 0;

namespace home {

namespace {

void Show(int win) {
    WM_Show(g_HomeWin[win]);
}
void Hide(int win) {
    WM_Hide(g_HomeWin[win]);
}
void ShowRange(int first, int count, bool show) {
    for (int i = 0; i < count; ++i)
        show ? Show(first + i) : Hide(first + i);
}
void ShowMeterCells(bool show) {
    for (int n = 0; n < 12; ++n)
        show ? Show(MeterCellWin(n)) : Hide(MeterCellWin(n));
}
void ShowPanelRows(int first, int count, bool show) {
    for (int n = first; n < first + count; ++n) {
        show ? Show(PanelLabelWin(n)) : Hide(PanelLabelWin(n));
        show ? Show(PanelValueWin(n)) : Hide(PanelValueWin(n));
    }
}

bool OwnsSettings() {
    return GetParallelPosition() == 1 || g_ServiceFlags.threePhase1P2W.load(std::memory_order_relaxed) == 1;
}

}  // namespace

void LayoutPass() {
    if (g_HomeRedrawCountdown > 1) {
        --g_HomeRedrawCountdown;
        return;
    }
    if (g_HomeRedrawCountdown != 1) return;
    if (!OwnsSettings()) {
        Show(kWinSlave);
        Hide(kWinStatusBar);
        Hide(kWinSoftKeyColumn);
        Hide(kWinPhaseHeader);
        return;
    }
    Hide(kWinSlave);
    Show(kWinStatusBar);
    Show(kWinSoftKeyColumn);
    Show(kWinPhaseHeader);
    g_HomeRedrawCountdown = 0;
    // The cells come back only after the body has painted under them, so none shows half a frame.
    ShowMeterCells(false);
    ShowPanelRows(0, 12, false);
    ShowRange(kWinSetCell0, 9, false);
    Show(kWinBody);
    WM_Repaint(g_HomeWin[kWinBody]);
    ShowMeterCells(true);
    ShowRange(kWinSetCell0, 9, true);
    ShowPanelRows(0, 6, true);
    ApplyPhaseModeRule(GetPhaseMode(), false);
}

void ApplyPhaseModeRule(uint32_t phaseMode, bool withVerticalBar) {
    const bool allRows = phaseMode == kWiring1P2W;
    ShowPanelRows(6, 6, allRows);
    allRows ? Show(kWinLowerFrame) : Hide(kWinLowerFrame);
    allRows ? Hide(kWinPanelScroll) : Show(kWinPanelScroll);
    if (withVerticalBar) allRows ? Hide(kWinVerticalBar) : Show(kWinVerticalBar);
}

void ApplyDisplayModeRule(uint32_t displayMode) {
    if (displayMode > 1) return;
    const bool setValues = displayMode == 0;
    for (int win : {int{kWinSetLabels}, int{kWinSetFrames}})
        setValues ? Show(win) : Hide(win);
    ShowRange(kWinSetCell0, 9, setValues);
    ShowRange(kWinPowerLabels, 3, !setValues);
    ShowRange(kWinPowerCell0, 6, !setValues);
}

void ApplyPhasorRule(uint32_t phaseMode, uint32_t outputMode) {
    const bool shown = phaseMode != kWiring1P2W && !IsDcExtOrAddMode(outputMode);
    shown ? Show(kWinPhasor) : Hide(kWinPhasor);
}

}  // namespace home
