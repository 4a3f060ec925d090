#include "screens/menu/page/menu_windows.h"

#include <array>

#include "screens/menu/page/menu_paint.h"

WM_HWINDOW g_MenuWin[menu::kWinCount] = {};

namespace menu {
namespace {

constexpr int kDesktop = -1;

struct WinRow {
    int parent;  // window index, or kDesktop
    int x, y, w, h;
    bool shown;
    WM_CALLBACK* painter;
};

// Value columns: place and size in the list area, width of their row windows and the first row's y; rows
// are 25 pixels apart.
struct ColumnGeo {
    int x, y, w, h, rowW, firstRowY;
};
constexpr ColumnGeo kColumnGeo[kColumns] = {
    {200, 35, 100, 410, 100, 0},  {540, 35, 140, 410, 140, 0}, {180, 35, 171, 270, 171, 50},
    {180, 35, 171, 210, 171, 25}, {180, 35, 171, 210, 171, 0}, {180, 35, 171, 210, 171, 0},
    {180, 35, 171, 210, 171, 25}, {180, 35, 171, 210, 171, 0}, {200, 35, 100, 210, 100, 0},
    {200, 35, 100, 210, 100, 0},  {180, 35, 171, 210, 171, 0}, {180, 35, 171, 210, 171, 0},
    {200, 35, 171, 410, 171, 0},
};

constexpr std::array<WinRow, kWinCount> BuildTree() {
    std::array<WinRow, kWinCount> t{};
    t[kWinMain] = {kDesktop, 0, 0, 800, 480, false, MenuPage_PaintMain};
    t[kWinTitle] = {kWinMain, 0, 0, 720, 28, true, MenuPage_PaintTitle};
    t[kWinHint] = {kWinTitle, 60, 0, 720, 22, true, MenuPage_PaintHintLine};
    t[kWinKeyColumn] = {kWinMain, 720, 0, 80, 480, true, MenuPage_PaintKeyColumn};
    constexpr int kKeyY[6] = {0, 60, 120, 180, 240, 420};
    for (int k = 0; k < 6; ++k)
        t[kWinKey0 + k] = {kWinKeyColumn, 0, kKeyY[k], 80, 60, true, MenuPage_PaintSoftKey};
    t[kWinContent] = {kWinMain, 0, 28, 720, 452, true, MenuPage_PaintContent};
    t[kWinListArea] = {kWinContent, 11, 15, 680, 420, true, MenuPage_PaintListArea};
    t[kWinFocusBar] = {kWinListArea, 0, 0, 268, 27, true, MenuPage_PaintFocusBar};
    t[kWinPreview] = {kWinListArea, 366, 5, 400, 390, true, MenuPage_PaintPreview};
    for (int c = 0; c < kColumns; ++c) {
        const ColumnGeo& g = kColumnGeo[c];
        t[ColumnWin(c)] = {kWinListArea, g.x, g.y, g.w, g.h, false, MenuPage_PaintColumn};
        for (int r = 0; r < kColumnRows[c]; ++r)
            t[RowWin(c, r)] = {ColumnWin(c), 0,     g.firstRowY + 25 * r,  g.rowW,
                               25,           false, MenuPage_PaintRowValue};
    }
    t[kWinPasswordBox] = {kWinMain, 270, 180, 201, 91, false, MenuPage_PaintPasswordBox};
    t[kWinPasswordField] = {kWinPasswordBox, 25, 45, 150, 28, true, MenuPage_PaintPasswordField};
    t[kWinArbTitle] = {kDesktop, 0, 0, 480, 24, false, ArbEditPage_Paint};
    t[kWinRangeHint] = {kDesktop, 0, 0, 720, 24, false, ArbEditPage_Paint};
    t[kWinRippleVpp] = {kWinRangeHint, 560, 1, 160, 21, false, ArbEditPage_Paint};
    t[kWinArbBody] = {kDesktop, 0, 28, 716, 450, false, ArbEditPage_Paint};
    t[kWinArbPreview] = {kWinArbBody, 30, 15, 350, 375, true, ArbEditPage_Paint};
    t[kWinArbPanel] = {kWinArbBody, 450, 10, 250, 420, true, ArbEditPage_Paint};
    for (int k = 0; k < 10; ++k)
        t[kWinArbField0 + k] = {kWinArbPanel, 90, 30 * k, 150, 27, true, ArbEditPage_Paint};
    t[kWinLfRingTime] = {kWinRangeHint, 560, 1, 160, 21, false, ArbEditPage_Paint};
    t[kWinHarmonicTable] = {kWinArbPanel, 0, 60, 150, 160, false, ArbEditPage_Paint};
    return t;
}
constexpr std::array<WinRow, kWinCount> kTree = BuildTree();
static_assert(kTree[kWinHarmonicTable].w != 0, "every window has a row");

std::array<uint32_t, kWinCount> g_paintCounts{};

}  // namespace
}  // namespace menu

void MenuWin_CreateAll(void (*beforePasswordBox)()) {
    using namespace menu;
    g_paintCounts.fill(0);
    for (int i = 0; i < kWinCount; ++i) {
        if (i == kWinPasswordBox && beforePasswordBox != nullptr) beforePasswordBox();
        const WinRow& r = kTree[i];
        const int style = r.shown ? WM_CF_SHOW : 0;
        g_MenuWin[i] = r.parent == kDesktop
                           ? WM_CreateTop(r.x, r.y, r.w, r.h, style, r.painter, 0)
                           : WM_CreateChild(r.x, r.y, r.w, r.h, g_MenuWin[r.parent], style, r.painter, 0);
    }
}

int MenuWin_IndexOf(WM_HWINDOW h) {
    if (h == 0) return -1;
    for (int i = 0; i < menu::kWinCount; ++i)
        if (g_MenuWin[i] == h) return i;
    return -1;
}

bool MenuWin_Visible(int index) {
    const WM_HWINDOW h = g_MenuWin[index];
    return h != 0 && WM_IsShown(h) != 0;
}

void MenuWin_Show(int index) {
    if (g_MenuWin[index] != 0 && !MenuWin_Visible(index)) WM_Show(g_MenuWin[index]);
}

void MenuWin_Hide(int index) {
    if (MenuWin_Visible(index)) WM_Hide(g_MenuWin[index]);
}

void MenuWin_Repaint(int index) {
    if (g_MenuWin[index] != 0) WM_Repaint(g_MenuWin[index]);
}

uint32_t MenuWin_PaintCount(int index) {
    return index >= 0 && index < menu::kWinCount ? menu::g_paintCounts[index] : 0;
}

bool MenuWin_BeginPaint(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) {
        WM_DefaultHandler(msg);
        return false;
    }
    const int i = MenuWin_IndexOf(msg->hWin);
    if (i >= 0) ++menu::g_paintCounts[i];
    return true;
}
