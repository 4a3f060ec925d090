// The total-power block on the framebuffer: the six totals with their formats and kilo units (value
// ending at x 110 of the cell), grey while the meter is held, the letters and the "TOTAL" columns.
#include <gtest/gtest.h>

#include <tuple>

#include "tests/screens/output/home_cells_fixture.h"

namespace {

using homecells::HomeCells;

constexpr char kValueFont[] = "1 0xFFFF Font27b", kUnitFont[] = "0 0xFFE0 Font27a";
// Screen anchors of the cells' values: V, A, W at x 115, VA, var, PF at x 365 (cell x + 110).
constexpr int kLeftX = 225, kRightX = 475, kY[3] = {350, 392, 434};

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

TEST_F(TotalPower, FormatsAndKiloUnits) {
    struct Case {
        float v, i, p, s, q, pf;
        // Value and unit of V, A, W (left) and VA, var, PF (right); "" where not looked at.
        const char* shown[6][2];
    };
    const Case cases[] = {
        {230.5f, 1000.0f, -0.05f, 20000.0f, 500.0f, 0.5f,  // a small negative power is 0
         {{"230.50", " V"}, {"1000.0", " A"}, {"0.0", " W"},
          {"20.00", " KVA"}, {"500.0", " var"}, {"0.500", ""}}},
        {0.0f, 0.0f, 12345.0f, 9999.4f, 9999.6f, 100.0f,
         {{"", ""}, {"", ""}, {"12.35", " KW"}, {"9999.4", " VA"}, {"10.00", " Kvar"}, {"100.00", ""}}},
        {0.0f, 0.0f, -0.07f, 0.0f, 0.0f, 1000.0f,  // beyond -0.06 the sign stays
         {{"", ""}, {"", ""}, {"-0.1", ""}, {"", ""}, {"", ""}, {"1000.0", ""}}},
        {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 99.5f,
         {{"", ""}, {"", ""}, {"", ""}, {"", ""}, {"", ""}, {"99.500", ""}}},
    };
    for (const Case& c : cases) {
        Totals(c.v, c.i, c.p, c.s, c.q, c.pf);
        Paint();
        for (int k = 0; k < 6; ++k) {
            const int x = k < 3 ? kLeftX : kRightX, y = kY[k % 3];
            if (*c.shown[k][0]) {
                EXPECT_EQ(At(x, y, c.shown[k][0]), kValueFont) << k << text_;
            }
            if (*c.shown[k][1]) {
                EXPECT_EQ(At(x, y, c.shown[k][1]), kUnitFont) << k;
            }
        }
    }
}

TEST_F(TotalPower, HeldValuesAreGrey) {
    Totals(230.0f, 1.0f, 230.0f, 230.0f, 0.0f, 1.0f);
    g_ParamFlags = core::kFlagMeterHold;
    Paint();
    EXPECT_EQ(At(kLeftX, kY[0], "230.00"), "1 0xDEFB Font27b") << text_;
    EXPECT_EQ(At(kRightX, kY[2], "1.000"), "1 0xDEFB Font27b");
}

TEST_F(TotalPower, LettersAndTotalColumns) {
    Paint();
    constexpr char kLabel[] = "12 0xFFFF Font45a";
    const std::tuple<int, int, const char*> letters[] = {
        {40, 15, "V"}, {46, 57, "I"}, {40, 99, "P"}, {286, 15, "S"}, {281, 57, "Q"}, {273, 99, "PF"}};
    for (const auto& [x, y, letter] : letters)
        EXPECT_EQ(At(x, 346 + y, letter), kLabel) << letter << text_;
    for (int x : {61, 310})
        for (int y : {17, 59, 101})
            EXPECT_EQ(At(x, 351 + y, "TOTAL"), "12 0xFFFF Font22a") << x << "," << y;
}

}  // namespace
