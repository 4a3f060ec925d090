// The set-value block on the framebuffer: AC voltage, DC voltage and frequency of L1-L3 in cells whose
// value ends at x 90 (the unit starts there), dashes where the output mode or the wiring lacks the
// setting, the row labels and the rounded frames; and the five-digit cut of large settings.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "tests/screens/output/home_cells_fixture.h"

namespace {

using homecells::HomeCells;

constexpr int kColX[3] = {50, 219, 388};
constexpr int kRowY[3] = {316, 358, 400};
constexpr char kValueFont[] = "1 0xFFFF Font36a", kUnitFont[] = "0 0xFFE0 Font36b";

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

TEST_F(SetValues, DecimalsFollowTheSizeOfTheValue) {
    Put(kParamAcv, 0, 9999);
    Put(kParamAcv, 1, 10000);
    Put(kParamAcv, 2, 0);
    Freq(0, 99999);
    Freq(1, 100000);
    Freq(2, 5000);
    // {column, row, text, its style}
    using Cells = std::vector<std::tuple<int, int, const char*, const char*>>;
    const auto expect = [this](const Cells& cells) {
        Paint();
        for (const auto& [col, row, text, style] : cells)
            EXPECT_EQ(At(X(col), Y(row), text), style) << text << "\n" << text_;
    };
    expect({{0, 0, "99.99", kValueFont}, {1, 0, "100.0", kValueFont}, {2, 0, "0.00", kValueFont},
            {0, 0, " Vrms", kUnitFont}, {0, 2, "999.99", kValueFont}, {1, 2, "1000.0", kValueFont},
            {2, 2, "50.00", kValueFont}, {2, 2, "  Hz", kUnitFont}});
    g_OutputModeIdx = 2;  // DC-INT: the DC voltage, one decimal from 100 V either way
    Put(kParamDcv2, 0, -9999);
    Put(kParamDcv2, 1, -10000);
    Put(kParamDcv2, 2, 10000);
    expect({{0, 1, "-99.99", kValueFont}, {1, 1, "-100.0", kValueFont}, {2, 1, "100.0", kValueFont},
            {2, 1, "  Vdc", kUnitFont}});
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

TEST_F(SetValues, DashesWhereTheModeOrTheWiringLacksTheSetting) {
    g_PhaseMode = 1;  // 1P2W: L1 only
    Paint();
    for (int col : {1, 2}) {
        EXPECT_EQ(At(X(col), Y(0), " - - - - - "), kValueFont) << col << text_;
        EXPECT_EQ(At(X(col), Y(2), "- - - - - "), kValueFont) << col;
    }
    EXPECT_EQ(At(X(0), Y(0), "0.00"), kValueFont);
    EXPECT_EQ(At(X(0), Y(1), " - - - - - "), kValueFont) << "AC-INT has no DC voltage";
    EXPECT_EQ(At(X(0), Y(1), "  Vdc"), "") << "and no unit";

    g_PhaseMode = 2;  // 1P3W: L1 and L2
    g_OutputModeIdx = 2;
    Paint();
    EXPECT_EQ(At(X(1), Y(1), "0.00"), kValueFont) << text_;
    EXPECT_EQ(At(X(2), Y(1), " - - - - - "), kValueFont);
    EXPECT_EQ(At(X(0), Y(0), " - - - - - "), kValueFont) << "DC-INT has no AC voltage";
    EXPECT_EQ(At(X(0), Y(2), "- - - - - "), kValueFont) << "nor a frequency";
}

TEST_F(SetValues, LabelsAndFrames) {
    Paint();
    for (const auto& [y, label] : {std::pair{15, " ACV"}, {57, " DCV"}, {99, "FREQ"}})
        EXPECT_EQ(At(7, 348 + y, label), "12 0xFFFF Font16a") << label << text_;
    // Frame (x0, y0) of the window at (45, 341): white rim, black inside, rounded corners.
    for (int x0 : {45, 45 + 169, 45 + 338})
        for (int y0 : {341, 341 + 42, 341 + 84}) {
            SCOPED_TRACE(testing::Message() << "frame at " << x0 << "," << y0);
            EXPECT_EQ(Px(x0 + 64, y0 + 2), 0xFFFF) << "top rim";
            EXPECT_EQ(Px(x0 + 64, y0 + 37), 0xFFFF) << "bottom rim";
            EXPECT_EQ(Px(x0, y0 + 20), 0xFFFF) << "left rim";
            EXPECT_EQ(Px(x0 + 127, y0 + 20), 0xFFFF) << "right rim";
            EXPECT_EQ(Px(x0, y0 + 2), 0) << "rounded corner";
            EXPECT_EQ(Px(x0 + 64, y0 + 1), 0) << "above the frame";
        }
    // Inside the first frame and outside the cells: the black face.
    EXPECT_EQ(Px(46, 341 + 20), 0);
    EXPECT_EQ(Px(45 + 64, 341 + 3), 0);
    EXPECT_EQ(Px(45 + 126, 341 + 20), 0);
}

TEST(RoundTo5Digits, CutsToFiveSignificantDigitsKeepingTheSign) {
    const std::pair<int32_t, int32_t> cuts[] = {{123456, 123450},   {-123456, -123450}, {99999, 99999},
                                                {-99999, -99999},   {100009, 100000},   {999999, 999990},
                                                {1000099, 1000000}, {-1234567, -1234500}, {INT32_MIN, INT32_MIN + 48}};
    for (const auto& [value, cut] : cuts)
        EXPECT_EQ(RoundTo5Digits(value), cut) << value;
}

}  // namespace
