// The home page's value blocks on the framebuffer, each window at its place over a factory-default store.
// The meter grid: each cell draws its item row's quantity of its phase (the value ending at x 150 of the
// cell, the unit from there), dashes for line-to-line items a two-wire output lacks, grey while the meter
// is held, and the small yellow tags at (150, 19) inside the cells.
// The set-value block: AC voltage, DC voltage and frequency of L1-L3 in cells whose value ends at x 90 (the
// unit starts there), dashes where the output mode or the wiring lacks the setting, the row labels and the
// rounded frames; and the five-digit cut of large settings.
// The total-power block: the six totals with their formats and kilo units (value ending at x 110 of the
// cell), grey while the meter is held, the letters and the "TOTAL" columns.
// The soft-key column: the eight labels from the settings, their styles (white text on the disabled face),
// preset mode, and the black column while the output-mode list is open.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "tests/screens/output/home_cells_fixture.h"

namespace {

using homecells::HomeCells;

constexpr int kMeterX[3] = {4, 175, 347};
constexpr int kMeterY[4] = {48, 115, 182, 249};
constexpr GUI_BOX kGrid{4, 76, 519, 320};

class MeterGrid : public HomeCells {
  protected:
    void SetUp() override {
        HomeCells::SetUp();
        for (int c = 0; c < 3; ++c)
            for (int r = 0; r < 4; ++r) {
                const int n = c * 4 + r;
                WM_HWINDOW cell =
                    Make(home::MeterCellWin(n), body_, kMeterX[c], kMeterY[r], 172, 44, HomePaint_MeterCell);
                Make(home::CellTagWin(n), cell, 150, 19, 40, 14, HomePaint_CellTag);
            }
    }
    static void Item(int row, int32_t item) {
        ASSERT_EQ(paramPutValue(kParamMeasItem1 + row, item, 0), 0);
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
    PaintAs("meter_grid_1p2w_vll", kGrid);
    g_OutputModeIdx = 2;  // DC-INT: row 4 items 0-3 are currents, which L1 has
    g_DispCache[0].Set(kMfIrms, 3.5f);
    Item(3, 0);
    PaintAs("meter_grid_1p2w_dc_irms", kGrid);
    g_OutputModeIdx = 1;
    g_PhaseMode = 0;
    PaintAs("meter_grid_3p4w_vll", kGrid);
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
    PaintAs("meter_grid_dc_vavg_ipkh", kGrid);
    g_OutputModeIdx = 1;
    Item(1, 5);
    Item(2, 1);
    PaintAs("meter_grid_ac_pf_s", kGrid);
}

TEST_F(MeterGrid, AHeldMeterDrawsEveryValueGrey) {
    g_DispCache[0].Set(kMfVrms, 123.4f);
    g_ParamFlags = core::kFlagMeterHold;
    PaintAs("meter_grid_held", kGrid);
}

// The small yellow tags at (150, 19) inside the cells: the unit, or the line of a line-to-line item where
// the wiring has the line (V12 V23 V31 in 3P4W, V12 in 1P3W's first two columns and 1P2W's first).
TEST_F(MeterGrid, TagsNameTheLineOfLineToLineItemsWhereTheWiringHasIt) {
    struct Case {
        uint32_t phaseMode, outputMode;
        int32_t item1, item4;
        const char* golden;
    };
    const Case cases[] = {
        {0, 1, 0, 0, "meter_tags_3p4w"},      {0, 1, 6, 4, "meter_tags_3p4w_vll"},
        {2, 1, 7, 3, "meter_tags_1p3w_vll"},  {2, 1, 0, 0, "meter_tags_1p3w"},
        {1, 1, 8, 1, "meter_tags_1p2w_vll"},  {1, 1, 0, 0, "meter_tags_1p2w"},
        {0, 2, 0, 0, "meter_tags_dc"},  // DC-INT row 4: Irms
    };
    for (const Case& c : cases) {
        g_PhaseMode = c.phaseMode;
        g_OutputModeIdx = c.outputMode;
        Item(0, c.item1);
        Item(1, 0);
        Item(3, c.item4);
        PaintAs(c.golden, kGrid);
    }
}

constexpr int kSetX[3] = {50, 219, 388};
constexpr int kSetY[3] = {316, 358, 400};
constexpr char kUnitFont[] = "0 0xFFE0 Font36b";
// The block on the screen: row labels, frames and cells.
constexpr GUI_BOX kSetBlock{7, 341, 514, 464};

class SetValues : public HomeCells {
  protected:
    void SetUp() override {
        HomeCells::SetUp();
        Make(home::kWinSetLabels, body_, 7, 320, 42, 108, HomePaint_SetLabels);
        Make(home::kWinSetFrames, body_, 45, 313, 470, 124, HomePaint_SetFrames);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                Make(home::SetCellWin(r, c), body_, kSetX[c], kSetY[r], 120, 28, HomePaint_SetValueCell);
    }
    static int X(int col) { return kSetX[col] + 90; }
    static int Y(int row) { return 28 + kSetY[row]; }
    static void Put(uint32_t id, int phase, int32_t v) {
        ASSERT_EQ(paramPutValue(id + static_cast<uint32_t>(phase), v, static_cast<uint32_t>(phase)), 0);
    }
    static void Freq(int phase, int32_t v) {
        ASSERT_EQ(paramPutValue(kParamFreq, v, static_cast<uint32_t>(phase)), 0);
    }
};

// Two decimals below 100, one from 100 (either sign), frequencies one decimal from 1000 Hz.
TEST_F(SetValues, DecimalsFollowTheSizeOfTheValue) {
    Put(kParamAcv, 0, 9999);
    Put(kParamAcv, 1, 10000);
    Put(kParamAcv, 2, 0);
    Freq(0, 99999);
    Freq(1, 100000);
    Freq(2, 5000);
    PaintAs("set_values_ac_decimals", kSetBlock);
    g_OutputModeIdx = 2;  // DC-INT: the DC voltage
    Put(kParamDcv2, 0, -9999);
    Put(kParamDcv2, 1, -10000);
    Put(kParamDcv2, 2, 10000);
    PaintAs("set_values_dc_decimals", kSetBlock);
}

TEST_F(SetValues, PeakToPeakOnlyForStoredAndArbitraryWaveformsWithTheUnitSetting) {
    struct Case {
        int32_t unit, wave;
        const char* shown;
    };
    const Case cases[] = {
        {1, 0, " Vpp"}, {1, 18, " Vpp"}, {1, 16, " Vrms"}, {1, 17, " Vrms"}, {0, 0, " Vrms"}};
    for (const Case& c : cases) {
        ASSERT_EQ(paramPutValue(kParamAcvUnit, c.unit, 0), 0);
        ASSERT_EQ(SetWaveform(c.wave, 1), c.wave);
        Paint();
        EXPECT_EQ(At(X(1), Y(0), c.shown), kUnitFont) << "unit " << c.unit << " wave " << c.wave << text_;
    }
}

// 1P2W has L1 only, AC-INT no DC voltage (nor its unit); 1P3W has L1 and L2, DC-INT no AC voltage nor
// a frequency. The row labels and the rounded frames stay.
TEST_F(SetValues, DashesWhereTheModeOrTheWiringLacksTheSetting) {
    g_PhaseMode = 1;
    PaintAs("set_values_1p2w_ac", kSetBlock);
    g_PhaseMode = 2;
    g_OutputModeIdx = 2;
    PaintAs("set_values_1p3w_dc", kSetBlock);
}

TEST(RoundTo5Digits, CutsToFiveSignificantDigitsKeepingTheSign) {
    const std::pair<int32_t, int32_t> cuts[] = {{123456, 123450},   {-123456, -123450}, {99999, 99999},
                                                {-99999, -99999},   {100009, 100000},   {999999, 999990},
                                                {1000099, 1000000}, {-1234567, -1234500}, {INT32_MIN, INT32_MIN + 48}};
    for (const auto& [value, cut] : cuts)
        EXPECT_EQ(RoundTo5Digits(value), cut) << value;
}

// The block on the screen: letters, "TOTAL" columns and the six cells.
constexpr GUI_BOX kPowerBlock{40, 346, 499, 464};

class TotalPower : public HomeCells {
  protected:
    void SetUp() override {
        HomeCells::SetUp();
        Make(home::kWinPowerLabels, body_, 40, 318, 400, 119, HomePaint_PowerLabels);
        Make(home::kWinTotalLeft, body_, 61, 323, 70, 108, HomePaint_TotalLabels);
        Make(home::kWinTotalRight, body_, 310, 323, 70, 108, HomePaint_TotalLabels);
        const int x[6] = {115, 115, 115, 365, 365, 365}, y[6] = {322, 364, 406, 322, 364, 406};
        for (int k = 0; k < 6; ++k)
            Make(home::kWinPowerCell0 + k, body_, x[k], y[k], 135, 27, HomePaint_PowerCell);
    }
    static void Totals(float v, float i, float p, float s, float q, float pf) {
        g_MeasLive[0].Set(kMfVrmsTotal, v);
        g_MeasLive[0].Set(kMfIrmsTotal, i);
        g_MeasLive[0].Set(kMfPowerTotal, p);
        g_MeasLive[0].Set(kMfApparentTotal, s);
        g_MeasLive[0].Set(kMfReactiveTotal, q);
        g_MeasLive[0].Set(kMfPFTotal, pf);
    }
};

// The formats and kilo units of the totals: a small negative power shows 0, beyond -0.06 the sign
// stays; 9999.6 var is 10.00 Kvar; the power factor's decimals follow its size.
TEST_F(TotalPower, FormatsAndKiloUnits) {
    struct Case {
        float v, i, p, s, q, pf;
        const char* golden;
    };
    const Case cases[] = {
        {230.5f, 1000.0f, -0.05f, 20000.0f, 500.0f, 0.5f, "total_power_small_negative"},
        {0.0f, 0.0f, 12345.0f, 9999.4f, 9999.6f, 100.0f, "total_power_kilo"},
        {0.0f, 0.0f, -0.07f, 0.0f, 0.0f, 1000.0f, "total_power_negative"},
        {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 99.5f, "total_power_pf"},
    };
    for (const Case& c : cases) {
        Totals(c.v, c.i, c.p, c.s, c.q, c.pf);
        PaintAs(c.golden, kPowerBlock);
    }
}

// Held values grey; the letters and the "TOTAL" columns stay white.
TEST_F(TotalPower, HeldValuesAreGrey) {
    Totals(230.0f, 1.0f, 230.0f, 230.0f, 0.0f, 1.0f);
    g_ParamFlags = core::kFlagMeterHold;
    PaintAs("total_power_held", kPowerBlock);
}

class SoftKeys : public HomeCells {
  protected:
    void SetUp() override {
        HomeCells::SetUp();
        WM_HWINDOW column = Make(home::kWinSoftKeyColumn, root_, 720, 0, 80, 480, homecells::Black);
        for (int k = 0; k < 8; ++k)
            Make(home::kWinSoftKey0 + k, column, 0, 60 * k, 80, 60, HomeSoftKey_Paint);
    }
    void ExpectKeys(const char* golden) { PaintAs(golden, GUI_BOX{720, 0, 799, 479}); }
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
