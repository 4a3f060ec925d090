// The meter grid on the framebuffer: each cell draws its item row's quantity of its phase (the value
// ending at x 150 of the cell, the unit from there), dashes for line-to-line items a two-wire output
// lacks, grey while the meter is held, and the small yellow tags at (150, 19) inside the cells.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/screens/output/home_cells_fixture.h"

namespace {

using homecells::HomeCells;

constexpr int kColX[3] = {4, 175, 347};
constexpr int kRowY[4] = {48, 115, 182, 249};
constexpr uint16_t kYellow565 = 0xFFE0;
constexpr GUI_BOX kGrid{4, 76, 519, 320};

class MeterGrid : public HomeCells {
  protected:
    void SetUp() override {
        HomeCells::SetUp();
        for (int c = 0; c < 3; ++c)
            for (int r = 0; r < 4; ++r) {
                const int n = c * 4 + r;
                WM_HWINDOW cell =
                    Make(home::MeterCellWin(n), body_, kColX[c], kRowY[r], 172, 44, HomePaint_MeterCell);
                Make(home::CellTagWin(n), cell, 150, 19, 40, 14, HomePaint_CellTag);
            }
    }
    static void Item(int row, int32_t item) {
        ASSERT_EQ(paramPutValue(kParamMeasItem1 + row, item, 0), 0);
    }
    // Screen anchor of a cell's tag.
    static int TagY(int row) { return 28 + kRowY[row] + 19; }
    // The non-empty tags of a row, column by column ("x:text").
    std::vector<std::string> Tags(int row) const {
        std::vector<std::string> out;
        for (const std::string& t : TextsAt(TagY(row)))
            if (t.back() != ':') out.push_back(t);
        std::sort(out.begin(), out.end());
        return out;
    }
};

// Line-to-line items a two-wire output lacks show dashes in the first two columns, the third keeps its
// value; a row-4 item past its list shows dashes, and nothing in the third column.
TEST_F(MeterGrid, LineToLineItemsShowDashesInTheFirstTwoColumnsOfATwoWireOutput) {
    g_PhaseMode = 1;
    for (int p = 0; p < 3; ++p)
        g_DispCache[3 + p].Set(kMfVrms, 200.0f + 10.0f * p);
    Item(0, 5);  // row 1: VLL rms
    Item(3, 9);  // row 4: past its list
    Paint();
    guitest::ExpectGolden("meter_grid_1p2w_vll", kGrid);
    g_OutputModeIdx = 2;  // DC-INT: row 4 items 0-3 are currents, which L1 has
    g_DispCache[0].Set(kMfIrms, 3.5f);
    Item(3, 0);
    Paint();
    guitest::ExpectGolden("meter_grid_1p2w_dc_irms", kGrid);
    g_OutputModeIdx = 1;
    g_PhaseMode = 0;
    Paint();
    guitest::ExpectGolden("meter_grid_3p4w_vll", kGrid);
}

// DC-INT maps row 2 item 5 to Vavg and row 3 item 1 to IpkH; elsewhere they are PF and S.
TEST_F(MeterGrid, ItemsMapToTheirQuantityByRowAndDcInt) {
    for (int p = 0; p < 3; ++p) {
        g_DispCache[p].Set(kMfVavg, 1.25f + p);
        g_DispCache[p].Set(kMfIrms, 7.5f);
        g_DispCache[p].Set(kMfPF, 0.875f - 0.125f * p);
        g_DispCache[p].Set(kMfPower, 1500.0f + p);
    }
    g_OutputModeIdx = 2;
    Item(1, 5);
    Item(2, 1);
    Paint();
    guitest::ExpectGolden("meter_grid_dc_vavg_ipkh", kGrid);
    g_OutputModeIdx = 1;
    Item(1, 5);
    Item(2, 1);
    Paint();
    guitest::ExpectGolden("meter_grid_ac_pf_s", kGrid);
}

TEST_F(MeterGrid, AHeldMeterDrawsEveryValueGrey) {
    g_DispCache[0].Set(kMfVrms, 123.4f);
    g_ParamFlags = core::kFlagMeterHold;
    Paint();
    guitest::ExpectGolden("meter_grid_held", kGrid);
}

TEST_F(MeterGrid, TagsNameTheLineOfLineToLineItemsWhereTheWiringHasIt) {
    struct Case {
        uint32_t phaseMode, outputMode;
        int32_t item1, item4;
        std::vector<std::string> row1, row2, row4;
    };
    const Case cases[] = {
        {0, 1, 0, 0, {"154:V", "325:V", "497:V"}, {"154:A", "325:A", "497:A"},
         {"154:V12", "325:V23", "497:V31"}},
        {0, 1, 6, 4, {"154:V12", "325:V23", "497:V31"}, {"154:A", "325:A", "497:A"}, {}},
        {2, 1, 7, 3, {"154:V12"}, {"154:A", "325:A"}, {"154:V12", "325:V23"}},
        {2, 1, 0, 0, {"154:V", "325:V"}, {"154:A", "325:A"}, {"154:V12", "325:V23"}},
        {1, 1, 8, 1, {}, {"154:A"}, {"154:V12"}},
        {1, 1, 0, 0, {"154:V"}, {"154:A"}, {"154:V12"}},
        {0, 2, 0, 0, {"154:V", "325:V", "497:V"}, {"154:A", "325:A", "497:A"}, {}},  // DC-INT row 4: Irms
    };
    for (const Case& c : cases) {
        g_PhaseMode = c.phaseMode;
        g_OutputModeIdx = c.outputMode;
        Item(0, c.item1);
        Item(1, 0);
        Item(3, c.item4);
        Paint();
        SCOPED_TRACE(testing::Message() << "wiring " << c.phaseMode << " mode " << c.outputMode << " items "
                                        << c.item1 << "/" << c.item4);
        EXPECT_EQ(Tags(0), c.row1) << text_;
        EXPECT_EQ(Tags(1), c.row2);
        EXPECT_EQ(Tags(3), c.row4);
        EXPECT_EQ(Tags(2), std::vector<std::string>{});
    }
    EXPECT_EQ(At(154, TagY(1), "A"), "0 0xFFE0 Font15a") << "yellow at (150, 19) of the cell";
    EXPECT_GT(Count(154, 162, 193, 175, kYellow565), 5);
}

}  // namespace
