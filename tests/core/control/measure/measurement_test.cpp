// The measurement chain from the simulated stage's registers to the getters' texts: acquisition,
// averaging, publication and formatting.
#include "core/control/measure/measurement.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>

#include "core/control/calibration/calibration.h"
#include "core/control/measure/meas_average.h"
#include "core/control/measure/meas_getters.h"
#include "core/control/measure/meas_records.h"
#include "core/system/util/format_number.h"
#include "tests/core/control/measure/meas_fixture.h"

using namespace test;

namespace {

class Measurement : public CtrlTest {
  protected:
    void SetUp() override {
        for (int i = 0; i < 3; ++i)  // the objects' start steps; from now on every second call publishes
            Meas_Service();
    }
    static void Publish(int n = 1) {
        for (int i = 0; i < 2 * n; ++i)
            Meas_Service();
    }
    static float Live(int record, int field) { return g_MeasLive[record].Get(field); }
    static void Reg(uint16_t reg, float v) { Stage().SetReadFloat(reg, 0, v); }
};

using Getter = std::function<float(char*, const char**)>;
struct Shown {
    const char* what;
    Getter get;
    const char* text;
    const char* unit;
};

void ExpectShown(const Shown& s) {
    char text[kNumberTextSize] = "";
    const char* unit = "untouched";
    s.get(text, &unit);
    EXPECT_STREQ(text, s.text) << s.what;
    EXPECT_STREQ(unit, s.unit) << s.what;
}

// 100 V SIN into 10 ohm on each phase of 3P4W: what the panel shows.
TEST_F(Measurement, LoadedThreePhaseOutputReadsAsItsPhysics) {
    ASSERT_TRUE(StartLoadedOutput(100.0f, 10.0f));
    const Shown rows[] = {
        {"Vrms", [](char* t, const char** u) { return MeasGetVrms(t, u, 0, 0); }, "100.0", "rms"},
        {"Vrms long", [](char* t, const char** u) { return MeasGetVrms(t, u, 2, 1); }, "100.0", "Vrms"},
        {"Irms", [](char* t, const char** u) { return MeasGetIrms(t, u, 1, 0); }, "10.00", "rms"},
        {"P", [](char* t, const char** u) { return MeasGetPower(t, u, 0, 0, 0); }, "1000", "W"},
        {"PF", [](char* t, const char** u) { return MeasGetPF(t, u, 0, 0); }, "1.000", ""},
        {"CF", [](char* t, const char** u) { return MeasGetCF(t, u, 0, 0); }, "1.41", ""},
        {"line Vrms", [](char* t, const char** u) { return MeasGetVllRms(t, u, 0, 0); }, "173.2", "rms"},
        {"line Vavg", [](char* t, const char** u) { return MeasGetVllAvg(t, u, 1, 0); }, "+0.00", "V23"},
        {"Vmax", [](char* t, const char** u) { return MeasGetVmax(t, u, 0, 0); }, "+141.4", "Vpk"},
        {"Imin", [](char* t, const char** u) { return MeasGetImin(t, u, 0, 0); }, "-14.14", "Apk"},
        // Outside the SYNC modes the frequency is not shown.
        {"freq", [](char* t, const char** u) { return MeasGetFreq(t, u, 0, 0); }, "----", "Hz"},
    };
    for (const Shown& s : rows)
        ExpectShown(s);
    EXPECT_FLOAT_EQ(MeasGetPowerTotal(nullptr, nullptr, 0, 0), 3000.0f);
    EXPECT_NEAR(MeasGetFreq(nullptr, nullptr, 0, 2), 50.0f, 0.1f) << "a remote query reads the played 50 Hz";
    EXPECT_FLOAT_EQ(Live(0, kMfFreq), 50.0f);
    EXPECT_FALSE(Stage().Stored(2085, 0) & (1u << 5));

    // A phase power of 12 kW is shown in kilowatts; with base 1 the getter still gives watts.
    Reg(2142, 12000.0f);
    ServicePasses(120);
    ExpectShown({"P kW", [](char* t, const char** u) { return MeasGetPower(t, u, 0, 0, 0); }, "12.00", "KW"});
    EXPECT_FLOAT_EQ(MeasGetPower(nullptr, nullptr, 0, 2, 1), 12000.0f);

    // Output off: every reading is 0 and the THD is not available.
    SetOutputOnOff(0);
    ServicePasses(120);
    ExpectShown({"THD off", [](char* t, const char** u) { return MeasGetThdV(t, u, 0, 0); }, "----", "%"});
    ExpectShown({"Irms off", [](char* t, const char** u) { return MeasGetIrms(t, u, 0, 0); }, "0.00", "rms"});
}

// The stage holds the current at the limit, lowers the voltage with it and sets output status bit 5.
TEST_F(Measurement, CurrentLimitHoldsTheCurrent) {
    ASSERT_TRUE(StartLoadedOutput(100.0f, 1.0f));
    const float limit = static_cast<float>(GetCurrLimit(0)) / 100.0f;
    ASSERT_LT(limit, 100.0f);
    EXPECT_NEAR(Live(0, kMfIrms), limit, limit * 1e-4f);
    EXPECT_NEAR(Live(0, kMfVrms), limit * 1.0f, limit * 1e-4f);
    EXPECT_TRUE(BusReg_GetOutputStatus() & (1u << 5));
}

// Count 0 or 1 passes every value; N >= 2 takes every fifth value; line and total rows stay raw.
TEST_F(Measurement, AveragingOfThePhaseRows) {
    struct Case {
        int32_t count;
        float first, then;
        int publishes;
        float expected;
    };
    const Case cases[] = {
        {0, 10.0f, 20.0f, 1, 20.0f},
        {1, 10.0f, 20.0f, 1, 20.0f},
        {4, 10.0f, 20.0f, 3, 10.0f},   // the first value fills the ring; no push yet
        {4, 10.0f, 20.0f, 4, 12.5f},   // the fifth value (counting the first) is pushed
        {4, 10.0f, 20.0f, 19, 20.0f},  // four pushes of a constant: exactly that constant
        {4, 10.0f, std::numeric_limits<float>::quiet_NaN(), 19, 0.0f},
        {2, -3.25f, 12.5f, 9, 12.5f},
    };
    for (const Case& c : cases) {
        core::MeasAvgClearAll();
        Reg(2128, c.first);
        Reg(2131, c.first);  // row 3, L1-L2
        Reg(2134, c.first);  // row 6, the total
        MeasAvg_ResetAll(c.count);
        Publish();
        EXPECT_EQ(Live(0, kMfVrms), c.first) << c.count;
        Reg(2128, c.then);
        Reg(2131, c.then);
        Reg(2134, c.then);
        Publish(c.publishes);
        EXPECT_EQ(Live(0, kMfVrms), c.expected) << c.count << " after " << c.publishes;
        EXPECT_EQ(Live(0, kMfVrmsRaw), std::isnan(c.then) ? 0.0f : c.then);
        if (!std::isnan(c.then)) {
            EXPECT_EQ(Live(3, kMfVrms), c.then);
            EXPECT_EQ(Live(6, kMfVrms), c.then);
        }
    }
}

// A sum formed in single precision kept the first value's rounding for good.
TEST_F(Measurement, RefilledAverageForgetsItsFirstValueCompletely) {
    Reg(2128, 9.999999f);
    MeasAvg_ResetAll(7);
    Publish();
    Reg(2128, 0.0f);
    Publish(5 * 7);
    EXPECT_EQ(Live(0, kMfVrms), 0.0f);
}

TEST_F(Measurement, CountAboveTheRingAveragesOverTheRing) {
    MeasAvg_ResetAll(300);
    MeasAvg_Update(kAvgVrms, 0, 10.0f);
    float avg = 0.0f;
    for (int call = 2; call <= 5 * 255; ++call)
        avg = MeasAvg_Update(kAvgVrms, 0, 20.0f);
    EXPECT_FLOAT_EQ(avg, (10.0f + 255 * 20.0f) / 256);  // 255 pushes
    for (int call = 0; call < 5; ++call)
        avg = MeasAvg_Update(kAvgVrms, 0, 20.0f);
    EXPECT_EQ(avg, 20.0f);
}

// A reading beyond the ring's 64-bit samples is held at their bound: no wrap, no overflowing sum.
TEST_F(Measurement, AveragesOfHugeReadingsKeepTheirSign) {
    for (float huge : {1.0e13f, -1.0e13f, 3.0e38f}) {
        MeasAvg_ResetAll(256);
        float avg = MeasAvg_Update(kAvgVrms, 0, huge);
        for (int call = 0; call < 5 * 256; ++call)
            avg = MeasAvg_Update(kAvgVrms, 0, huge);
        EXPECT_GT(std::fabs(avg), 1.0e10f) << huge;
        EXPECT_EQ(avg > 0.0f, huge > 0.0f) << huge;
        avg = MeasAvg_Update(kAvgIrms, 0, 1.0f);
    }
}

// No auxiliary value where the stage has none; 1P2W shows the total registers in record 0.
TEST_F(Measurement, FieldsComeFromTheirOwnRegisters) {
    Reg(2232, 77.0f);   // voltage peak hold, total
    Reg(2226, 3.0f);    // auxiliary value of L1
    Reg(2128, 5.0f);    // Vrms L1
    Reg(2184, -6.0f);   // Vavg L1: more than the rms, as readings taken apart can be
    Reg(2134, 123.0f);  // Vrms total
    Publish();
    MeasDispCacheRefresh();
    EXPECT_EQ(Live(6, kMfVpkHold), 77.0f);
    EXPECT_EQ(Live(6, kMfAux), 0.0f);
    EXPECT_EQ(Live(0, kMfAux), 3.0f);
    EXPECT_EQ(MeasGetVac(nullptr, nullptr, 0, 2), 0.0f);
    EXPECT_EQ(Live(0, kMfVrms), 5.0f);
    g_PhaseMode = 1;
    Publish();
    EXPECT_EQ(Live(0, kMfVrms), 123.0f);
    EXPECT_EQ(Live(0, kMfVpkHold), 77.0f);
}

TEST_F(Measurement, CalibrationMeasuringKeepsTheRecords) {
    Reg(2128, 5.0f);
    Publish();
    g_CalState.measuring = 1;
    Reg(2128, 8.0f);
    Publish(2);
    EXPECT_EQ(Live(0, kMfVrms), 5.0f);
    EXPECT_EQ(Val(g_MeterRows[0].vrms), 8.0f);
    g_CalState.measuring = 0;
}

TEST(MeasDecimals, FollowTheMagnitude) {
    struct Case {
        int mode, def;
        float value;
        int decimals;
    };
    const Case cases[] = {
        {0, 2, 230.4f, 1},  {0, 2, 1000.0f, 0},  {0, 2, -150.0f, 1}, {1, 2, -1500.0f, 0},
        {0, 2, 99.99f, 2},  {0, 3, -0.5f, 3},    {0, 3, -10.0f, 2},  {0, 3, -999.95f, 0},
        {0, 1, 999.94f, 1}, {0, 1, -999.95f, 0}, {2, 2, 1000.0f, 2}, {0, 0, 5000.0f, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MeasDecimals(c.mode, c.def, c.value), c.decimals) << c.value << " default " << c.def;
}

TEST(FormatNumber, PlusSignAndSmallNegatives) {
    struct Case {
        int plus, decimals;
        const char* unit;
        float value;
        const char* text;
    };
    const Case cases[] = {
        {1, 2, nullptr, -0.004f, "+0.00"},  {1, 2, nullptr, 1.5f, "+1.50"}, {1, 2, nullptr, -0.02f, "-0.02"},
        {0, 2, nullptr, -0.004f, "-0.00"},  {0, 7, "V", 1.0f, "1.00000 V"}, {0, 0, "", 12.4f, "12 "},
        {0, 4, nullptr, -3.4e38f, nullptr},
    };
    for (const Case& c : cases) {
        char out[kNumberTextSize];
        EXPECT_EQ(FormatNumber(c.plus, out, c.decimals, c.unit, c.value), 0);
        if (c.text != nullptr) {
            EXPECT_STREQ(out, c.text);
        }
        EXPECT_LT(std::strlen(out), kNumberTextSize);
    }
    EXPECT_EQ(FormatNumber(0, nullptr, 2, nullptr, 1.0f), 1);
}

}  // namespace
