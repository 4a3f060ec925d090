// The MENU page stepped one update at a time: what it draws (text log and framebuffer), and which windows a
// state or a changed value repaints (paint counts of the page's windows).
#include "screens/menu/page/menu_page.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <thread>
#include <tuple>
#include <vector>

#include "core/control/barcode_table.h"
#include "core/control/hooks/screen_request.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/config/model_table.h"
#include "core/system/state/edit_state.h"
#include "panel/menu/edit_follow.h"
#include "panel/menu/menu_page_words.h"
#include "screens/menu/page/menu_lists.h"
#include "screens/menu/page/menu_page_cache.h"
#include "screens/menu/page/menu_paint.h"
#include "screens/menu/page/menu_windows.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/screens/menu/menu_page_fixture.h"

namespace {

using namespace menu;
using menutest::ExpectLogged;
using menutest::Logged;
using menutest::Step;
using menutest::StepLog;
using menutest::TakeLog;

std::vector<uint32_t> Counts() {
    std::vector<uint32_t> c(kWinCount);
    for (int i = 0; i < kWinCount; ++i)
        c[i] = MenuWin_PaintCount(i);
    return c;
}

// Windows painted since `before` (a window partly covered by its children is painted piece by piece).
std::set<int> Painted(const std::vector<uint32_t>& before) {
    std::set<int> m;
    for (int i = 0; i < kWinCount; ++i)
        if (MenuWin_PaintCount(i) != before[i]) m.insert(i);
    return m;
}

class MenuPageTest : public ::testing::Test {
  protected:
    void SetUp() override { menutest::StartPage(); }
    void TearDown() override {
        MenuPage_SetSpecialPage(nullptr);
        TypeEntry("");
        g_EditBuf.entryState = 0;
        menutest::StopPage();
    }
    // The keypad entry as the typed keys leave it.
    static void TypeEntry(const char* digits) {
        g_EditBuf.entryLength = static_cast<uint8_t>(std::strlen(digits));
        g_EditBuf.entryState = 1u | (uint32_t{g_EditBuf.entryLength} << 10);
        g_EditBuf.entryValue = std::atof(digits);
        std::memset(g_EditBuf.entryText, 0, sizeof g_EditBuf.entryText);
        std::memcpy(g_EditBuf.entryText, digits, g_EditBuf.entryLength);
    }
};

// A page drawn over another leaves none of its pixels: every window paints all of its area.
TEST_F(MenuPageTest, EveryPixelOfThePageIsPainted) {
    const std::vector<int> left = guitest::UnpaintedPixels();
    EXPECT_TRUE(left.empty()) << guitest::Describe(left);
}

// The top menu with its focus bar, the option interface dimmed without a card, the preview frame and the
// soft keys; on MISC the F2 key to its preview's second page, no Page Up on the first.
TEST_F(MenuPageTest, TopMenuTextsFocusAndSoftKeys) {
    menutest::ExpectPage("menu_top");
    Step(95, 2);
    menutest::ExpectPage("menu_top_misc_focus");
}

TEST_F(MenuPageTest, WithoutTheRs232PortItsRowIsDimmed) {
    g_Rs232Present.store(0);
    Step(139, 3);
    const std::string log = StepLog(94, 3);
    EXPECT_TRUE(Logged(log, 16, 176, "0x39E7", "5. RS232C")) << log;
}

TEST_F(MenuPageTest, MiscListLabelsAndTheHintOfItsEditor) {
    Step(96, 3);
    menutest::ExpectPage("menu_values_misc");
    EXPECT_FALSE(MenuWin_Visible(kWinFocusBar));
    EXPECT_TRUE(MenuWin_Visible(RowWin(kColMisc1, 0)));

    const auto before = Counts();
    Step(97, 3);
    EXPECT_TRUE(Logged(TakeLog(), 710, 10, "0xFFFF", "1 - 60,000 ms"));
    EXPECT_EQ(MenuWin_PaintCount(kWinListArea), before[kWinListArea]) << "an edit state keeps the list";
    EXPECT_EQ(g_MenuPageCache.currentList, 10u);
}

TEST_F(MenuPageTest, PreviewStaysBlankWhileTheFocusMovesAndFillsOnceAfterItRests) {
    const uint32_t base = MenuWin_PaintCount(kWinPreview);
    Step(95, 3);
    Step(138, 3);
    Step(165, 3);
    EXPECT_EQ(MenuWin_PaintCount(kWinPreview), base + 1) << "blanked once at the first move";
    EXPECT_TRUE(MenuPage_PreviewPending());
    Step(165, 7);
    EXPECT_EQ(MenuWin_PaintCount(kWinPreview), base + 1) << "10 passes after the last move not yet";
    Step(165, 2);
    EXPECT_EQ(MenuWin_PaintCount(kWinPreview), base + 2) << "content, once";
    EXPECT_FALSE(MenuPage_PreviewPending());
    Step(165, 30);
    EXPECT_EQ(MenuWin_PaintCount(kWinPreview), base + 2);
}

TEST_F(MenuPageTest, OnlySelectStatesChangeTheList) {
    Step(139, 3);
    EXPECT_EQ(g_MenuPageCache.currentList, 1u);
    const uint32_t area = MenuWin_PaintCount(kWinListArea);
    Step(140, 3);
    EXPECT_EQ(g_MenuPageCache.currentList, 1u);
    EXPECT_EQ(MenuWin_PaintCount(kWinListArea), area);
    Step(96, 3);
    EXPECT_EQ(g_MenuPageCache.currentList, 10u);
    EXPECT_FALSE(MenuWin_Visible(RowWin(kColLan, 0))) << "the LAN rows go with their list";
}

int g_shows = 0, g_hides = 0;
void CountShow() {
    ++g_shows;
}
void CountHide() {
    ++g_hides;
}
void NoOp() {}
const PageDesc kCountingSpecial{NoOp, NoOp, CountShow, CountHide, NoOp};

TEST_F(MenuPageTest, SpecialFunctionRangeHandsTheListToItsSubPage) {
    g_shows = g_hides = 0;
    MenuPage_SetSpecialPage(&kCountingSpecial);
    Step(223, 3);
    Step(225, 3);
    EXPECT_EQ(g_shows, 1);
    EXPECT_EQ(g_MenuPageCache.currentList, 11u);
    Step(278, 3);
    Step(283, 3);
    EXPECT_EQ(g_shows, 1) << "the whole range 225-283 is the sub-page's";
    EXPECT_EQ(g_hides, 0);
    EXPECT_EQ(g_MenuPageCache.currentList, 11u);
    Step(223, 3);
    EXPECT_EQ(g_hides, 1);
    EXPECT_EQ(g_MenuPageCache.currentList, 0u);
    Step(280, 3);
    EXPECT_EQ(g_shows, 2) << "a service-list state reached straight from the top menu";
    EXPECT_EQ(g_MenuPageCache.currentList, 11u);
}

TEST_F(MenuPageTest, DhcpChangeRepaintsTheLanColumnAndTheListAreaOnly) {
    Step(139, 5);
    const auto before = Counts();
    {
        std::lock_guard<std::mutex> lock(g_LanCfgLock);
        g_LanCfg.DHCP = g_LanCfg.DHCP != 0 ? 0 : 1;
    }
    Step(139, 1);
    EXPECT_EQ(Painted(before), (std::set<int>{kWinListArea, ColumnWin(kColLan)}));
}

TEST_F(MenuPageTest, RemoteChangeFollowsIntoTheOpenEditorOfThatSettingOnlyWhileItIsOpen) {
    ScreenRequest_SetRunners({.editFollow = EditFollow_Apply});
    Step(195, 3);
    Step(196, 3);
    ScreenRequest_RunPending();
    g_EditParam.workValue.store(0);
    ASSERT_EQ(paramPutValue(kParamInductanceL1, 123, 0), 0);
    Step(196, 1);
    ScreenRequest_RunPending();  // the menu/control thread's pass
    EXPECT_EQ(g_EditParam.workValue.load(), 123);
    auto before = Counts();
    Step(196, 1);
    EXPECT_EQ(Painted(before), (std::set<int>{RowWin(kColImpedance, 1)})) << "the editor shows the new value";

    before = Counts();
    ASSERT_EQ(paramPutValue(kParamInductanceL2, 77, 0), 0);
    Step(196, 1);
    ScreenRequest_RunPending();
    EXPECT_EQ(g_EditParam.workValue.load(), 123);
    EXPECT_EQ(Painted(before), (std::set<int>{ColumnWin(kColImpedance)})) << "the L2 row is hidden";

    // A request posted for an editor that closed before it was applied is dropped.
    g_MenuState.store(196);
    std::thread([] { ScreenRequest_Ask(ScreenRequest::kEditFollow, 196, 55); }).join();
    g_MenuState.store(195);
    g_EditParam.workValue.store(9);
    ScreenRequest_RunPending();
    EXPECT_EQ(g_EditParam.workValue.load(), 9);
    ScreenRequest_SetRunners({});
}

TEST_F(MenuPageTest, AllDataLeavesOutTheMemoryNumberRow) {
    Step(285, 3);
    ASSERT_TRUE(Logged(TakeLog(), 21, 128, "0xFFFF", "Memory No."));
    Step(286, 2);
    TakeLog();
    SaveRecallType.store(4);
    g_EditBuf.choiceValue = 4;
    Step(286, 1);
    std::string log = TakeLog();
    EXPECT_TRUE(Logged(log, 21, 78, "0xFFFF", "Type")) << "the list area was repainted";
    EXPECT_FALSE(Logged(log, 21, 128, "0xFFFF", "Memory No.")) << log;
    SaveRecallType.store(0);
    g_EditBuf.choiceValue = 0;
    Step(286, 1);
    EXPECT_TRUE(Logged(TakeLog(), 21, 128, "0xFFFF", "Memory No."));
}

TEST_F(MenuPageTest, SlavePositionDimsNumberAndEnableAtTheNextListRepaint) {
    ASSERT_EQ(paramPutValue(kParamParallelPosition, 1, 0), 0);
    Step(208, 3);
    std::string log = TakeLog();
    EXPECT_TRUE(Logged(log, 21, 103, "0xFFFF", "Parallel Number")) << log;
    ASSERT_EQ(paramPutValue(kParamParallelPosition, 0, 0), 0);
    Step(209, 2);
    log = TakeLog();
    ExpectLogged(log, {{21, 103, "0x39E7", "Parallel Number"}, {21, 128, "0x39E7", "Enable"},
                       {21, 78, "0xFFFF", "Position"}});
}

TEST_F(MenuPageTest, StateWithoutARowOrAListOutOfRangeMovesNothing) {
    Step(96, 3);
    const auto before = Counts();
    Step(400, 3);
    EXPECT_EQ(g_MenuPageCache.currentList, 10u);
    for (int i = kWinListArea; i < kWinPasswordBox; ++i)
        EXPECT_EQ(MenuWin_PaintCount(i), before[i]) << "window " << i;
    g_MenuPageCache.currentList = 99;
    Step(94, 3);
    EXPECT_EQ(g_MenuPageCache.currentList, 0u) << "a select state still finds its list";
}

TEST_F(MenuPageTest, BarcodeTeachRepaintsTheColumnAndIsTakenOnce) {
    Step(292, 3);
    const uint32_t column = MenuWin_PaintCount(ColumnWin(kColBarcode));
    g_BarcodeTable.tableChanged.store(2);
    Step(292, 1);
    EXPECT_EQ(g_BarcodeTable.tableChanged.load(), 0);
    EXPECT_EQ(MenuWin_PaintCount(ColumnWin(kColBarcode)), column + 1);
    g_BarcodeTable.tableChanged.store(1);
    Step(292, 2);
    EXPECT_EQ(MenuWin_PaintCount(ColumnWin(kColBarcode)), column + 2) << "a panel teach as well";
}

TEST_F(MenuPageTest, HintsFollowTheWiring) {
    // {wiring, the row whose editor opens, its hint}
    for (const auto& [wiring, row, hint] : {std::tuple{2u, 102u, "ALL|L1|L2"}, {1u, 130u, "L1"}}) {
        SetPhaseMode(wiring);
        Step(row, 3);
        EXPECT_TRUE(Logged(StepLog(row + 1, 2), 710, 10, "0xFFFF", hint)) << wiring;
    }
}

TEST_F(MenuPageTest, MiscPreviewPageSwapsPageUpAndPageDown) {
    Step(95, 3);
    TakeLog();
    g_MenuPreviewPage.store(1);
    Step(95, 1);
    const std::string log = TakeLog();
    EXPECT_TRUE(Logged(log, 760, 23, "0x0000", "Page\\nUp")) << log;
    EXPECT_EQ(log.find("Page\\nDown"), std::string::npos);
    Step(94, 3);
    Step(95, 1);
    EXPECT_EQ(g_MenuPreviewPage.load(), 0u) << "entering the MISC row starts on the first page";
}

// The default-setting and password dialog; the typed digits are stars in the text log.
TEST_F(MenuPageTest, DefaultSettingAndPasswordDialogs) {
    Step(221, 3);
    Step(222, 3);
    menutest::ExpectPage("menu_default_box");
    g_EditBuf.choiceValue = 0;
    g_EditParam.workValue.store(0);
    Step(223, 3);
    const std::string placeholder = StepLog(224, 3);
    menutest::ExpectPage("menu_password_box");
    EXPECT_TRUE(Logged(placeholder, 378, 239, "0xFFFF", "****")) << "right-aligned at the field's x 83";
    TypeEntry("12");
    Step(224, 2);
    menutest::ExpectPage("menu_password_typed");
    const std::string log = TakeLog();
    EXPECT_TRUE(Logged(log, 370, 239, "0xFFFF", "**")) << log;
    EXPECT_EQ(log.find("12"), std::string::npos) << "typed digits never reach the log";
    TypeEntry("12345");
    Step(224, 2);
    menutest::ExpectPage("menu_password_error");
}

// The code the knob sets is the field's: a changed working value changes the field.
TEST_F(MenuPageTest, KnobCodeIsShownInThePasswordField) {
    Step(223, 3);
    g_EditParam.workValue.store(8719);
    g_EditParam.cursor = 0;
    Step(224, 3);
    TakeLog();
    const std::vector<uint16_t> first = screentext::BoxPixels(guitest::Screen(), 295, 225, 444, 252);
    g_EditParam.workValue.store(1234);
    Step(224, 2);
    EXPECT_NE(screentext::BoxPixels(guitest::Screen(), 295, 225, 444, 252), first) << TakeLog();
    g_EditParam.workValue.store(0);
    g_EditParam.cursor = 0;
}

TEST_F(MenuPageTest, PasswordBoxHiddenOnOtherStates) {
    Step(224, 3);
    Step(223, 3);
    const std::string log = StepLog(94, 15);
    EXPECT_EQ(log.find("Password"), std::string::npos) << log;
}

TEST(MenuPageLabels, NoHintOnASelectStateAndNoExitOnTheConfirmationPasswordAndServiceStates) {
    for (int list = 0; list < kMenuLists; ++list) {
        const MenuListRow* rows = g_MenuListTables[list];
        for (int i = 0; rows != nullptr && rows[i].SelectState != kMenuListEnd; ++i)
            EXPECT_STREQ(menu::HintOfState(rows[i].SelectState), "") << rows[i].SelectState;
    }
    for (uint32_t s : {222u, 224u, 225u, 250u, 283u, 316u})
        EXPECT_EQ(menu::SoftKeyLabel(5, s), nullptr) << s;
    for (uint32_t s : {94u, 221u, 223u, 284u, 315u, 495u, 544u})
        EXPECT_STREQ(menu::SoftKeyLabel(5, s), "EXIT") << s;
    EXPECT_STREQ(menu::SoftKeyLabel(0, 197), "APPLY\nALL\nPHASE");
    EXPECT_EQ(menu::SoftKeyLabel(0, 196), nullptr);
    EXPECT_STREQ(menu::SoftKeyLabel(2, 220), "DEFAULT");
}

}  // namespace
