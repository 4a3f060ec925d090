// Cost of the GUI thread's work with the pages running: a full repaint pass (the whole home page invalid,
// painted by the window manager) and a main pass (four GUI passes with the page manager, nothing changed).
// Both should fit well inside the 2 ms pass. The home page's meter: the passes of one meter countdown with
// a new reading that changes nothing (an idle unit) and with one that changes one value cell.
#include <benchmark/benchmark.h>

#include "GUI/lcd/lcd.h"
#include "GUI/wm/wm.h"
#include "core/control/measure/meas_records.h"
#include "core/control/measure/measurement.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
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

// The GUI passes of one meter countdown at the slower update rates: eleven home updates (ten counted and
// the one that repaints), one every fourth pass; the timer's new-reading bit raised before each pass.
constexpr int kCountdownPasses = 44;

void CountdownPasses() {
    for (int i = 0; i < kCountdownPasses; ++i) {
        g_MeasRefreshFlags.fetch_or(kMeasRefreshDue);
        GuiThread_Pass();
    }
}

// Home with its meter on screen: a unit that is no parallel slave (position 1), the page shown anew.
void HomeShown() {
    Running();
    paramPutValue(kParamParallelPosition, 1, 0);
    HomeScreen_Hide();
    HomeScreen_Show();
    paramPutValue(kParamUpdateRate, 0, 0);
}

void BM_HomeCountdownNothingChanged(benchmark::State& state) {
    HomeShown();
    CountdownPasses();
    for (auto _ : state)
        CountdownPasses();
}
BENCHMARK(BM_HomeCountdownNothingChanged)->Unit(benchmark::kMicrosecond);

void BM_HomeCountdownOneValueCell(benchmark::State& state) {
    HomeShown();
    CountdownPasses();
    float volts = 230.0f;
    for (auto _ : state) {
        volts = volts == 230.0f ? 231.0f : 230.0f;  // L1's voltage only: one meter cell
        g_MeasLive[0].Set(kMfVrms, volts);
        g_DispCache[0].Set(kMfVrms, volts);
        CountdownPasses();
    }
}
BENCHMARK(BM_HomeCountdownOneValueCell)->Unit(benchmark::kMicrosecond);

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
