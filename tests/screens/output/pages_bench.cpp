// Cost of the GUI thread's work with the pages running: a full repaint pass (the whole home page invalid,
// painted by the window manager) and a main pass (four GUI passes with the page manager, nothing changed).
// Both should fit well inside the 2 ms pass.
#include <benchmark/benchmark.h>

#include "GUI/lcd/lcd.h"
#include "GUI/wm/wm.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/state/edit_state.h"
#include "panel/gui_thread.h"
#include "panel/pages/page_mgr.h"
#include "screens/menu/cal/cal_screen.h"
#include "screens/menu/page/menu_page.h"
#include "screens/output/home/home_screen.h"
#include "screens/output/simple/simple_screen.h"
#include "screens/seqsim/page/seqsim_screen.h"
#include "tests/GUI/screen_fixture.h"

namespace {

// The pages built and home (or the page of menu state) on screen.
void Running(uint32_t menuState = 1) {
    guitest::FreshScreen();
    PageMgr_SetPages({&HomePageDesc, &SimplePageDesc, nullptr, &CalPageDesc, &MenuPageDesc, &SeqSimPageDesc});
    panel::PageMgrReset();
    g_LcdApplied = IfaceLcdWord();
    g_LcdApplyCountdown = 0;
    g_MenuState.store(menuState);
    for (int i = 0; i < 40; ++i)
        GuiThread_Pass();
}

void BM_FullRepaintPass(benchmark::State& state) {
    Running();
    for (auto _ : state) {
        wm::InvalidateArea(GUI_BOX{0, 0, 799, 479}, WM_GetDesktop(), 0);
        GuiThread_Pass();
    }
}
BENCHMARK(BM_FullRepaintPass)->Unit(benchmark::kMicrosecond);

void BM_MainPass(benchmark::State& state) {
    Running();
    for (auto _ : state) {
        for (int i = 0; i < 4; ++i)
            GuiThread_Pass();
    }
}
BENCHMARK(BM_MainPass)->Unit(benchmark::kMicrosecond);

// The simple page: every window of its table repainted (33 labels, 33 values through the getters).
void BM_SimpleFullRepaintPass(benchmark::State& state) {
    Running(2);
    for (auto _ : state) {
        wm::InvalidateArea(GUI_BOX{0, 0, 799, 479}, WM_GetDesktop(), 0);
        GuiThread_Pass();
    }
}
BENCHMARK(BM_SimpleFullRepaintPass)->Unit(benchmark::kMicrosecond);

}  // namespace
