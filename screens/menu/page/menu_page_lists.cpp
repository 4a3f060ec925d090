// Which list is on screen and where its focus is.
#include <initializer_list>

#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "screens/menu/page/menu_page_cache.h"
#include "screens/menu/page/menu_page_ops.h"
#include "screens/menu/page/menu_windows.h"

using namespace menu;

namespace {

constexpr uint32_t kSpecialFirst = kMenuFirmType, kSpecialLast = kMenuDataLast;

// The order in which the lists are tried; 11 is the special-function range.
constexpr uint32_t kListOrder[] = {0, 1, 12, 2, 3, 4, 5, 6, 7, 8, 10, 9, kMenuListSpecial, 13};

// The value columns of a list (-1 none).
struct ListColumns {
    int first, second;
};
constexpr ListColumns kListColumns[kMenuLists] = {
    {-1, -1},
    {kColLan, -1},
    {kColRs232, -1},
    {kColGpib, -1},
    {kColCan, -1},
    {kColDnet, -1},
    {kColImpedance, -1},
    {kColParallel, -1},
    {kColUsb, -1},
    {kColLcd, -1},
    {kColMisc1, kColMisc2},
    {-1, -1},
    {kColSaveRecall, -1},
    {kColBarcode, -1},
};

// Columns hidden when the top menu comes back.
constexpr int kAllColumns[] = {kColMisc1,      kColMisc2,    kColLan,    kColUsb,       kColCan,
                               kColDnet,       kColRs232,    kColGpib,   kColImpedance, kColLcd,
                               kColSaveRecall, kColParallel, kColBarcode};

constexpr int kFocusRowsPerScreen = 13;
constexpr int kFocusRowPitch = 32;
constexpr uint32_t kFocusPreviewDelay = 10;

bool InSpecialRange(uint32_t state) {
    return state >= kSpecialFirst && state <= kSpecialLast;
}

int WinIndexOf(const WM_HWINDOW* handle) {
    return handle == nullptr ? -1 : static_cast<int>(handle - g_MenuWin);
}

void RepaintListColumns(uint32_t list) {
    MenuWin_Repaint(kWinListArea);
    if (list == 1) MenuWin_Repaint(ColumnWin(kColLan));
    if (list == 10) {
        MenuWin_Repaint(ColumnWin(kColMisc1));
        MenuWin_Repaint(ColumnWin(kColMisc2));
    }
    if (list == 13) MenuWin_Repaint(ColumnWin(kColBarcode));
}

}  // namespace

uint32_t MenuPage_State() {
    return g_MenuState.load(std::memory_order_relaxed);
}

int MenuPage_SelectList() {
    MenuPageCache& c = g_MenuPageCache;
    const uint32_t state = MenuPage_State();
    for (uint32_t list : kListOrder) {
        if (list == c.currentList) continue;
        if (list == kMenuListSpecial) {
            if (!InSpecialRange(state)) continue;
            MenuPage_HideListWindows();
            MenuPage_SpecialPage().show();
            c.currentList = kMenuListSpecial;
            return 1;
        }
        if (RowOfState(g_MenuListTables[list], state) < 0) continue;
        MenuPage_HideListWindows();
        c.currentList = list;
        RepaintListColumns(list);
        return 1;
    }
    return 0;
}

void MenuPage_HideListWindows() {
    const uint32_t list = g_MenuPageCache.currentList;
    if (list == kMenuListSpecial) {
        MenuPage_SpecialPage().hide();
        return;
    }
    // The Parallel list keeps its row windows: its column goes with the others when the top menu returns.
    if (list == 7 || list >= kMenuLists) return;
    MenuPage_HideRowWindows(g_MenuListTables[list]);
}

void MenuPage_HideRowWindows(const MenuListRow* table) {
    if (table == nullptr) return;
    for (int i = 0; table[i].SelectState != kMenuListEnd; ++i) {
        const int w = WinIndexOf(table[i].ValueWindow);
        if (w >= 0) MenuWin_Hide(w);
    }
}

void MenuPage_HideAllColumns() {
    for (int c : kAllColumns)
        MenuWin_Hide(ColumnWin(c));
}

void MenuPage_ShowCurrentList() {
    const uint32_t list = g_MenuPageCache.currentList;
    if (list >= kMenuLists) return;
    if (list == kMenuListSpecial) {
        MenuPage_SpecialPage().update();
        return;
    }
    if (list == 0) {
        const uint32_t state = MenuPage_State();
        if ((state == kMenuSystemInfo || state == kMenuArbEdit) && MenuWin_Visible(kWinArbBody)) {
            MenuWin_Hide(kWinArbBody);
            MenuWin_Hide(kWinArbTitle);
        }
        MenuPage_HideAllColumns();
    } else {
        for (int c : {kListColumns[list].first, kListColumns[list].second})
            if (c >= 0) MenuWin_Show(ColumnWin(c));
    }
    MenuPage_ShowRowFocus(g_MenuListTables[list]);
}

void MenuPage_ShowRowFocus(const MenuListRow* table) {
    MenuPageCache& c = g_MenuPageCache;
    const int row = RowOfState(table, MenuPage_State());
    if (row < 0) return;
    const MenuListRow& r = table[row];
    if (r.Kind == kRowTopMenu) {
        MenuWin_Show(kWinFocusBar);
        MenuWin_Show(kWinPreview);
        WM_MoveToPos(g_MenuWin[kWinFocusBar], WM_GetLeft(g_MenuWin[kWinListArea]),
                     WM_GetTop(g_MenuWin[kWinListArea]) + (row % kFocusRowsPerScreen) * kFocusRowPitch + 2);
        if (c.previewDelay != 0)
            c.previewDelay = kFocusPreviewDelay;
        else
            c.previewPending = 1;
        return;
    }
    if (r.Kind != kRowValue) return;
    MenuWin_Hide(kWinFocusBar);
    MenuWin_Hide(kWinPreview);
    const int w = WinIndexOf(r.ValueWindow);
    if (c.lastRowWindow != nullptr && c.lastRowWindow != r.ValueWindow)
        MenuWin_Hide(WinIndexOf(c.lastRowWindow));
    c.lastRowWindow = r.ValueWindow;
    if (w >= 0) MenuWin_Show(w);
}
