#include "screens/output/home_screen.h"

#include "GUI/wm/wm.h"
#include "core/control/measure/meas_records.h"
#include "panel/pages/standin_page.h"

namespace {
WM_HWINDOW g_win = 0;

void Paint(WM_MSG_RECORD* msg) {
    if (msg->MsgId == WM_MSG_PAINT)
        StandInPage_Paint(kPageIdHome);
    else
        WM_DefaultHandler(msg);
}
void Nothing() {}
}  // namespace

void HomeScreen_Create() {
    g_win = StandInPage_Create(Paint);
    g_PagesCreated.fetch_or(kPageBitHome, std::memory_order_relaxed);
    g_PageId.store(kPageIdHome);
}
void HomeScreen_Show() {
    WM_Show(g_win);
}
void HomeScreen_Hide() {
    WM_Hide(g_win);
}
// Nothing on the stand-in follows a changing value.
void HomeScreen_Update() {}

const PageDesc HomePageDesc{HomeScreen_Create, Nothing, HomeScreen_Show, HomeScreen_Hide, HomeScreen_Update};
