#include "screens/menu/cal_screen.h"

#include "GUI/wm/wm.h"
#include "core/control/measure/meas_records.h"
#include "panel/pages/standin_page.h"

namespace {
WM_HWINDOW g_win = 0;

void Paint(WM_MSG_RECORD* msg) {
    if (msg->MsgId == WM_MSG_PAINT)
        StandInPage_Paint(kPageIdCal);
    else
        WM_DefaultHandler(msg);
}
void Nothing() {}
}  // namespace

void CalScreen_Create() {
    g_win = StandInPage_Create(Paint);
    g_PagesCreated.fetch_or(kPageBitCal, std::memory_order_relaxed);
    g_PageId.store(kPageIdCal);
}
void CalScreen_Show() {
    WM_Show(g_win);
}
void CalScreen_Hide() {
    WM_Hide(g_win);
}
// Nothing on the stand-in follows a changing value.
void CalScreen_Update() {}

const PageDesc CalPageDesc{CalScreen_Create, Nothing, CalScreen_Show, CalScreen_Hide, CalScreen_Update};
