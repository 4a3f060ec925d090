#include "screens/output/simple/simple_screen.h"

#include "GUI/wm/wm.h"
#include "core/control/measure/meas_records.h"
#include "core/system/state/edit_state.h"
#include "screens/output/simple/simple_dirty.h"
#include "screens/output/simple/simple_paint.h"
#include "screens/output/simple/simple_update.h"
#include "screens/output/simple/simple_windows.h"

namespace {
void Nothing() {}
}  // namespace

void SimpleScreen_Create() {
    (void)SimpleWin_Create();  // without room the page shows what was made; its painters skip the rest
    g_PagesCreated.fetch_or(kPageBitSimple, std::memory_order_relaxed);
    g_PageId.store(kPageIdSimple);
    simple::DirtyClear();
}

void SimpleScreen_Show() {
    simple::DirtyClear();
    if (!simple::HarmonicAllowed()) g_HomePage.harmonicView.store(0, std::memory_order_relaxed);
    simple::UpdateRestart();
    WM_Show(g_SimpleWin[simple::kWinRoot]);
}

void SimpleScreen_Hide() {
    // A frequency popup held for the harmonic view goes with the page.
    simple::CloseHarmonicPopup();
    WM_Hide(g_SimpleWin[simple::kWinBody]);
    WM_Hide(g_SimpleWin[simple::kWinRoot]);
}

void SimpleScreen_Update() {
    simple::UpdateRun();
}

const PageDesc SimplePageDesc{SimpleScreen_Create, Nothing, SimpleScreen_Show, SimpleScreen_Hide,
                              SimpleScreen_Update};
