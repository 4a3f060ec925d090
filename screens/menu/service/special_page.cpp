#include "screens/menu/service/special_page.h"

#include <array>
#include <cstdio>

#include "GUI/draw/gui_2d.h"
#include "GUI/gui_context.h"
#include "GUI/lcd/color_rgb.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "screens/menu/page/menu_fonts.h"
#include "screens/menu/service/special_rows.h"

namespace {

using special::List;

enum Win : int8_t {
    kDesktop = -1,
    kRoot,
    kSoftColumn,
    kSoft1,
    kSoft2,
    kSoft3,
    kSoft4,
    kSoftExit,
    kBody,
    kList,
    kBar,
    kWinCount
};

struct WinDef {
    int16_t x, y, w, h;
    Win parent;
    WM_CALLBACK* paint;
};
void PaintBlack(WM_MSG_RECORD* msg);
// In creation order, which is stacking order: each window after its parent.
constexpr WinDef kTree[kWinCount] = {
    {0, 0, 800, 480, kDesktop, SpecialPage_PaintFrame},
    {720, 0, 80, 480, kRoot, PaintBlack},
    {0, 0, 80, 60, kSoftColumn, SpecialPage_PaintSoftKey},
    {0, 60, 80, 60, kSoftColumn, SpecialPage_PaintSoftKey},
    {0, 120, 80, 60, kSoftColumn, SpecialPage_PaintSoftKey},
    {0, 180, 80, 60, kSoftColumn, SpecialPage_PaintSoftKey},
    {0, 420, 80, 60, kSoftColumn, SpecialPage_PaintSoftKey},
    {0, 28, 720, 452, kRoot, SpecialPage_PaintBody},
    {12, 15, 680, 418, kBody, SpecialPage_PaintList},
    {0, 0, 370, 21, kList, SpecialPage_PaintCursorRow},
};
constexpr bool ParentsFirst() {
    for (int i = 0; i < kWinCount; ++i)
        if (kTree[i].parent >= i) return false;
    return true;
}
static_assert(ParentsFirst(), "a window is created after its parent");

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kPanelGrey = 0x666666;
constexpr int kRowPitch = 21, kSecondColumnX = 380, kRowsPerColumn = 20, kListX = 5, kBarTextWidth = 369;
constexpr uint32_t kNoState = 0xFFFFFFFFu;
constexpr uint32_t kListFirstRows[] = {kMenuFirmType, kMenuServiceFirst, kMenuUpdateFirst, kMenuDataFirst};

std::array<WM_HWINDOW, kWinCount> g_win{};

// What the page last drew.
struct Seen {
    uint32_t state = kNoState;
    uint32_t cursor = 0;       // the row the bar is on
    uint32_t digitCursor = 0;  // the editing cursor
    special::ValueSnapshot values{};
    bool listStale = false;  // a value of a row the bar has left is not drawn yet
};
Seen g_seen;

uint32_t State() {
    return g_MenuState.load(std::memory_order_relaxed);
}

bool IsEditor(uint32_t state) {
    return state == kMenuFirmTypeEdit || state == kMenuModelTypeEdit ||
           (state >= kMenuTuneFirst && state <= kMenuTuneLast);
}

bool IsFirstRow(uint32_t state) {
    for (uint32_t s : kListFirstRows)
        if (s == state) return true;
    return false;
}

// The selected row: the choice value, the working value in the update list.
uint32_t CursorIndex(uint32_t state) {
    if (special::ListOfState(state) == List::kUpdate) return static_cast<uint32_t>(g_EditShown.workValue);
    return g_EditShown.buf.choiceValue;
}

bool Painting(WM_MSG_RECORD* msg) {
    if (msg->MsgId == WM_MSG_PAINT) return true;
    WM_DefaultHandler(msg);
    return false;
}

void ClearTo(uint32_t colour) {
    SetBkColorRGB(colour);
    GUI_ClearWindow();
}

void PaintBlack(WM_MSG_RECORD* msg) {
    if (Painting(msg)) ClearTo(kBlack);
}

// A rounded panel given by its corner discs' centres: the discs and two crossing boxes.
struct Rounded {
    int r, x0, y0, x1, y1;
};
void Fill(const Rounded& p, uint32_t colour) {
    SetColorRGB(colour);
    for (int x : {p.x0, p.x1})
        for (int y : {p.y0, p.y1})
            GUI_FillDisc(x, y, p.r);
    GUI_FillBox(p.x0, p.y0 - p.r, p.x1, p.y1 + p.r);
    GUI_FillBox(p.x0 - p.r, p.y0, p.x1 + p.r, p.y1);
}

void Text(const char* text, int x, int y, uint32_t colour) {
    SetColorRGB(colour);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_TOP);
    GUI_DrawTextAt(text, x, y);
}

