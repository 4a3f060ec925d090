// The value columns: every value of the current list in the plain style beside its label.
#include <cstdint>

#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "panel/draw/list_items.h"
#include "panel/menu/menu_page_words.h"
#include "screens/menu/page/menu_page_cache.h"
#include "screens/menu/page/menu_paint.h"
#include "screens/menu/page/menu_windows.h"
#include "screens/menu/values/menu_value_rows.h"
#include "screens/menu/values/menu_value_text.h"

namespace {

using namespace menu;

// The list each column belongs to.
constexpr uint32_t kListOfColumn[kColumns] = {10, 10, 1, 8, 2, 3, 4, 5, 6, 7, 9, 12, 13};

int ColumnOfWindow(int index) {
    for (int c = 0; c < kColumns; ++c)
        if (ColumnWin(c) == index) return c;
    return -1;
}

}  // namespace

void MenuPage_PaintColumn(WM_MSG_RECORD* msg) {
    if (!MenuWin_BeginPaint(msg)) return;
    const int column = ColumnOfWindow(MenuWin_IndexOf(msg->hWin));
    if (column < 0 || g_MenuPageCache.currentList != kListOfColumn[column]) return;
    // The second MISC column starts at row 15, so no row of it clears the window.
    SetBkColorRGB(0x666666);
    GUI_ClearWindow();
    const bool allData = SaveRecallType.load(std::memory_order_relaxed) == 4;
    char text[64];
    for (const ValueRow& row : ValueRows()) {
        if (row.column != column) continue;
        if (row.source == ValueSource::kSaveRecallMemory && allData) continue;
        SettingText(row, text, sizeof text);
        if (text[0] == '\0') continue;
        DrawMenuRowLabel(row.labelRow, text, ValueDim(row) ? 1 : 0);
    }
}
