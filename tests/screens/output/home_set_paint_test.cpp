// The set-value block on the framebuffer: AC voltage, DC voltage and frequency of L1-L3 in cells whose
// value ends at x 90 (the unit starts there), dashes where the output mode or the wiring lacks the
// setting, the row labels and the rounded frames; and the five-digit cut of large settings.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "tests/screens/output/home_cells_fixture.h"

namespace {

using homecells::HomeCells;

constexpr int kColX[3] = {50, 219, 388};
constexpr int kRowY[3] = {316, 358, 400};
constexpr char kUnitFont[] = "0 0xFFE0 Font36b";
// The block on the screen: row labels, frames and cells.
constexpr GUI_BOX kBlock{7, 341, 514, 464};

class SetValues : public HomeCells {
  protected:
    void SetUp() override {
        HomeCells::SetUp();
        Make(home::kWinSetLabels, body_, 7, 320, 42, 108, HomePaint_SetLabels);
        Make(home::kWinSetFrames, body_, 45, 313, 470, 124, HomePaint_SetFrames);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                Make(home::SetCellWin(r, c), body_, kColX[c], kRowY[r], 120, 28, HomePaint_SetValueCell);
    }
    static int X(int col) { return kColX[col] + 90; }
    static int Y(int row) { return 28 + kRowY[row]; }
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
    Paint();
    guitest::ExpectGolden("set_values_ac_decimals", kBlock);
    g_OutputModeIdx = 2;  // DC-INT: the DC voltage
    Put(kParamDcv2, 0, -9999);
    Put(kParamDcv2, 1, -10000);
    Put(kParamDcv2, 2, 10000);
    Paint();
    guitest::ExpectGolden("set_values_dc_decimals", kBlock);
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
    Paint();
    guitest::ExpectGolden("set_values_1p2w_ac", kBlock);
    g_PhaseMode = 2;
    g_OutputModeIdx = 2;
    Paint();
    guitest::ExpectGolden("set_values_1p3w_dc", kBlock);
}

TEST(RoundTo5Digits, CutsToFiveSignificantDigitsKeepingTheSign) {
    const std::pair<int32_t, int32_t> cuts[] = {{123456, 123450},   {-123456, -123450}, {99999, 99999},
                                                {-99999, -99999},   {100009, 100000},   {999999, 999990},
                                                {1000099, 1000000}, {-1234567, -1234500}, {INT32_MIN, INT32_MIN + 48}};
    for (const auto& [value, cut] : cuts)
        EXPECT_EQ(RoundTo5Digits(value), cut) << value;
}

}  // namespace
