#include "screens/output/home/home_screen.h"

#include <atomic>
#include <cstdio>

#include "core/control/measure/meas_records.h"
#include "screens/output/home/home_dirty_queue.h"
#include "screens/output/home/home_layout.h"
#include "screens/output/home/home_refresh.h"
#include "screens/output/home/home_window_table.h"
#include "screens/output/home/home_windows.h"
#include "screens/output/homepaint/home_meter_draw.h"
#include "screens/output/keys/home_keys.h"

namespace {

StepRow g_homeRows[kStepRows] = {{0, 0, StepRowIdle}, {0, 0, HomeScreen_Init}, {0, 0, HomeScreen_Refresh},
                                 {0, 0, StepRowIdle}, {0, 0, StepRowIdle},     {0, 0, StepRowIdle}};

// Hide and show asked for by the menu/control thread, done by the next update: bit 0 hide, bit 1 show.
std::atomic<uint32_t> g_relayoutAsked{0};
constexpr uint32_t kAskHide = 1, kAskShow = 2;

void AskHide() {
    g_relayoutAsked.fetch_or(kAskHide, std::memory_order_acq_rel);
}
void AskShow() {
    g_relayoutAsked.fetch_or(kAskShow, std::memory_order_acq_rel);
}

// A hidden page's queue waits for its next visit, which starts by dropping it: nothing is on its way.
int32_t QueuedRepaints() {
    if (WM_IsShown(g_HomeWin[home::kWinRoot]) == 0) return 0;
    return HomeDirtyQueue::kSlots - HomeDirty_FreeSlots();
}

}  // namespace

StepObj g_HomeObj{1, 1, g_homeRows};

// A window the graphics memory had no room for stays 0 with its children; the page runs on without it and
// the loss is told once.
void HomeScreen_Create() {
    g_PagesCreated.fetch_or(kPageBitHome, std::memory_order_relaxed);
    g_PageId.store(kPageIdHome);
    HomeMeter_ForgetPainted();  // new windows show nothing until painted
    int missing = 0;
    for (int i = 0; i < home::kWinCount; ++i) {
        const home::WinDef& d = home::kWinTable[i];
        const WM_HWINDOW parent = d.parent < 0 ? 0 : g_HomeWin[d.parent];
        g_HomeWin[i] = (d.parent >= 0 && parent == 0)
                           ? 0
                           : WM_CreateChild(d.x, d.y, d.w, d.h, parent, d.shown ? WM_CF_SHOW : 0, d.paint, 0);
        if (g_HomeWin[i] == 0) ++missing;
    }
    if (missing > 0)
        std::fprintf(stderr, "home page: %d of %d windows not created (graphics memory full)\n", missing,
                     home::kWinCount);
    g_HomeScreenHide.store(AskHide, std::memory_order_release);
    g_HomeScreenShow.store(AskShow, std::memory_order_release);
    PageMgr_SetQueuedProbe(kPageBitHome, QueuedRepaints);
}

void HomeScreen_Enter() {}

void HomeScreen_Show() {
    WM_Show(g_HomeWin[home::kWinRoot]);
    if (WM_IsShown(g_HomeWin[home::kWinBody]) == 0) g_HomeRedrawCountdown = 2;
}

void HomeScreen_Hide() {
    WM_Hide(g_HomeWin[home::kWinBody]);
    WM_Hide(g_HomeWin[home::kWinRoot]);
    StepObjPostState(1, 1, &g_HomeObj.rows[g_HomeObj.state.load(std::memory_order_acquire) % kStepRows]);
}

void HomeScreen_Update() {
    const uint32_t asked = g_relayoutAsked.exchange(0, std::memory_order_acq_rel);
    if ((asked & kAskHide) != 0) HomeScreen_Hide();
    if ((asked & kAskShow) != 0) HomeScreen_Show();
    HomeScreen_Run();
}

int32_t HomeScreen_Run() {
    return StepObjRun(&g_HomeObj);
}

const PageDesc HomePageDesc{HomeScreen_Create, HomeScreen_Enter, HomeScreen_Show, HomeScreen_Hide,
                            HomeScreen_Update};

namespace home {

void ResetForTest() {
    g_HomeWin.fill(0);
    g_HomeWindows = HomeWindows{};
    HomeMeter_ForgetPainted();
    g_HomeMeterCountdown = 0;
    g_HomeRedrawCountdown = 0;
    g_relayoutAsked.store(0);
    HomeDirty_Reset();
    StepObjRewind(&g_HomeObj, 1, 1);
}

}  // namespace home
