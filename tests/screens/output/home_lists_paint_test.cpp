// The drop-down lists of the home screen on the framebuffer: the measurement items of a meter row, the
// output modes and the lines, each with its highlighted row.
#include <gtest/gtest.h>

#include "GUI/text/gui_font.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "screens/output/home/home_windows.h"
#include "tests/screens/output/home_paint_fixture.h"

namespace {

using hometest::HomePaintScreen;

class HomeLists : public ::testing::Test {
  protected:
    HomePaintScreen screen;
    // The list shown with its highlighted row hidden, so that only the list's own drawing is seen.
    void Show(int list, int head) {
        WM_Show(g_HomeWin[list]);
        WM_Hide(g_HomeWin[head]);
    }
    void ShowHead(int head) { WM_Show(g_HomeWin[head]); }
    std::vector<std::string> TextsFrom(int x) const {
        std::vector<std::string> out;
        for (const auto& t : screen.Texts())
            if (t.x == x) out.push_back(t.text);
        return out;
    }
};

TEST_F(HomeLists, ItemListShowsTheRowsItemsOnOrange) {
    g_OutputModeIdx.store(0);
    Show(home::kWinItemList0, home::kWinItemListHead0);
    screen.Paint(home::kWinItemList0);
    const int x = 650 + 35, y = 28 + 98;
    EXPECT_EQ(screen.TextAt(x, y + 4), "Vrms");
    EXPECT_EQ(screen.TextAt(x, y + 25 + 4), "Vavg");
    EXPECT_EQ(screen.TextAt(x, y + 25 * 7 + 4), "VLL max");
    EXPECT_EQ(screen.Texts().front().rgb, 0u);
    for (const auto& t : screen.Texts())
        EXPECT_EQ(t.align & GUI_TA_HORIZONTAL, GUI_TA_HCENTER) << t.text << " is centred on its row";
    EXPECT_EQ(HomePaintScreen::Pixel(650 + 68, y + 35), HomePaintScreen::Rgb565(0xF7931E));
    EXPECT_EQ(HomePaintScreen::Pixel(650 + 2, y + 35), 0);  // the item's outline
    // DC-INT has its own, shorter list.
    g_OutputModeIdx.store(2);
    screen.Paint(home::kWinItemList0);
    const std::vector<std::string> dc = TextsFrom(x);
    ASSERT_EQ(dc.size(), 6u);
    EXPECT_EQ(dc.back(), "P");
    // The highlighted row: the item being chosen in orange on white.
    g_OutputModeIdx.store(0);
    ASSERT_EQ(paramPutValue(kParamMeasItem1, 1, 0), 0);
    ShowHead(home::kWinItemListHead0);
    screen.Paint(home::kWinItemListHead0);
    EXPECT_EQ(screen.TextAt(x, y + 4), "Vavg");
    EXPECT_EQ(screen.Texts().front().rgb, 0xF7931Eu);
    EXPECT_EQ(screen.Texts().front().align & GUI_TA_HORIZONTAL, GUI_TA_HCENTER);
    EXPECT_EQ(HomePaintScreen::Pixel(650 + 68, y + 10), 0xFFFF);
}

TEST_F(HomeLists, ModeListNamesTheTenModes) {
    Show(home::kWinModeList, home::kWinModeListHead);
    screen.Paint(home::kWinModeList);
    const std::vector<std::string> names = TextsFrom(589 + 5);
    EXPECT_EQ(names, (std::vector<std::string>{"AC+DC-INT", "AC-INT", "DC-INT", "AC+DC-EXT", "AC-EXT",
                                               "AC+DC-ADD", "AC-ADD", "AC+DC-Sync", "AC-Sync", "AC-VCA"}));
    EXPECT_EQ(screen.TextAt(589 + 5, 28 + 47 + 21 * 9 + 2), "AC-VCA");
    EXPECT_EQ(HomePaintScreen::Pixel(589 + 50, 28 + 47), 0xFFFF);  // the frame
    EXPECT_EQ(HomePaintScreen::Pixel(589 + 111, 28 + 47 + 100), HomePaintScreen::Rgb565(0x666666));
    g_EditShown.workValue = 1;
    ShowHead(home::kWinModeListHead);
    screen.Paint(home::kWinModeListHead);
    EXPECT_EQ(screen.TextAt(589 + 3 + 2, 28 + 47 + 4 - 2), "AC-INT");
    EXPECT_EQ(screen.Texts().front().rgb, 0u);
}

TEST_F(HomeLists, LineListFollowsWiringAndBalance) {
    Show(home::kWinLineList, home::kWinLineListHead);
    auto entries = [&] {
        screen.Paint(home::kWinLineList);
        return TextsFrom(589 + 5);
    };
    EXPECT_EQ(entries(), (std::vector<std::string>{"L1", "L2", "L3"}));
    g_PhaseMode.store(2);
    EXPECT_EQ(entries(), (std::vector<std::string>{"L1", "L2"}));
    SetPhaseBalanceMode(1);
    EXPECT_EQ(entries(), (std::vector<std::string>{"Phase", "Line"}));
    g_OutputModeIdx.store(9);
    EXPECT_EQ(entries(), (std::vector<std::string>{"Phase"}));
    g_PhaseMode.store(1);
    EXPECT_EQ(entries(), (std::vector<std::string>{"L1"}));
    // The frame ends below the last entry: 21 x n + 7.
    EXPECT_EQ(HomePaintScreen::Pixel(589 + 50, 28 + 14 + 28), 0xFFFF);
    EXPECT_EQ(HomePaintScreen::Pixel(589 + 50, 28 + 14 + 40), 0);
    g_PhaseMode.store(0);
    g_OutputModeIdx.store(1);
    g_EditShown.workValue = 1;
    ShowHead(home::kWinLineListHead);
    screen.Paint(home::kWinLineListHead);
    EXPECT_EQ(screen.TextAt(589 + 3 + 2, 28 + 14 + 4 - 2), "Line");
    SetPhaseBalanceMode(0);
    screen.Paint(home::kWinLineListHead);
    EXPECT_EQ(screen.TextAt(589 + 3 + 2, 28 + 14 + 4 - 2), "L2");
}

}  // namespace
