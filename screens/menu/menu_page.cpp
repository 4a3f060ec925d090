#include "screens/menu/menu_page.h"

#include "GUI/wm/wm.h"
#include "core/control/measure/meas_records.h"
#include "panel/pages/standin_page.h"

namespace {
WM_HWINDOW g_win = 0;

void Paint(WM_MSG_RECORD* msg) {
    if (msg->MsgId == WM_MSG_PAINT)
        StandInPage_Paint(kPageIdMenu);
    else
        WM_DefaultHandler(msg);
}
void Nothing() {}
}  // namespace

void MenuPage_Create() {
    g_win = StandInPage_Create(Paint);
    g_PagesCreated.fetch_or(kPageBitMenu, std::memory_order_relaxed);
    g_PageId.store(kPageIdMenu);
}
void MenuPage_Show() {
    WM_Show(g_win);
}
void MenuPage_Hide() {
    WM_Hide(g_win);
}
// Nothing on the stand-in follows a changing value.
void MenuPage_Update() {}

const PageDesc MenuPageDesc{MenuPage_Create, Nothing, MenuPage_Show, MenuPage_Hide, MenuPage_Update};
