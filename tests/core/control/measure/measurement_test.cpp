// The measurement chain from the simulated stage's registers to the getters' texts: acquisition,
// averaging, publication and formatting.
#include "core/control/measure/measurement.h"

#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <set>
#include <string>

#include "core/control/calibration/calibration.h"
#include "core/control/measure/harmonics.h"
#include "core/control/measure/meas_average.h"
#include "core/control/measure/meas_getters.h"
#include "core/control/measure/meas_records.h"
#include "core/params/param_store.h"
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

// Every display getter as (text, unit, phase, mode); the power getters with their base.
using Get = float (*)(char*, const char**, int phase, int mode);
template <float (*F)(char*, const char**, int, int, int), int kBase>
float Based(char* text, const char** unit, int phase, int mode) {
    return F(text, unit, phase, mode, kBase);
}
constexpr int kValueOnly = 2;
// The text and the unit a getter gives; "untouched" where it leaves them.
std::pair<std::string, std::string> Show(Get get, int phase, int mode) {
    char text[kNumberTextSize] = "untouched";
    const char* unit = "untouched";
    get(text, &unit, phase, mode);
    return {text, unit};
}
using Shown = std::pair<std::string, std::string>;

// 100 V SIN into 10 ohm on each phase of 3P4W: what the panel shows.
TEST_F(Measurement, LoadedThreePhaseOutputReadsAsItsPhysics) {
    ASSERT_TRUE(StartLoadedOutput(100.0f, 10.0f));
    const struct {
        Get get;
        int phase, mode;
        Shown shown;
    } rows[] = {
        {MeasGetVrms, 0, 0, {"100.0", "rms"}},      {MeasGetVrms, 2, 1, {"100.0", "Vrms"}},
        {MeasGetIrms, 1, 0, {"10.00", "rms"}},      {Based<MeasGetPower, 0>, 0, 0, {"1000", "W"}},
        {MeasGetPF, 0, 0, {"1.000", ""}},           {MeasGetCF, 0, 0, {"1.41", ""}},
        {MeasGetVllRms, 0, 0, {"173.2", "rms"}},    {MeasGetVllAvg, 1, 0, {"+0.00", "V23"}},
        {MeasGetVmax, 0, 0, {"+141.4", "Vpk"}},     {MeasGetImin, 0, 0, {"-14.14", "Apk"}},
        {MeasGetFreq, 0, 0, {"----", "Hz"}},  // outside the SYNC modes the frequency is not shown
    };
    for (const auto& r : rows)
        EXPECT_EQ(Show(r.get, r.phase, r.mode), r.shown) << r.shown.first;
    EXPECT_FLOAT_EQ(MeasGetPowerTotal(nullptr, nullptr, 0, 0), 3000.0f);
    EXPECT_NEAR(MeasGetFreq(nullptr, nullptr, 0, 2), 50.0f, 0.1f) << "a remote query reads the played 50 Hz";
    EXPECT_FLOAT_EQ(Live(0, kMfFreq), 50.0f);
    EXPECT_FALSE(Stage().Stored(2085, 0) & (1u << 5));

    // A phase power of 12 kW is shown in kilowatts; with base 1 the getter still gives watts.
    Reg(2142, 12000.0f);
    ServicePasses(120);
    EXPECT_EQ(Show(Based<MeasGetPower, 0>, 0, 0), Shown("12.00", "KW"));
    EXPECT_FLOAT_EQ(MeasGetPower(nullptr, nullptr, 0, 2, 1), 12000.0f);

    // Output off: every reading is 0 and the THD is not available.
    SetOutputOnOff(0);
    ServicePasses(120);
    EXPECT_EQ(Show(MeasGetThdV, 0, 0), Shown("----", "%"));
    EXPECT_EQ(Show(MeasGetIrms, 0, 0), Shown("0.00", "rms"));
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
        {7, 9.999999f, 0.0f, 35, 0.0f},  // a sum formed in single precision kept the first value's rounding
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

// Readings taken apart can put the average above the rms: the AC part is then 0, not a NaN.
TEST_F(Measurement, AcPartOfAnAverageAboveTheRmsIsZero) {
    Reg(2128, 5.0f);   // Vrms L1
    Reg(2184, -6.0f);  // Vavg L1
    Publish();
    MeasDispCacheRefresh();
    EXPECT_EQ(MeasGetVac(nullptr, nullptr, 0, 2), 0.0f);
}

// Every measurement register of every row holds a value of its own; each quantity must come back from
// its own register, in its own record field, through its getter, with its register's scale.
struct Quantity {
    const char* name;
    uint32_t first;  // register of row 0; row r is first + r
    int field;
    int scale;      // 1: a float register; 1000 or 100: an integer register holding the value times that
    int lastRow;    // 6: every row; 2: the phases only
    Get get;
};
const Quantity kQuantities[] = {
    {"Vrms", 2128, 30, 1, 6, MeasGetVrms},
    {"Vavg", 2184, 31, 1, 6, MeasGetVavg},
    {"Vmax", 2149, 43, 1, 6, MeasGetVmax},
    {"Vmin", 2156, 44, 1, 6, MeasGetVmin},
    {"Irms", 2135, 34, 1, 6, MeasGetIrms},
    {"Iavg", 2191, 35, 1, 6, MeasGetIavg},
    {"Imax", 2163, 37, 1, 6, MeasGetImax},
    {"Imin", 2170, 38, 1, 6, MeasGetImin},
    {"IpkHold", 2177, 42, 1, 6, MeasGetIpkHold},
    {"VpkHold", 2229, 45, 1, 2, MeasGetVpkHold},
    {"P", 2142, 47, 1, 6, Based<MeasGetPower, 0>},
    {"S", 2198, 48, 1, 6, Based<MeasGetApparent, 0>},
    {"Q", 2205, 51, 1, 6, Based<MeasGetReactive, 0>},
    {"PF", 2212, 52, 1000, 6, MeasGetPF},
    {"CF", 2219, 53, 100, 6, MeasGetCF},
    {"Aux", 2226, 54, 1, 2, [](char*, const char**, int p, int) { return MeasGetTemperature(p); }},
};
constexpr uint32_t kVpkHoldTotal = 2232;
// The totals of record 0 are the total row (row 6) of their quantities.
struct Total {
    const char* name;
    int quantity;  // in kQuantities
    int field;
    float (*get)();
};
const Total kTotals[] = {
    {"Vrms total", 0, 55, [] { return MeasGetVrmsTotal(nullptr, nullptr, 0, 0); }},
    {"Irms total", 4, 56, [] { return MeasGetIrmsTotal(nullptr, nullptr, 0, 0); }},
    {"P total", 10, 57, [] { return MeasGetPowerTotal(nullptr, nullptr, 0, 0); }},
    {"PF total", 13, 58, [] { return MeasGetPFTotal(nullptr, nullptr, 0, 0); }},
    {"S total", 11, 59, [] { return MeasGetApparentTotal(nullptr, nullptr, 0, 0); }},
    {"Q total", 12, 60, [] { return MeasGetReactiveTotal(nullptr, nullptr, 0, 0); }},
};

// Distinct for every quantity and row, a whole number at every register scale, and below 10 so that each
// getter shows its own default decimals.
float Distinct(int quantity, int row) {
    return 1.0f + 0.5f * static_cast<float>(quantity) + 0.05f * static_cast<float>(row);
}
void PutRegister(uint32_t reg, int scale, float v) {
    if (scale == 1)
        Stage().SetReadFloat(reg, 0, v);
    else
        Stage().SetRead(reg, 0, static_cast<uint32_t>(std::lround(v * static_cast<float>(scale))));
}
uint32_t RegisterOf(const Quantity& q, int row) {
    return q.first == 2229 && row == 6 ? kVpkHoldTotal : q.first + static_cast<uint32_t>(row);
}

TEST_F(Measurement, EveryRegisterReadsIntoItsQuantity) {
    const auto fill = [](int offset) {
        for (int k = 0; k < static_cast<int>(std::size(kQuantities)); ++k) {
            const Quantity& q = kQuantities[k];
            for (int r = 0; r <= 6; ++r) {
                if (r <= q.lastRow || (q.first == 2229 && r == 6))
                    PutRegister(RegisterOf(q, r), q.scale, Distinct(k + offset, r));
            }
        }
    };
    fill(0);
    Reg(2233, 50.5f);  // the measured frequency
    // Averaging on: each refilled slot starts at its first value, so two quantities sharing a slot would
    // show one value.
    MeasAvg_ResetAll(4);
    Publish();
    MeasDispCacheRefresh();
    // Line-to-line records carry the voltages only; the phases and the total carry every quantity.
    const std::set<std::string> lineFields = {"Vrms", "Vavg", "Vmax", "Vmin"};
    for (int k = 0; k < static_cast<int>(std::size(kQuantities)); ++k) {
        const Quantity& q = kQuantities[k];
        for (int r = 0; r <= 6; ++r) {
            const bool line = r >= 3 && r <= 5;
            if (line && lineFields.count(q.name) == 0) continue;
            const bool none = r > q.lastRow && !(q.first == 2229 && r == 6);
            EXPECT_FLOAT_EQ(Live(r, q.field), none ? 0.0f : Distinct(k, r)) << q.name << " row " << r;
        }
        for (int p = 0; p < 3; ++p)
            EXPECT_FLOAT_EQ(q.get(nullptr, nullptr, p, kValueOnly), Distinct(k, p)) << q.name << p;
        EXPECT_EQ(q.get(nullptr, nullptr, -1, kValueOnly), 0.0f) << q.name << " of no phase";
        EXPECT_EQ(q.get(nullptr, nullptr, 3, kValueOnly), 0.0f) << q.name << " of no phase";
    }
    EXPECT_EQ(MeasGetVllAvg(nullptr, nullptr, 3, kValueOnly), 0.0f);
    // Base 1 asks for watts only where the text was scaled to kilowatts.
    EXPECT_FLOAT_EQ(MeasGetPower(nullptr, nullptr, 2, kValueOnly, 1), Distinct(10, 2));
    EXPECT_FLOAT_EQ(MeasGetApparent(nullptr, nullptr, 0, kValueOnly, 1), Distinct(11, 0));
    EXPECT_FLOAT_EQ(MeasGetReactive(nullptr, nullptr, 1, kValueOnly, 1), Distinct(12, 1));
    EXPECT_FLOAT_EQ(MeasGetVllRms(nullptr, nullptr, 1, kValueOnly), Distinct(0, 4));
    EXPECT_FLOAT_EQ(MeasGetVllAvg(nullptr, nullptr, 2, kValueOnly), Distinct(1, 5));
    EXPECT_FLOAT_EQ(MeasGetVllMax(nullptr, nullptr, 0, kValueOnly), Distinct(2, 3));
    EXPECT_FLOAT_EQ(MeasGetVllMin(nullptr, nullptr, 1, kValueOnly), Distinct(3, 4));
    EXPECT_FLOAT_EQ(Live(0, 32), Distinct(0, 0));  // Vrms raw
    for (const Total& t : kTotals) {
        EXPECT_FLOAT_EQ(Live(0, t.field), Distinct(t.quantity, 6)) << t.name;
        EXPECT_FLOAT_EQ(t.get(), Distinct(t.quantity, 6)) << t.name;
    }
    for (int p = 0; p < 3; ++p)
        EXPECT_FLOAT_EQ(Live(p, 61), 50.5f) << "frequency of phase " << p;
    // The shown texts of these values: the getter's default decimals, the sign where the quantity has one,
    // the short (mode 0) and long (mode 1) unit. The output is off: no frequency and no THD.
    const struct {
        const char* what;
        Get get;
        int phase;
        const char *text, *unit, *longUnit;
    } texts[] = {
        {"Vrms L2", MeasGetVrms, 1, "1.05", "rms", "Vrms"},
        {"Vavg L3", MeasGetVavg, 2, "+1.60", "V", "V"},
        {"Vmax L1", MeasGetVmax, 0, "+2.00", "Vpk", "Vpk"},
        {"Vmin L2", MeasGetVmin, 1, "+2.55", "Vpk", "Vpk"},
        {"Irms L3", MeasGetIrms, 2, "3.10", "rms", "Arms"},
        {"Iavg L1", MeasGetIavg, 0, "+3.50", "A", "A"},
        {"Imax L2", MeasGetImax, 1, "+4.05", "Apk", "Apk"},
        {"Imin L3", MeasGetImin, 2, "+4.60", "Apk", "Apk"},
        {"IpkHold L1", MeasGetIpkHold, 0, "+5.00", "Apk", "Apk"},
        {"VpkHold L2", MeasGetVpkHold, 1, "+5.55", "Vpk", "Vpk"},
        {"P L3", Based<MeasGetPower, 1>, 2, "6.1", "W", "W"},
        {"S L1", Based<MeasGetApparent, 1>, 0, "6.5", "VA", "VA"},
        {"Q L3", Based<MeasGetReactive, 1>, 2, "7.1", "var", "var"},
        {"PF L1", MeasGetPF, 0, "7.500", "", ""},
        {"CF L3", MeasGetCF, 2, "8.10", "", ""},
        {"Vrms L2-L3", MeasGetVllRms, 1, "1.20", "rms", "Vrms"},
        {"Vavg L1-L2", MeasGetVllAvg, 0, "+1.65", "V12", "V12"},
        {"Vavg L2-L3", MeasGetVllAvg, 1, "+1.70", "V23", "V23"},
        {"Vavg L3-L1", MeasGetVllAvg, 2, "+1.75", "V31", "V31"},
        {"Vmax L1-L2", MeasGetVllMax, 0, "+2.15", "pk", "pk"},
        {"Vmin L2-L3", MeasGetVllMin, 1, "+2.70", "pk", "pk"},
        {"freq L1", MeasGetFreq, 0, "----", "Hz", "Hz"},
        {"THD V L2", MeasGetThdV, 1, "----", "%", "%"},
        {"THD I L3", MeasGetThdI, 2, "----", "%", "%"},
    };
    for (const auto& row : texts) {
        EXPECT_EQ(Show(row.get, row.phase, 0), Shown(row.text, row.unit)) << row.what;
        EXPECT_EQ(Show(row.get, row.phase, 1), Shown(row.text, row.longUnit)) << row.what;
        EXPECT_EQ(Show(row.get, row.phase, kValueOnly), Shown("untouched", "untouched")) << row.what;
    }

    // 1P2W: record 0 reads the total row's registers (the auxiliary value stays L1's), and the totals
    // fields keep what they had.
    g_PhaseMode = 1;
    constexpr int kLater = 50;
    fill(kLater);
    MeasAvg_ResetAll(4);
    Publish();
    for (int k = 0; k < static_cast<int>(std::size(kQuantities)); ++k) {
        const Quantity& q = kQuantities[k];
        const int row = q.first == 2226 ? 0 : 6;
        EXPECT_FLOAT_EQ(Live(0, q.field), Distinct(k + kLater, row)) << q.name << " in 1P2W";
    }
    for (const Total& t : kTotals)
        EXPECT_FLOAT_EQ(Live(0, t.field), Distinct(t.quantity, 6)) << t.name << " in 1P2W";
}

// The frequency is shown in the synchronised modes (AC+DC-SYNC 7, AC-SYNC 8) within 10-2100 Hz only.
TEST_F(Measurement, FrequencyShownInTheSyncModesWithinItsBand) {
    struct Case {
        uint32_t mode;
        float hz;
        const char* text;
    };
    const Case cases[] = {{8, 50.0f, "50.00"},  {7, 10.0f, "10.00"}, {8, 9.99f, "----"},
                          {8, 2100.0f, "2100"}, {7, 2100.5f, "----"}, {1, 50.0f, "----"}};
    for (const Case& c : cases) {
        g_OutputModeIdx = c.mode;
        Reg(2233, c.hz);
        Publish();
        MeasDispCacheRefresh();
        EXPECT_EQ(Show(MeasGetFreq, 0, 0), Shown(c.text, "Hz")) << c.mode << " " << c.hz;
        char text[kNumberTextSize];
        const char* unit = nullptr;
        EXPECT_FLOAT_EQ(MeasGetFreq(text, &unit, 0, 0), c.mode == 1 ? 0.0f : c.hz) << c.mode << " " << c.hz;
    }
}

// Each phase's THD fields (62 voltage, 63 current) carry its own valid result in AC-INT with the output on;
// an invalid result, the output off or another mode read -0.1.
TEST_F(Measurement, ThdFieldsOfEachPhase) {
    for (int p = 0; p < 3; ++p) {
        g_HarmResult[p].VPct[0] = 1.5f + static_cast<float>(p);
        g_HarmResult[p].IPct[0] = 4.5f + static_cast<float>(p);
        g_HarmResult[p].VInvalid = p == 1 ? 1 : 0;
        g_HarmResult[p].IInvalid = p == 2 ? 1 : 0;
    }
    struct Case {
        uint32_t mode, status;
        bool shown;
    };
    for (const Case c : {Case{1, 1, true}, Case{1, 0, false}, Case{0, 1, false}}) {
        g_OutputModeIdx = c.mode;
        core::g_OutputStatusMirror = c.status;
        Publish();
        for (int p = 0; p < 3; ++p) {
            const bool v = c.shown && p != 1, i = c.shown && p != 2;
            EXPECT_FLOAT_EQ(Live(p, 62), v ? 1.5f + static_cast<float>(p) : -0.1f) << c.mode << c.status << p;
            EXPECT_FLOAT_EQ(Live(p, 63), i ? 4.5f + static_cast<float>(p) : -0.1f) << c.mode << c.status << p;
        }
    }
}

// Active power between -0.06 W and 0 reads 0, phase and total; the other powers keep their sign.
TEST_F(Measurement, SmallNegativeActivePowerIsZero) {
    Reg(2142, -0.05f);  // P L1
    Reg(2148, -0.05f);  // P total
    Reg(2198, -0.05f);  // S L1
    Reg(2143, -0.07f);  // P L2
    Publish();
    MeasDispCacheRefresh();
    EXPECT_EQ(MeasGetPower(nullptr, nullptr, 0, 2, 0), 0.0f);
    EXPECT_EQ(MeasValPowerTotal(nullptr, nullptr, 0, 0), 0.0f);
    EXPECT_FLOAT_EQ(MeasGetApparent(nullptr, nullptr, 0, 2, 0), -0.05f);
    EXPECT_FLOAT_EQ(MeasGetPower(nullptr, nullptr, 1, 2, 0), -0.07f);
}

// While calibrating, only the calibration readings (Vrms, Irms and Imax of the phases, the frequency) are
// read; the records keep what they showed.
TEST_F(Measurement, CalibrationMeasuringKeepsTheRecords) {
    Reg(2128, 5.0f);
    Publish();
    g_CalState.measuring = 1;
    for (int r = 0; r < 3; ++r) {
        Reg(static_cast<uint16_t>(2128 + r), 8.0f + r);          // Vrms
        Reg(static_cast<uint16_t>(2135 + r), 18.0f + r);         // Irms
        Reg(static_cast<uint16_t>(2163 + r), 28.0f + r);         // Imax
        Reg(static_cast<uint16_t>(2191 + r), 38.0f + r);         // Iavg: not read
    }
    Reg(2233, 55.0f);
    Publish(2);
    EXPECT_EQ(Live(0, kMfVrms), 5.0f);
    for (int r = 0; r < 3; ++r) {
        const MeterRow& m = g_MeterRows[r];
        EXPECT_EQ(Val(m.vrms), 8.0f + r) << r;
        EXPECT_EQ(Val(m.irms), 18.0f + r) << r;
        EXPECT_EQ(Val(m.imax), 28.0f + r) << r;
        EXPECT_EQ(Val(m.iavg), 0.0f) << r;
        EXPECT_EQ(Val(m.freq), 55.0f) << r;
    }
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
