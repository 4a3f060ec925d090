// Cost of the overlay's once-per-main-pass update: with nothing changed (the checks and copies only), and
// switching between the ACV edit and the home screen (hide and show of its row, the keys painted).
#include <benchmark/benchmark.h>

#include "GUI/lcd/lcd.h"
#include "core/system/state/edit_state.h"
#include "panel/popup/overlay_popup.h"
#include "tests/panel/overlay/overlay_fixture.h"

namespace {

void BM_OverlayUpdateUnchanged(benchmark::State& state) {
    overlaytest::OverlayScreen screen;
    screen.Enter(47);
    screen.MainPass(2);
    for (auto _ : state)
        Overlay_Update();
}
BENCHMARK(BM_OverlayUpdateUnchanged);

// One update that switches the layout, and the window manager's painting of what it invalidated.
void BM_OverlayLayoutSwitch(benchmark::State& state) {
    overlaytest::OverlayScreen screen;
    screen.Enter(47);
    uint32_t next = 1;
    for (auto _ : state) {
        g_MenuState.store(next);
        Overlay_Update();
        GUI_RunAll();
        next = next == 1 ? 47 : 1;
    }
}
BENCHMARK(BM_OverlayLayoutSwitch);

}  // namespace
