// The home soft-key column on the framebuffer: the eight labels from the settings, their styles (white
// text on the disabled face), preset mode, and the black column while the output-mode list is open.
#include <gtest/gtest.h>

#include "tests/screens/output/home_cells_fixture.h"

namespace {

using homecells::HomeCells;

constexpr char kBlack[] = "14 0x0000 Font16a", kWhite[] = "14 0xFFFF Font16a";

class SoftKeys : public HomeCells {
  protected:
    void SetUp() override {
        HomeCells::SetUp();
        WM_HWINDOW column = Make(home::kWinSoftKeyColumn, root_, 720, 0, 80, 480, homecells::Black);
        for (int k = 0; k < 8; ++k)
            Make(home::kWinSoftKey0 + k, column, 0, 60 * k, 80, 60, HomeSoftKey_Paint);
    }
    // Style and colour of key k's label of the given line count ("\n" as the log writes it).
    std::string Key(int k, int lines, const std::string& label) const {
        return At(760, 60 * k + (lines == 1 ? 31 : lines == 2 ? 23 : 16), label);
    }
    static void Put(uint32_t id, int32_t v) { ASSERT_EQ(paramPutValue(id, v, 0), 0); }
};

TEST_F(SoftKeys, StartLabels) {
    Put(kParamMeasItem1 + 3, 7);
    Paint();
    const std::pair<int, const char*> labels[8] = {
        {1, "DISPLAY"},   {3, "[L1]\\nL2\\nL3"}, {2, "ITEM1\\nVrms"}, {2, "ITEM2\\nIrms"},
        {2, "ITEM3\\nP"}, {2, "ITEM4\\nPF"},     {2, "[Each]\\nAll"}, {2, "[RUN]\\nHOLD"}};
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(Key(k, labels[k].first, labels[k].second), kBlack) << k << text_;
}

TEST_F(SoftKeys, HoldPresetAndTheOpenModeList) {
    g_ParamFlags = core::kFlagMeterHold;
    Paint();
    EXPECT_EQ(Key(7, 2, "RUN\\n[HOLD]"), kWhite) << text_;

    g_ParamFlags = core::kFlagMeterHold | core::kFlagPresetMode;
    Paint();
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(Key(k, 2, "Preset\\nM" + std::to_string(k)), kBlack) << k << text_;

    g_ParamFlags = 0;
    g_MenuState = 46;
    Paint();
    EXPECT_EQ(text_, "") << "nothing drawn on the keys";
    EXPECT_EQ(Count(720, 0, 799, 479, 0), 80 * 480) << "the column is black";
}

TEST_F(SoftKeys, ItemKeysFollowTheItemsAndTheirEditState) {
    Put(kParamMeasItem1, 12);
    g_MenuState = 1;
    Paint();
    EXPECT_EQ(Key(2, 2, "ITEM1\\nTHDv"), kBlack) << text_;
    const std::vector<uint16_t> plain = screen_;
    g_MenuState = 38;
    Paint();
    EXPECT_EQ(Key(2, 2, "ITEM1\\nTHDv"), kBlack);
    int changed = 0;
    for (int y = 120; y < 180; ++y)
        for (int x = 720; x < 800; ++x)
            changed += screen_[y * 800 + x] != plain[y * 800 + x];
    EXPECT_GT(changed, 100) << "the selected face while its item is edited";

    g_MenuState = 1;
    g_OutputModeIdx = 2;  // DC-INT lists
    Put(kParamMeasItem1 + 3, 5);
    Paint();
    EXPECT_EQ(Key(5, 2, "ITEM4\\nIpkH"), kBlack) << text_;
}

TEST_F(SoftKeys, LineAndEachAllKeysFollowWiringAndBalance) {
    g_PhaseMode = 1;
    g_EditAllPhases = 1;
    Paint();
    EXPECT_EQ(Key(1, 1, "L1"), kWhite) << text_;
    EXPECT_EQ(Key(6, 2, "[Each]\\nAll"), kWhite);
    EXPECT_EQ(g_EditAllPhases.load(), 0) << "a two-wire output edits each phase";

    g_PhaseMode = 2;
    Put(kParamMeasItem1 + 5, 1);
    g_HomePage.allPhasesLock = 1;
    Paint();
    EXPECT_EQ(Key(1, 2, "L1\\n[L2]"), kBlack) << text_;
    EXPECT_EQ(Key(6, 2, "Each\\n[All]"), kWhite) << "held to all phases by the panel";

    g_PhaseMode = 0;
    g_HomePage.allPhasesLock = 0;
    ASSERT_EQ(SetPhaseBalanceMode(1), 1);
    Put(kParamMeasItem7, 1);
    Paint();
    EXPECT_EQ(Key(1, 2, "Phase\\n[Line]"), kBlack) << text_;
    EXPECT_EQ(Key(6, 2, "Each\\n[All]"), kWhite);
    EXPECT_EQ(g_EditAllPhases.load(), 1) << "balanced AC: all phases together";

    g_OutputModeIdx = 3;  // balanced 3P4W in an external mode: the lines again, Each/All free
    g_EditAllPhases = 0;
    Put(kParamMeasItem1 + 5, 1);
    Paint();
    EXPECT_EQ(Key(1, 3, "L1\\n[L2]\\nL3"), kBlack) << text_;
    EXPECT_EQ(Key(6, 2, "[Each]\\nAll"), kBlack);
}

}  // namespace
