#include "screens/output/simple_screen.h"

#include "GUI/wm/wm.h"
#include "core/control/measure/meas_records.h"
#include "panel/pages/standin_page.h"
#include "panel/statusbar/status_bar.h"

namespace {
WM_HWINDOW g_win = 0;
statusbar::View g_bar{};

void Paint(WM_MSG_RECORD* msg) {
    if (msg->MsgId == WM_MSG_PAINT)
        StandInPage_Paint(kPageIdSimple);
    else
        WM_DefaultHandler(msg);
}
void Nothing() {}
}  // namespace

void SimpleScreen_Create() {
    g_win = StandInPage_Create(Paint);
    (void)StatusBar_Create(g_win, &g_bar);  // without room for it the page shows no bar
    g_PagesCreated.fetch_or(kPageBitSimple, std::memory_order_relaxed);
    g_PageId.store(kPageIdSimple);
}
void SimpleScreen_Show() {
    WM_Show(g_win);
}
void SimpleScreen_Hide() {
    WM_Hide(g_win);
}
// Of the stand-in only the status bar follows the instrument: each cell whose state changed repaints.
void SimpleScreen_Update() {
    if (g_bar.bar != 0) StatusBar_Refresh(&g_bar);
}

const PageDesc SimplePageDesc{SimpleScreen_Create, Nothing, SimpleScreen_Show, SimpleScreen_Hide, SimpleScreen_Update};
