#include "screens/seqsim/seqsim_screen.h"

#include "GUI/wm/wm.h"
#include "core/control/measure/meas_records.h"
#include "core/system/state/edit_state.h"
#include "panel/pages/standin_page.h"

namespace {
WM_HWINDOW g_win = 0;
uint32_t g_shownId = 0;  // the page id on screen

void Paint(WM_MSG_RECORD* msg) {
    if (msg->MsgId == WM_MSG_PAINT)
        StandInPage_Paint(g_shownId);
    else
        WM_DefaultHandler(msg);
}
}  // namespace

void SeqSimScreen_Create() {
    g_win = StandInPage_Create(Paint);
    g_PagesCreated.fetch_or(kPageBitSeqSim, std::memory_order_relaxed);
    g_PageId.store(g_MenuState.load(std::memory_order_relaxed));
}
void SeqSimScreen_Enter() {
    g_shownId = g_PageId.load();
}
void SeqSimScreen_Show() {
    WM_Show(g_win);
}
void SeqSimScreen_Hide() {
    WM_Hide(g_win);
}
// Moving between the SEQ and SIM pages keeps the page on screen; its text follows.
void SeqSimScreen_Update() {
    const uint32_t id = g_PageId.load();
    if (id == g_shownId) return;
    g_shownId = id;
    WM_Invalidate(g_win);
}

const PageDesc SeqSimPageDesc{SeqSimScreen_Create, SeqSimScreen_Enter, SeqSimScreen_Show, SeqSimScreen_Hide,
                              SeqSimScreen_Update};
