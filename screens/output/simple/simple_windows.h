#pragma once
// The simple page's window tree: its windows by index in creation order (later siblings lie above earlier
// ones), their handles, and the cell numbering of the meter table. The status bar is the status-bar
// module's own view. Painters that share a callback find their window through SimpleWin_IndexOf.
#include <array>

#include "GUI/wm/wm.h"
#include "panel/statusbar/status_bar.h"

namespace simple {

inline constexpr int kRows = 11;     // table rows per phase column
inline constexpr int kColumns = 3;   // L1, L2, L3
inline constexpr int kCells = kRows * kColumns;
inline constexpr int kSoftKeys = 8;
inline constexpr int kHarmRows = 10;  // orders per column group

enum Win : int {
    kWinRoot = 0,
    kWinBody = 1,
    kWinTable = 2,
    kWinLabel0 = 3,                  // 33 label cells, column by column
    kWinValue0 = kWinLabel0 + kCells,  // 33 value cells, alike
    kWinHarm = kWinValue0 + kCells,
    kWinHarmHeader,
    kWinThd,
    kWinOrderLeft,
    kWinOrderRight,
    kWinHarmValueLeft,
    kWinHarmValueRight,
    kWinPercentLeft,
    kWinPercentRight,
    kWinSoftKeyColumn,
    kWinSoftKey0,  // keys 0-7 from the top
    kWinCount = kWinSoftKey0 + kSoftKeys,
};

// Cell of table row r (0-10) in phase column c (0-2).
constexpr int LabelWin(int row, int col) { return kWinLabel0 + col * kRows + row; }
constexpr int ValueWin(int row, int col) { return kWinValue0 + col * kRows + row; }

}  // namespace simple

// Handles of the page's windows (0 before the page is created, or where a create failed), and its bar.
extern std::array<WM_HWINDOW, simple::kWinCount> g_SimpleWin;
extern statusbar::View g_SimpleBar;

// Index of a simple-page window, -1 for any other handle (and for 0).
int SimpleWin_IndexOf(WM_HWINDOW h);
// Builds the hidden tree under the desktop: 0, or -1 when the graphics memory ran out (the windows made
// so far stay, the rest are 0).
int SimpleWin_Create();
