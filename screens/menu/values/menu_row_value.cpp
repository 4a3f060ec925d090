// The row value windows: the focused row's value as a box on its select state, its editor on its edit
// state(s).
#include <cstdint>

#include "core/system/config/lan_cfg.h"
#include "panel/draw/list_items.h"
#include "screens/menu/page/menu_page_ops.h"
#include "screens/menu/page/menu_paint.h"
#include "screens/menu/page/menu_windows.h"
#include "screens/menu/values/menu_value_rows.h"
#include "screens/menu/values/menu_value_text.h"

namespace {

using namespace menu;

const ValueRow* RowOfWindow(int index) {
    for (int c = 0; c < kColumns; ++c) {
        const int w = index - ColumnWin(c) - 1;
        if (w >= 0 && w < kColumnRows[c]) return ValueRowOfWindow(c, w);
    }
    return nullptr;
}

// The octet editor of an address row: its four edit states follow the select state.
void PaintAddressEditor(const ValueRow& row, uint32_t state) {
    const sysadmin::LanCfg cfg = LanCfgRead();
    const uint8_t* configured[4] = {cfg.IP, cfg.MASK, cfg.GW, cfg.DNS};
    DrawIpField(static_cast<int>(state - row.select - 1), configured[row.arg & 3]);
}

}  // namespace

void MenuPage_PaintRowValue(WM_MSG_RECORD* msg) {
    if (!MenuWin_BeginPaint(msg)) return;
    const ValueRow* row = RowOfWindow(MenuWin_IndexOf(msg->hWin));
    if (row == nullptr || row->select == 0) return;
    const uint32_t state = MenuPage_State();
    char text[64];
    if (state == row->select) {
        SettingText(*row, text, sizeof text);
        DrawItemValue(row->styleSelect, text, sizeof text);
        return;
    }
    if (row->source == ValueSource::kLanAddr) {
        if (state > row->select && state <= row->select + 4u) PaintAddressEditor(*row, state);
        return;
    }
    if (state != row->select + 1u) return;
    if (row->styleEdit == 2 || row->styleEdit == 3)
        WorkingText(*row, text, sizeof text);
    else
        text[0] = '\0';
    DrawItemValue(row->styleEdit, text, sizeof text);
}
