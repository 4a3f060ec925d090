#include "tests/panel/overlay/overlay_fixture.h"

#include <gtest/gtest.h>

#include "GUI/draw/gui_2d.h"
#include "GUI/text/gui_font.h"
#include "GUI/lcd/lcd.h"
#include "core/system/state/edit_state.h"
#include "panel/edit/param_enter.h"
#include "panel/pages/page_mgr.h"
#include "panel/popup/overlay_popup.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/panel/popup/popup_fixture.h"

namespace overlaytest {

OverlayScreen::OverlayScreen() {
    // The store is built on the screen's root: the framebuffer stays the file the screen tests read.
    guitest::UseScreenRoot();
    test::FreshStore(1);
    g_HomePage.panelPage.store(0);
    g_HomePage.panelRow.store(0);
    g_MenuState.store(1);
    // No message of an earlier test waits to pop up over the overlay.
    popuptest::ResetPopup();
    g_EditBuf = {};
    g_EditParam.workValue.store(0);
    g_EditParam.cursor = 0;
    guitest::FreshScreenOnGreyPage();
    panel::PageMgrReset();
    PageMgr_SetPages({nullptr, nullptr, &OverlayPageDesc, nullptr, nullptr, nullptr});
    // The pages are built one per main pass, the overlay last.
    MainPass(8);
    drawn::g_texts.clear();
    GUI_SetTextHook(drawn::Observe);
}

OverlayScreen::~OverlayScreen() {
    EXPECT_TEXTS_WHOLE();
    GUI_SetTextHook(nullptr);
    PageMgr_SetPages({});
    panel::PageMgrReset();
    g_MenuState.store(1);
}

void OverlayScreen::MainPass(int n) {
    for (int i = 0; i < 4 * n; ++i) {
        // The menu/control thread's pass ends with the edit words published; the GUI pass takes them.
        panel::EditPublish();
        panel::EditSnapshotTake();
        PageMgr_Tick();
        GUI_RunAll();
    }
}

void OverlayScreen::Enter(uint32_t state) {
    if (menuEnterParamState(state) != 0) g_MenuState.store(state);
    MainPass();
}

}  // namespace overlaytest
