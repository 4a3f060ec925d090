// The drop-down lists of the home screen on the framebuffer: the measurement items of a meter row, the
// output modes and the lines, each with its highlighted row.
#include <gtest/gtest.h>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "screens/output/home/home_windows.h"
#include "tests/GUI/screen_fixture.h"
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
    // Paints window `win` and compares the list's place on the screen with the golden picture.
    void Expect(int win, int list, const char* golden) {
        if (win != list) WM_Show(g_HomeWin[win]);
        screen.Paint(win);
        WM_HWINDOW h = g_HomeWin[list];
        const int x = WM_GetLeft(h), y = WM_GetTop(h);
        guitest::ExpectGolden(golden, GUI_BOX{int16_t(x), int16_t(y), int16_t(x + WM_GetWidth(h) - 1),
                                              int16_t(y + WM_GetHeight(h) - 1)});
    }
};

// A meter row's items centred on orange, each outlined; DC-INT's shorter list; the highlighted row: the
// item being chosen in orange on white.
TEST_F(HomeLists, ItemListShowsTheRowsItemsOnOrange) {
    g_OutputModeIdx.store(0);
    Show(home::kWinItemList0, home::kWinItemListHead0);
    Expect(home::kWinItemList0, home::kWinItemList0, "home_item_list");
    g_OutputModeIdx.store(2);
    Expect(home::kWinItemList0, home::kWinItemList0, "home_item_list_dc");
    g_OutputModeIdx.store(0);
    ASSERT_EQ(paramPutValue(kParamMeasItem1, 1, 0), 0);
    Expect(home::kWinItemListHead0, home::kWinItemList0, "home_item_list_head");
}

TEST_F(HomeLists, ModeListNamesTheTenModes) {
    Show(home::kWinModeList, home::kWinModeListHead);
    Expect(home::kWinModeList, home::kWinModeList, "home_mode_list");
    g_EditShown.workValue = 1;
    Expect(home::kWinModeListHead, home::kWinModeList, "home_mode_list_head");
}

// The lines of the wiring, or the phase and line views of a balanced output (the phase view alone in
// AC-VCA); the frame ends below the last entry.
TEST_F(HomeLists, LineListFollowsWiringAndBalance) {
    Show(home::kWinLineList, home::kWinLineListHead);
    Expect(home::kWinLineList, home::kWinLineList, "home_line_list_3p4w");
    g_PhaseMode.store(2);
    Expect(home::kWinLineList, home::kWinLineList, "home_line_list_1p3w");
    SetPhaseBalanceMode(1);
    Expect(home::kWinLineList, home::kWinLineList, "home_line_list_balanced");
    g_OutputModeIdx.store(9);
    Expect(home::kWinLineList, home::kWinLineList, "home_line_list_vca");
    g_PhaseMode.store(1);
    Expect(home::kWinLineList, home::kWinLineList, "home_line_list_1p2w");
    g_PhaseMode.store(0);
    g_OutputModeIdx.store(1);
    g_EditShown.workValue = 1;
    Expect(home::kWinLineListHead, home::kWinLineList, "home_line_list_head_line");
    SetPhaseBalanceMode(0);
    Expect(home::kWinLineListHead, home::kWinLineList, "home_line_list_head_l2");
}

}  // namespace
