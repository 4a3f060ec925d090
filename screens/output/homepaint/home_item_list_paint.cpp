// The measurement-item lists of the four meter rows and their highlighted rows.
#include <algorithm>

#include "GUI/draw/gui_2d.h"
#include "GUI/gui_context.h"
#include "GUI/lcd/color_rgb.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "panel/pages/panel_fonts.h"
#include "screens/output/home/home_lists.h"
#include "screens/output/home/home_windows.h"
#include "screens/output/homepaint/home_meter_items.h"
#include "screens/output/homepaint/home_paint.h"

namespace {

constexpr uint32_t kListColour = 0xF7931E, kBlack = 0x000000, kWhite = 0xFFFFFF;
constexpr int kPitch = 25, kNameX = 35, kNameY = 4, kBoxX0 = 2, kBoxY0 = 2, kBoxX1 = 66, kBoxY1 = 21;
constexpr uint32_t kRows = 4;
constexpr int32_t kMaxItems = 13;

bool Painting(WM_MSG_RECORD* msg) {
    if (msg->MsgId == WM_MSG_PAINT) return true;
    WM_DefaultHandler(msg);
    return false;
}

// The meter row (0-3) a list or head window belongs to, from its own index; kRows for another window.
uint32_t RowOf(WM_HWINDOW h, int first) {
    const int index = HomeWin_IndexOf(h);
    return index >= first && index < first + static_cast<int>(kRows) ? static_cast<uint32_t>(index - first)
                                                                     : kRows;
}

void NameStyle(uint32_t colour) {
    GUI_SelectFont(&kFont16);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    SetColorRGB(colour);
}

// Drawing a text clears the horizontal alignment, so every name takes it again.
void DrawName(const char* name, int y) {
    GUI_SetAlign(GUI_TA_HCENTER | GUI_TA_TOP);
    GUI_DrawTextAt(name, kNameX, y);
}

}  // namespace

void HomeList_DrawItems(const char* const* names, int32_t count) {
    SetBkColorRGB(kListColour);
    GUI_ClearWindow();
    NameStyle(kBlack);
    for (int32_t i = 0; i < count; ++i) {
        const int y = kPitch * static_cast<int>(i);
        DrawName(names[i], y + kNameY);
        GUI_DrawFrame(kBoxX0, y + kBoxY0, kBoxX1, y + kBoxY1);
    }
}

// The list shows the items up to the record's own upper limit (the row's list in the output mode), never
// past the names the row has.
void HomePaint_MeasItemList(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    const uint32_t row = RowOf(msg->hWin, home::kWinItemList0);
    if (row >= kRows) return;
    ParamRec r{};
    paramGetRecord(kParamMeasItem1 + row, &r, 0);
    const uint32_t mode = GetOutputMode();
    const char* names[kMaxItems];
    const int32_t count = std::min({r.defaultMax + 1, home::ItemCount(row, mode), kMaxItems});
    for (int32_t i = 0; i < count; ++i)
        names[i] = home::ItemName(row, mode, i);
    HomeList_DrawItems(names, count);
}

void HomePaint_MeasItemListHead(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    const uint32_t row = RowOf(msg->hWin, home::kWinItemListHead0);
    SetBkColorRGB(kWhite);
    GUI_ClearWindow();
    if (row >= kRows) return;
    NameStyle(kListColour);
    // The row's item, where the refresh placed the highlight (not the published edit words, which can
    // still hold the value before the knob's step when the highlight is painted).
    const int32_t item = paramGetValue(kParamMeasItem1 + row, 0);
    DrawName(home::ItemName(row, GetOutputMode(), item), kNameY);
    GUI_DrawFrame(kBoxX0, kBoxY0, kBoxX1, kBoxY1);
}
