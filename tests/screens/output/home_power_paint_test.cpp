// The total-power block on the framebuffer: the six totals with their formats and kilo units (value
// ending at x 110 of the cell), grey while the meter is held, the letters and the "TOTAL" columns.
#include <gtest/gtest.h>

#include "tests/screens/output/home_cells_fixture.h"

namespace {

using homecells::HomeCells;

// The block on the screen: letters, "TOTAL" columns and the six cells.
constexpr GUI_BOX kBlock{40, 346, 499, 464};

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
        Paint();
        guitest::ExpectGolden(c.golden, kBlock);
    }
}

// Held values grey; the letters and the "TOTAL" columns stay white.
TEST_F(TotalPower, HeldValuesAreGrey) {
    Totals(230.0f, 1.0f, 230.0f, 230.0f, 0.0f, 1.0f);
    g_ParamFlags = core::kFlagMeterHold;
    Paint();
    guitest::ExpectGolden("total_power_held", kBlock);
}

}  // namespace
