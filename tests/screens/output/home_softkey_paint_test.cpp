// The home soft-key column on the framebuffer: the eight labels from the settings, their styles (white
// text on the disabled face), preset mode, and the black column while the output-mode list is open.
#include <gtest/gtest.h>

#include "tests/screens/output/home_cells_fixture.h"

namespace {

using homecells::HomeCells;

class SoftKeys : public HomeCells {
  protected:
    void SetUp() override {
        HomeCells::SetUp();
        WM_HWINDOW column = Make(home::kWinSoftKeyColumn, root_, 720, 0, 80, 480, homecells::Black);
        for (int k = 0; k < 8; ++k)
            Make(home::kWinSoftKey0 + k, column, 0, 60 * k, 80, 60, HomeSoftKey_Paint);
    }
    void ExpectKeys(const char* golden) {
        Paint();
        guitest::ExpectGolden(golden, GUI_BOX{720, 0, 799, 479});
    }
    static void Put(uint32_t id, int32_t v) { ASSERT_EQ(paramPutValue(id, v, 0), 0); }
};

TEST_F(SoftKeys, StartLabels) {
    Put(kParamMeasItem1 + 3, 7);
    ExpectKeys("home_keys_start");
}

// RUN/HOLD on the disabled face while held, the preset keys, and the black column while the output-mode
// list is open.
TEST_F(SoftKeys, HoldPresetAndTheOpenModeList) {
    g_ParamFlags = core::kFlagMeterHold;
    ExpectKeys("home_keys_held");
    g_ParamFlags = core::kFlagMeterHold | core::kFlagPresetMode;
    ExpectKeys("home_keys_preset");
    g_ParamFlags = 0;
    g_MenuState = 46;
    Paint();
    EXPECT_EQ(text_, "") << "nothing drawn on the keys";
    EXPECT_EQ(Count(720, 0, 799, 479, 0), 80 * 480) << "the column is black";
}

// An item key names its item, on the selected face while its item is edited; DC-INT has its own lists.
TEST_F(SoftKeys, ItemKeysFollowTheItemsAndTheirEditState) {
    Put(kParamMeasItem1, 12);
    g_MenuState = 1;
    ExpectKeys("home_keys_item_thdv");
    g_MenuState = 38;
    ExpectKeys("home_keys_item_edited");
    g_MenuState = 1;
    g_OutputModeIdx = 2;
    Put(kParamMeasItem1 + 3, 5);
    ExpectKeys("home_keys_item_dc");
}

TEST_F(SoftKeys, LineAndEachAllKeysFollowWiringAndBalance) {
    g_PhaseMode = 1;
    g_EditAllPhases = 1;
    ExpectKeys("home_keys_1p2w");
    EXPECT_EQ(g_EditAllPhases.load(), 0) << "a two-wire output edits each phase";

    g_PhaseMode = 2;
    Put(kParamMeasItem1 + 5, 1);
    g_HomePage.allPhasesLock = 1;
    ExpectKeys("home_keys_1p3w_locked");  // held to all phases by the panel

    g_PhaseMode = 0;
    g_HomePage.allPhasesLock = 0;
    ASSERT_EQ(SetPhaseBalanceMode(1), 1);
    Put(kParamMeasItem7, 1);
    ExpectKeys("home_keys_balanced_line");
    EXPECT_EQ(g_EditAllPhases.load(), 1) << "balanced AC: all phases together";

    g_OutputModeIdx = 3;  // balanced 3P4W in an external mode: the lines again, Each/All free
    g_EditAllPhases = 0;
    Put(kParamMeasItem1 + 5, 1);
    ExpectKeys("home_keys_balanced_ext");
}

}  // namespace
