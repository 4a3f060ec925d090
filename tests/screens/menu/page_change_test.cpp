// A page left by a change from elsewhere (a remote command entering the home or simple view) takes every
// window it showed with it, its sub-pages and the windows it lays on the desktop included: the window
// manager is asked what is still visible after the page manager's passes.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <vector>

#include "core/params/access/key_entry.h"
#include "core/params/access/param_access.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/state/edit_state.h"
#include "engine/arb/arb_builder.h"
#include "panel/gui_thread.h"
#include "panel/menu_entries.h"
#include "panel/pages/page_mgr.h"
#include "screens/menu/cal/cal_screen.h"
#include "screens/menu/page/menu_page.h"
#include "screens/output/home/home_screen.h"
#include "screens/output/simple/simple_screen.h"
#include "screens/seqsim/page/seqsim_screen.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/support/default_store.h"

namespace {

// Windows drawn on the screen: shown, and every ancestor up to the desktop shown.
std::set<WM_HWINDOW> VisibleWindows() {
    std::set<WM_HWINDOW> out;
    const WM_HWINDOW desktop = WM_GetDesktop();
    for (WM_HWINDOW h = WM_State.hFirst; h != 0;) {
        WM_HWINDOW next;
        {
            wm::Locked w(h);
            next = w->hNextLin;
        }
        bool drawn = h != desktop;
        for (WM_HWINDOW a = h; drawn && a != 0 && a != desktop; a = WM_GetParent(a))
            drawn = WM_IsShown(a) != 0;
        if (drawn) out.insert(h);
        h = next;
    }
    return out;
}

void Settle(int mainPasses = 12) {
    for (int i = 0; i < 4 * mainPasses; ++i) {
        panel::EditPublish();
        GuiThread_Pass();
    }
}

struct PageCase {
    const char* name;
    std::vector<uint32_t> path;  // the states the panel walks to show the page
    void (*change)();            // what a remote page change runs
};
void PrintTo(const PageCase& c, std::ostream* os) {
    *os << c.name;
}

class PageChange : public ::testing::TestWithParam<PageCase> {
  protected:
    void SetUp() override {
        guitest::FreshScreen();
        core::ParamAccessReset();
        test::FreshStore(1);
        engine::ArbBuilderReset();
        PageMgr_SetPages({&HomePageDesc, &SimplePageDesc, nullptr, &CalPageDesc, &MenuPageDesc, &SeqSimPageDesc});
        panel::PageMgrReset();
        g_LcdApplied = IfaceLcdWord();
        g_LcdApplyCountdown = 0;
        g_MenuState.store(1);
        Settle();
    }
    void TearDown() override {
        PageMgr_SetPages({});
        panel::PageMgrReset();
        g_MenuState.store(0);
        menuResetEdit();
    }
};

TEST_P(PageChange, LeavesNoneOfThePagesWindowsVisible) {
    const PageCase& c = GetParam();
    c.change();
    Settle();
    const std::set<WM_HWINDOW> before = VisibleWindows();
    for (uint32_t state : c.path) {
        g_MenuState.store(state);
        Settle();
    }
    std::vector<WM_HWINDOW> shown;
    for (WM_HWINDOW h : VisibleWindows())
        if (before.count(h) == 0) shown.push_back(h);
    ASSERT_FALSE(shown.empty()) << "the page did not show";

    c.change();
    Settle();
    const std::set<WM_HWINDOW> after = VisibleWindows();
    for (WM_HWINDOW h : shown)
        EXPECT_EQ(after.count(h), 0u) << "window " << h << " stayed, at (" << WM_GetLeft(h) << ", "
                                      << WM_GetTop(h) << ") " << WM_GetWidth(h) << "x" << WM_GetHeight(h);
}

const PageCase kPages[] = {
    {"Home", {1}, menuGoSimpleScreen},
    {"Simple", {2}, menuGoAdvenceScreen},
    {"MenuTop", {94}, menuGoAdvenceScreen},
    {"MenuLanList", {94, 138, 139}, menuGoAdvenceScreen},
    {"MenuPasswordBox", {94, 223, 224}, menuGoAdvenceScreen},
    {"SpecialModelBrand", {94, 225}, menuGoAdvenceScreen},
    {"SpecialSwitches", {94, 229}, menuGoSimpleScreen},
    {"ArbEditorTypeRow", {94, 214, 544}, menuGoAdvenceScreen},
    {"ArbEditorRippleLevel", {94, 214, 544, 513}, menuGoAdvenceScreen},
    {"CalibrationList", {316}, menuGoAdvenceScreen},
    {"CalibrationDefault", {316, 329}, menuGoAdvenceScreen},
};

INSTANTIATE_TEST_SUITE_P(Pages, PageChange, ::testing::ValuesIn(kPages),
                         [](const ::testing::TestParamInfo<PageCase>& info) { return info.param.name; });

}  // namespace
