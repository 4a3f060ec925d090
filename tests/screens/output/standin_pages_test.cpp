// The pages on the framebuffer, driven by the GUI thread's passes: home first, the page the menu state
// names later, a stand-in "page N" in the 24-px font at (20, 40) on black; the text log sees every string;
// a pending screen copy leaves the framebuffer as it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "core/system/config/iface_cfg.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/sys_status.h"
#include "panel/gui_thread.h"
#include "panel/pages/page_mgr.h"
#include "panel/pages/text_log.h"
#include "platform/host/root.h"
#include "screens/menu/cal/cal_screen.h"
#include "screens/menu/page/menu_page.h"
#include "screens/output/home/home_screen.h"
#include "screens/output/simple/simple_screen.h"
#include "screens/seqsim/page/seqsim_screen.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/screens/screen_text.h"

namespace {

void MainPass() {
    for (int i = 0; i < 4; ++i)
        GuiThread_Pass();
}

// White pixels inside the box (inclusive).
int Ink(const std::vector<uint16_t>& s, int x0, int y0, int x1, int y1) {
    return screentext::CountIn(s, 0xFFFF, x0, y0, x1, y1);
}

using screentext::ReadText;

TEST(StandInPages, HomeFirstThenThePageTheMenuStateNames) {
    guitest::FreshScreen();
    PageMgr_SetPages({&HomePageDesc, &SimplePageDesc, nullptr, &CalPageDesc, &MenuPageDesc, &SeqSimPageDesc});
    panel::PageMgrReset();
    g_LcdApplied = IfaceLcdWord();
    g_LcdApplyCountdown = 0;
    g_MenuState.store(1);
    const std::string log = plat::MapPath("/var/log/gui-text.log");
    std::remove(log.c_str());
    ASSERT_EQ(TextLog_Start(log), 0);

    MainPass();
    std::vector<uint16_t> s = guitest::Screen();
    EXPECT_EQ(s[10 * 800 + 1], 0xFFE0) << "the rim of the status bar's OFF box at (1,10)";
    EXPECT_EQ(s[10 * 800 + 6], 0) << "and its black inside at (6,10)";
    EXPECT_EQ(Ink(s, 0, 28, 719, 479), 0) << "the home page's body waits for its first updates";
    const std::string text = ReadText(log);
    EXPECT_NE(text.find("638 3 1 0xFFFF Font16a 3P4W\n"), std::string::npos)
        << "wiring right-aligned at (638,3)";
    EXPECT_NE(text.find("91 4 0 0xFFFF Font16a 100V\n"), std::string::npos) << "range at (91,4)";

    for (int i = 0; i < 8; ++i)
        MainPass();
    s = guitest::Screen();
    EXPECT_EQ(Ink(s, 20, 40, 300, 63), 0) << "the pages built meanwhile stay hidden";

    g_MenuState.store(94);
    MainPass();
    MainPass();
    EXPECT_EQ(guitest::Screen(), s) << "home stays until its hide, and the menu waits a pass for it";
    MainPass();
    s = guitest::Screen();
    EXPECT_GT(Ink(s, 5, 2, 80, 24), 30) << "the MENU title";
    EXPECT_NE(ReadText(log).find("5 13 12 0xFFFF Font24a MENU\n"), std::string::npos) << ReadText(log);

    // A pending screen copy: the framebuffer stands still though the menu state moves on.
    SysStatusSet(kSysScreenCopyPending);
    g_MenuState.store(1);
    const std::vector<uint8_t> bytes = guitest::FileBytes();
    for (int i = 0; i < 5; ++i)
        MainPass();
    EXPECT_EQ(guitest::FileBytes(), bytes);
    SysStatusClear(kSysScreenCopyPending);
    for (int i = 0; i < 3; ++i)
        MainPass();
    EXPECT_NE(guitest::FileBytes(), bytes);

    TextLog_Stop();
    PageMgr_SetPages({});
    panel::PageMgrReset();
}

}  // namespace