void RepaintList() {
    WM_Invalidate(g_win[kList]);
    g_seen.listStale = false;
    g_seen.values = special::TakeSnapshot();
}

void NoteCursor(uint32_t state) {
    g_seen.cursor = CursorIndex(state);
    g_seen.digitCursor = g_EditShown.cursor;
}

void MoveBarToCursor(uint32_t state) {
    // The row the bar leaves shows its value as it is now.
    if (g_seen.listStale) RepaintList();
    NoteCursor(state);
    SpecialPage_MoveCursorBar(static_cast<int>(g_seen.cursor));
    WM_Invalidate(g_win[kBar]);
}

}  // namespace

void SpecialPage_Create() {
    for (int i = 0; i < kWinCount; ++i) {
        const WinDef& d = kTree[i];
        // The root waits hidden for the MENU page to show the sub-page; its children show with it.
        g_win[i] = d.parent == kDesktop
                       ? WM_CreateTop(d.x, d.y, d.w, d.h, 0, d.paint, 0)
                       : WM_CreateChild(d.x, d.y, d.w, d.h, g_win[d.parent], WM_CF_SHOW, d.paint, 0);
    }
    g_seen = Seen{};
}

void SpecialPage_Enter() {}

void SpecialPage_Show() {
    // Whatever the page showed last, the next update takes the current list afresh.
    g_seen = Seen{};
    WM_Show(g_win[kRoot]);
}

void SpecialPage_Hide() {
    WM_Hide(g_win[kRoot]);
}

void SpecialPage_Update() {
    const uint32_t state = State();
    if (IsEditor(state)) return;
    if (state != g_seen.state) {
        if (IsFirstRow(state) || g_seen.state == kNoState) RepaintList();
        MoveBarToCursor(state);
        g_seen.state = state;
        return;
    }
    if (CursorIndex(state) != g_seen.cursor || g_EditShown.cursor != g_seen.digitCursor) {
        MoveBarToCursor(state);
        return;
    }
    SpecialPage_RefreshValues();
}

void SpecialPage_RefreshValues() {
    const List list = special::ListOfState(State());
    if (list != List::kSwitches && list != List::kData) return;
    const special::ValueSnapshot now = special::TakeSnapshot();
    const bool changed =
        list == List::kData ? now.calDataUnit != g_seen.values.calDataUnit : !(now == g_seen.values);
    if (!changed) return;
    // Only the bar now; the list row under it is redrawn when the bar moves on.
    WM_Invalidate(g_win[kBar]);
    g_seen.values = now;
    g_seen.listStale = true;
}

void SpecialPage_MoveCursorBar(int i) {
    const int x = i < kRowsPerColumn ? 0 : kSecondColumnX;
    const int row = i < kRowsPerColumn ? i : i - kRowsPerColumn;
    MoveWindowRelative(g_win[kBar], x, kRowPitch * row + 2, g_win[kList]);
}

void SpecialPage_PaintFrame(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    ClearTo(kBlack);
    DrawContentBackground(2, 0);
    Fill({5, 18, 46, 718, 446}, kWhite);
    Fill({5, 19, 47, 717, 445}, kPanelGrey);
}

void SpecialPage_PaintBody(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    ClearTo(kBlack);
    DrawContentBackground(2, 0);
    Fill({4, 14, 14, 709, 434}, kWhite);
    Fill({4, 15, 15, 708, 433}, kPanelGrey);
}

void SpecialPage_PaintList(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    ClearTo(kPanelGrey);
    const List list = special::ListOfState(State());
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SelectFont(&kMenuListFont);
    for (int row = 0; row < special::RowCount(list); ++row) {
        const char* text = special::RowText(list, row);
        if (text == nullptr) continue;
        const int x = row < kRowsPerColumn ? kListX : kSecondColumnX;
        const int y = kRowPitch * (row < kRowsPerColumn ? row : row - kRowsPerColumn);
        // A black copy a pixel off lifts the white text from the grey.
        Text(text, x + 1, y + 1, kBlack);
        Text(text, x, y, kWhite);
    }
}

void SpecialPage_PaintCursorRow(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    const uint32_t state = State();
    const char* row = special::RowText(special::ListOfState(state), static_cast<int>(CursorIndex(state)));
    if (row == nullptr) return;
    char text[72];
    std::snprintf(text, sizeof text, " %s", row);
    DrawLabelBar(0, 0, kBarTextWidth);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SelectFont(&kMenuListFont);
    Text(text, 0, 0, kBlack);
}

void SpecialPage_PaintSoftKey(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    ClearTo(kBlack);
    if (msg->hWin == g_win[kSoftExit]) DrawSoftKey("EXIT", 0, 1);
}

const PageDesc SpecialPageDesc{SpecialPage_Create, SpecialPage_Enter, SpecialPage_Show, SpecialPage_Hide,
                               SpecialPage_Update};
