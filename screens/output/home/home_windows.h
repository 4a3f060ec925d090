#pragma once
// The home page's window tree: the 113 windows by index in creation order (later siblings lie above earlier
// ones), their handles, and the rule that maps a settings-panel row to the value window that shows it. The
// painters tell shared windows apart by looking their handle up here.
#include <array>
#include <cstdint>

#include "GUI/wm/wm.h"
#include "panel/statusbar/status_bar.h"

namespace home {

enum Win : int {
    kWinRoot = 0,
    kWinSlave = 1,
    kWinBody = 2,
    kWinLowerFrame = 3,
    kWinPhaseHeader = 4,
    kWinSeparator = 5,
    kWinVerticalBar = 6,
    kWinPhasor = 7,
    kWinSetLabels = 8,
    kWinSetFrames = 9,
    kWinSetCell0 = 10,  // nine cells, row by row: ACV, DCV, FREQ x L1, L2, L3
    kWinPowerLabels = 19,
    kWinTotalLeft = 20,
    kWinTotalRight = 21,
    kWinPowerCell0 = 22,  // V, A, W, VA, var, PF
    kWinMeterBase = 28,   // column c: its four cells at 28 + 8c + row, then their four tags
    kWinPanelLabel0 = 52,
    kWinPanelValue0 = 58,
    kWinPanelLabel6 = 64,
    kWinPanelValue6 = 70,
    kWinPanelScroll = 76,
    kWinItemList0 = 77,  // item rows 1-4
    kWinItemListHead0 = 81,
    kWinModeList = 85,
    kWinModeListHead = 86,
    kWinLineList = 87,
    kWinLineListHead = 88,
    kWinStatusBar = 89,
    kWinStatusCell0 = 90,  // one per status bar cell, in its order
    kWinSoftKeyColumn = 104,
    kWinSoftKey0 = 105,  // keys 0-7 from the top: DISPLAY, the line, the four ITEM keys, EACH/ALL, RUN/HOLD
    kWinLineKey = kWinSoftKey0 + 1,
    kWinEachAllKey = kWinSoftKey0 + 6,
    kWinHoldKey = kWinSoftKey0 + 7,
    kWinCount = 113,
};

static_assert(int{kWinStatusCell0} + statusbar::kCells == kWinSoftKeyColumn);

// The window of a status bar cell.
constexpr int StatusCellWin(statusbar::Cell cell) { return int{kWinStatusCell0} + cell; }
// Meter cell n = column x 4 + row (column = phase, row = item row 0-3); its tag lies inside it.
constexpr int MeterCellWin(int n) { return kWinMeterBase + 8 * (n / 4) + n % 4; }
constexpr int CellTagWin(int n) { return MeterCellWin(n) + 4; }
// The ITEM key of item row 0-3 (keys 2-5, after DISPLAY and the line key).
constexpr int ItemKeyWin(int row) { return kWinSoftKey0 + 2 + row; }
// Set-value cell of row 0 ACV, 1 DCV, 2 FREQ and column (phase) 0-2.
constexpr int SetCellWin(int row, int col) { return kWinSetCell0 + 3 * row + col; }
// Settings-panel label and value window n = 0-11.
constexpr int PanelLabelWin(int n) { return n < 6 ? kWinPanelLabel0 + n : kWinPanelLabel6 + n - 6; }
constexpr int PanelValueWin(int n) { return n < 6 ? kWinPanelValue0 + n : kWinPanelValue6 + n - 6; }
// The PHASE row's value: the first row of every layout (checked in home_windows.cpp).
inline constexpr int kWinPhaseValue = kWinPanelValue0;

// The window a selected panel row lands in, and whether it lies on the panel's second page.
struct PanelSlot {
    uint32_t page;   // 0 first page, 1 second
    uint32_t index;  // value window 0-11
};
// phaseMode 0 3P4W, 1 1P2W, 2 1P3W; outputMode 0-9.
PanelSlot PanelSlotOfRow(uint32_t row, uint32_t phaseMode, uint32_t outputMode);

}  // namespace home

// Handles of the 113 windows (0 before the page is created, or where a create failed).
extern std::array<WM_HWINDOW, home::kWinCount> g_HomeWin;
// Index of a home window, -1 for any other handle (and for 0).
int HomeWin_IndexOf(WM_HWINDOW h);
