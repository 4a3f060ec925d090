// The drop-down lists of the home screen on the framebuffer: the measurement items of a meter row, the
// output modes and the lines, each with its highlighted row.
#include <gtest/gtest.h>

#include "tests/screens/output/home_cells_fixture.h"

namespace {

using homecells::HomeCells;

class HomeLists : public HomeCells {
  protected:
    void SetUp() override {
        HomeCells::SetUp();
        test::DefaultSettings(1);
    }
    // A list at its place with its highlighted row (at `headX`, 4 inside it) hidden, so that only the list's
    // own drawing is seen.
    void Open(int list, int x, int y, int h, WM_CALLBACK* paint, int head, WM_CALLBACK* headPaint) {
        const bool items = list == home::kWinItemList0;
        list_ = Make(list, body_, x, y, items ? 70 : 114, h, paint);
        head_ = items ? Make(head, list_, 0, 0, 70, 25, headPaint) : Make(head, list_, 3, 4, 105, 21, headPaint);
        WM_Hide(head_);
    }
    // The list painted (with its highlighted row when `head`), compared with the golden picture.
    void Expect(const char* golden, bool head = false) {
        if (head) WM_Show(head_);
        Paint();
        const int x = WM_GetLeft(list_), y = WM_GetTop(list_);
        guitest::ExpectGolden(golden, GUI_BOX{int16_t(x), int16_t(y), int16_t(x + WM_GetWidth(list_) - 1),
                                              int16_t(y + WM_GetHeight(list_) - 1)});
    }
    WM_HWINDOW list_ = 0, head_ = 0;
};

// A meter row's items centred on orange, each outlined; DC-INT's shorter list; the highlighted row: the
// item being chosen in orange on white.
TEST_F(HomeLists, ItemListShowsTheRowsItemsOnOrange) {
    g_OutputModeIdx.store(0);
    Open(home::kWinItemList0, 650, 98, 200, HomePaint_MeasItemList, home::kWinItemListHead0,
         HomePaint_MeasItemListHead);
    Expect("home_item_list");
    g_OutputModeIdx.store(2);
    Expect("home_item_list_dc");
    g_OutputModeIdx.store(0);
    ASSERT_EQ(paramPutValue(kParamMeasItem1, 1, 0), 0);
    Expect("home_item_list_head", true);
}

TEST_F(HomeLists, ModeListNamesTheTenModes) {
    Open(home::kWinModeList, 589, 47, 219, HomePaint_ModeList, home::kWinModeListHead, HomePaint_ModeListHead);
    Expect("home_mode_list");
    g_EditShown.workValue = 1;
    Expect("home_mode_list_head", true);
}

// The lines of the wiring, or the phase and line views of a balanced output (the phase view alone in
// AC-VCA); the frame ends below the last entry.
TEST_F(HomeLists, LineListFollowsWiringAndBalance) {
    Open(home::kWinLineList, 589, 14, 219, HomePaint_LineList, home::kWinLineListHead, HomePaint_LineListHead);
    Expect("home_line_list_3p4w");
    g_PhaseMode.store(2);
    Expect("home_line_list_1p3w");
    SetPhaseBalanceMode(1);
    Expect("home_line_list_balanced");
    g_OutputModeIdx.store(9);
    Expect("home_line_list_vca");
    g_PhaseMode.store(1);
    Expect("home_line_list_1p2w");
    g_PhaseMode.store(0);
    g_OutputModeIdx.store(1);
    g_EditShown.workValue = 1;
    Expect("home_line_list_head_line", true);
    SetPhaseBalanceMode(0);
    Expect("home_line_list_head_l2", true);
}

}  // namespace
