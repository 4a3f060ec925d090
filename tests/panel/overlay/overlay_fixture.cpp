#include "tests/panel/overlay/overlay_fixture.h"

#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "GUI/text/gui_font.h"
#include "GUI/lcd/lcd.h"
#include "core/params/defaults/param_init.h"
#include "core/params/param_store.h"
#include "core/regbus/regbus.h"
#include "platform/stage/power_stage_sim.h"
#include "core/system/config/model_table.h"
#include "core/system/messaging/msg_ring.h"
#include "panel/popup/msg_popup_fsm.h"
#include "core/system/state/edit_state.h"
#include "panel/pages/page_mgr.h"
#include "panel/popup/overlay_popup.h"
#include "tests/GUI/screen_fixture.h"

namespace overlaytest {

namespace {

std::vector<DrawnText> g_texts;

void Record(const char* text, int x, int y, uint16_t, uint32_t, const GUI_FONTDEF*) {
    g_texts.push_back({text, x, y});
}

}  // namespace

OverlayScreen::OverlayScreen() {
    // The store is built on the screen's root: the framebuffer stays the file the screen tests read.
    guitest::UseScreenRoot();
    test::FreshStore(1);
    g_HomePage.panelPage.store(0);
    g_HomePage.panelRow.store(0);
    g_MenuState.store(1);
    // No message of an earlier test waits to pop up over the overlay.
    MsgQueue_Clear();
    for (auto& id : g_MsgRing.ids)
        id.store(0);
    g_MsgPopup.flags.store(0);
    g_MsgPopup.hold.store(0);
    g_MsgPopup.id.store(0);
    StepObjRewind(&g_MsgPopup.fsm, 1, kPopupStart);
    g_EditBuf = {};
    g_EditParam.workValue.store(0);
    g_EditParam.cursor = 0;
    guitest::FreshScreenOnGreyPage();
    panel::PageMgrReset();
    PageMgr_SetPages({nullptr, nullptr, &OverlayPageDesc, nullptr, nullptr, nullptr});
    // The pages are built one per main pass, the overlay last.
    MainPass(8);
    GUI_SetTextHook(Record);
}

OverlayScreen::~OverlayScreen() {
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

const std::vector<DrawnText>& OverlayScreen::Texts() const {
    return g_texts;
}

bool OverlayScreen::Drew(const std::string& text, int x, int y) const {
    for (const DrawnText& t : g_texts)
        if (t.text == text && t.x == x && t.y == y) return true;
    return false;
}

bool OverlayScreen::DrewStartingWith(const std::string& prefix, int x, int y) const {
    for (const DrawnText& t : g_texts)
        if (t.text.rfind(prefix, 0) == 0 && t.x == x && t.y == y) return true;
    return false;
}

void OverlayScreen::ClearTexts() {
    g_texts.clear();
}

}  // namespace overlaytest
