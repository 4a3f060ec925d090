#pragma once
// The MENU page's window tree: every window by index in creation order (later siblings lie above earlier
// ones), their handles, and a paint count per window that the painters keep. Value columns are each followed
// by their row windows. GUI thread only.
#include <cstdint>

#include "GUI/wm/wm.h"

namespace menu {

// Value columns in creation order.
enum Column : int {
    kColMisc1 = 0,
    kColMisc2,
    kColLan,
    kColUsb,
    kColRs232,
    kColGpib,
    kColCan,
    kColDnet,
    kColImpedance,
    kColParallel,
    kColLcd,
    kColSaveRecall,
    kColBarcode,
    kColumns,
};

// Row windows per column, in creation order.
inline constexpr int kColumnRows[kColumns] = {15, 6, 7, 2, 4, 1, 2, 2, 7, 3, 3, 3, 12};

constexpr int ColumnSpan(int c) {
    return c < 0 ? 0 : ColumnSpan(c - 1) + 1 + kColumnRows[c];
}

enum Win : int {
    kWinMain = 0,
    kWinTitle,
    kWinHint,
    kWinKeyColumn,
    kWinKey0,  // F1-F5, then F6
    kWinContent = kWinKey0 + 6,
    kWinListArea,
    kWinFocusBar,
    kWinPreview,
    kWinColumn0,  // each column, then its row windows
    kWinPasswordBox = kWinColumn0 + ColumnSpan(kColumns - 1),
    kWinPasswordField,
    kWinArbTitle,
    kWinRangeHint,
    kWinRippleVpp,
    kWinArbBody,
    kWinArbPreview,
    kWinArbPanel,
    kWinArbField0,  // value fields 0-9 from the top
    kWinLfRingTime = kWinArbField0 + 10,
    kWinHarmonicTable,
    kWinCount,
};

constexpr int ColumnWin(int c) {
    return kWinColumn0 + ColumnSpan(c - 1);
}
constexpr int RowWin(int c, int row) {
    return ColumnWin(c) + 1 + row;
}

}  // namespace menu

// Handles of the page's windows (0 before the page is created).
extern WM_HWINDOW g_MenuWin[menu::kWinCount];

// The windows built as the page's table lays them out; beforePasswordBox (if any) runs between the value
// columns and the password box, where the special-function sub-page builds its own.
void MenuWin_CreateAll(void (*beforePasswordBox)());
// Index of one of the page's windows, -1 for any other handle (and for 0).
int MenuWin_IndexOf(WM_HWINDOW h);
// Shows or hides a window unless it already is.
void MenuWin_Show(int index);
void MenuWin_Hide(int index);
bool MenuWin_Visible(int index);
// Invalidates and paints a window at once (nothing when it or an ancestor is hidden).
void MenuWin_Repaint(int index);

// Paints made by each window's painter since the page was created.
// Tests count the MENU windows' paints through it.
uint32_t MenuWin_PaintCount(int index);
// The painter of the window being painted counts it; false for any message but the paint message, which
// then goes to the default handler.
bool MenuWin_BeginPaint(WM_MSG_RECORD* msg);
