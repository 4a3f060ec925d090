// Cost of one MENU page update on the GUI thread: with nothing changed, and with a list switch (the list
// area, its columns and the focus repainted).
#include <benchmark/benchmark.h>

#include "GUI/lcd/lcd.h"
#include "core/system/state/edit_state.h"
#include "screens/menu/page/menu_page.h"
#include "tests/screens/menu/menu_page_fixture.h"

namespace {

void BM_MenuPageUpdateUnchanged(benchmark::State& state) {
    menutest::StartPage();
    menutest::Step(96, 5);
    for (auto _ : state) {
        MenuPage_Update();
        GUI_RunAll();
    }
    menutest::StopPage();
}
BENCHMARK(BM_MenuPageUpdateUnchanged)->Unit(benchmark::kMicrosecond);

void BM_MenuPageUpdateListSwitch(benchmark::State& state) {
    menutest::StartPage();
    bool misc = false;
    for (auto _ : state) {
        misc = !misc;
        // Two passes: the switch, then the list's focus on the pass after it.
        menutest::Step(misc ? 96 : 139, 2);
    }
    menutest::StopPage();
}
BENCHMARK(BM_MenuPageUpdateListSwitch)->Unit(benchmark::kMicrosecond);

}  // namespace
