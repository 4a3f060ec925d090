// Harmonic analysis of the simulated stage's capture: one period in 1024 samples per phase, read over the
// register bus and transformed, with the output at 50 Hz in AC-INT.
#include "core/control/measure/harmonics.h"

#include <bit>
#include <string>

#include "core/control/measure/meas_getters.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/links/parallel_link.h"
#include "core/system/util/format_number.h"
#include "tests/core/control/measure/meas_fixture.h"

using namespace test;

namespace {

class Harmonics : public CtrlTest {
  protected:
    // Passes until an analysis of both kinds is complete (the task holds after it).
    static void Analyse() {
        g_HarmCountdown = 0;
        ServicePasses(250);  // more than one capture, two reads of 21 passes and the hold
    }
    static float V(int phase, int k) { return g_HarmResult[phase].VPct[k].load(); }
    static std::string ThdText(int phase) {
        char text[kNumberTextSize] = "";
        const char* unit = nullptr;
        MeasGetThdV(text, &unit, phase, 0);
        return text;
    }
};

// A third harmonic of 10 %, in either format.
TEST_F(Harmonics, AThirdHarmonicInBothFormats) {
    struct Case {
        int32_t format;  // 0 IEC, 1 CSA
        float pct1, pct3, tolerance;
    };
    const Case cases[] = {
        {0, 100.0f, 10.0f, 0.2f},
        {1, 99.50f, 9.95f, 0.05f},
    };
    for (const Case& c : cases) {
        Rebuild();
        Stage().SetCaptureHarmonic(3, 10.0f);
        paramPutValue(kParamHarmMode, c.format, 0);
        ASSERT_TRUE(StartLoadedOutput(100.0f, 10.0f));
        Analyse();
        for (int p = 0; p < 3; ++p) {
            const HarmResult& h = g_HarmResult[p];
            EXPECT_NEAR(V(p, 1), c.pct1, c.tolerance) << "format " << c.format;
            EXPECT_NEAR(V(p, 3), c.pct3, c.tolerance) << "format " << c.format;
            EXPECT_EQ(h.VInvalid.load(), 0u);
            EXPECT_EQ(h.IInvalid.load(), 0u);
        }
        EXPECT_NE(ThdText(0), "----");
    }
}

// Each model family counts its capture in its own units, in either range: the 4.5 kVA units (model types 1
// and 3-6) and the 6 kVA units (2 and 7-11). Above 222.6 V rms the low range's counts would clip: the high
// range's units keep a sine pure.
TEST_F(Harmonics, EachFamilyAndRangeCountsInItsOwnUnits) {
    const struct {
        uint32_t model, vaClass;
        float volts;
        int32_t range;  // 0 100 V, 1 200 V
    } cases[] = {{1, 1, 100.0f, 0}, {1, 1, 230.0f, 1}, {1, 1, 300.0f, 1}, {2, 2, 100.0f, 0},
                 {2, 2, 230.0f, 1}, {4, 1, 230.0f, 1}, {9, 2, 100.0f, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "model " << c.model << ", " << c.volts << " V");
        Rebuild(c.model);
        Stage().SetVaClass(c.vaClass);
        Stage().SetCaptureHarmonic(3, 0.0f);
        g_OutputModeIdx = 1;  // AC-INT, whose range the records take
        SetVoltRange(c.range);
        ASSERT_TRUE(StartLoadedOutput(c.volts, 100.0f));
        EXPECT_EQ((core::g_OutputStatusMirror.load() & 2u) != 0, c.range == 1) << "the stage's range";
        Analyse();
        for (int p = 0; p < 3; ++p) {
            const HarmResult& h = g_HarmResult[p];
            EXPECT_NEAR(h.VMag[1].load(), c.volts, 0.005f * c.volts) << "L" << p + 1;
            EXPECT_LT(V(p, 0), 0.1f) << "THD of a pure sine, L" << p + 1;
            EXPECT_NEAR(h.IMag[1].load(), c.volts / 100.0f, 0.02f) << "L" << p + 1;
        }
    }
}

// Percentages stop at 999.9; a fundamental below the threshold makes the kind invalid.
TEST_F(Harmonics, PercentCapAndFundamentalBelowThreshold) {
    Stage().SetCaptureHarmonic(3, 5000.0f);
    ASSERT_TRUE(StartLoadedOutput(100.0f, 10.0f));
    Analyse();
    EXPECT_EQ(V(0, 3), 999.9f);
    EXPECT_EQ(V(0, 0), 999.9f);

    Rebuild();
    Stage().SetCaptureHarmonic(3, 0.0f);
    ASSERT_TRUE(StartLoadedOutput(0.3f, 10.0f));
    Analyse();
    for (int k = 0; k <= kHarmOrders; ++k)
        ASSERT_EQ(V(0, k), 0.0f) << k;
    EXPECT_EQ(g_HarmResult[0].VInvalid.load(), 1u);
    EXPECT_EQ(g_HarmResult[0].IInvalid.load(), 1u);
    EXPECT_EQ(ThdText(0), "----");
}

TEST_F(Harmonics, NoStaleTablesAfterAFrequencyChangeOrOutputOff) {
    ASSERT_TRUE(StartLoadedOutput(100.0f, 10.0f));
    Analyse();
    ASSERT_NEAR(V(0, 1), 100.0f, 0.05f);
    // Only the phases set to 50.00 or 60.00 Hz are analysed.
    const struct {
        int32_t freq[3];
        uint16_t valid;
    } sets[] = {{{5000, 5000, 5000}, 7}, {{6000, 5500, 6000}, 5}, {{4999, 6000, 5001}, 2}};
    for (const auto& set : sets) {
        for (int p = 0; p < 3; ++p)
            SetFrequencyPhase(set.freq[p], p);
        Analyse();
        EXPECT_EQ(g_HarmValid.load(), set.valid) << set.freq[0] << " " << set.freq[1] << " " << set.freq[2];
    }
    for (int p = 0; p < 3; ++p)
        SetFrequencyPhase(5500, p);
    Analyse();
    EXPECT_EQ(g_HarmResult[0].VInvalid.load(), 1u);
    EXPECT_EQ(V(0, 1), 0.0f);
    EXPECT_EQ(g_HarmValid.load(), 0u);
    // Still capturing (AC-INT, output on): the screens see analysis active, though no phase is analysed.
    EXPECT_NE(g_ParamFlags.load() & core::kFlagHarmActive, 0u);
    SetOutputOnOff(0);
    ServicePasses(5);
    EXPECT_EQ(g_ParamFlags.load() & core::kFlagHarmActive, 0u);
    EXPECT_EQ(g_HarmResult[0].IInvalid.load(), 1u);
    EXPECT_EQ(g_HarmResult[0].IMag[1].load(), 0.0f);
    // On again at 50 Hz: a new capture is armed and analysed.
    for (int p = 0; p < 3; ++p)
        SetFrequencyPhase(5000, p);
    SetOutputOnOff(1);
    Analyse();
    EXPECT_NEAR(V(0, 1), 100.0f, 0.05f);
}

// Registers 3-5 hold the system's capture.
TEST_F(Harmonics, ParallelMasterAnalysesTheSystemCapture) {
    struct Case {
        uint32_t active;
        int32_t position, units;
        uint16_t capture;
        float amperes;
    };
    const Case cases[] = {{0, 1, 3, 0, 10.0f}, {1, 1, 3, 3, 30.0f}, {1, 0, 3, 0, 10.0f}};
    ASSERT_TRUE(StartLoadedOutput(100.0f, 10.0f));
    for (const Case& c : cases) {
        SetParallelPosition(c.position);
        SetParallelNumber(c.units);
        g_ParallelActive = c.active;
        ClearTrace();
        Analyse();
        bool own = false, system = false;
        for (const plat::BusTransfer& t : Stage().Trace()) {
            own |= !t.write && t.reg < 3;
            system |= !t.write && t.reg >= 3 && t.reg < 6;
        }
        EXPECT_EQ(system, c.capture == 3) << c.active << " position " << c.position;
        EXPECT_EQ(own, c.capture == 0) << c.active << " position " << c.position;
        EXPECT_NEAR(g_HarmResult[1].IMag[1].load(), c.amperes, 0.05f)
            << c.active << " position " << c.position;
    }
}

// 1P2W: three modules of 10 A feed the one output; the tables of L2 and L3 stay invalid.
TEST_F(Harmonics, SinglePhaseWiringSumsThePhaseCurrents) {
    ASSERT_TRUE(StartLoadedOutput(100.0f, 10.0f));
    Analyse();
    ASSERT_EQ(g_HarmResult[1].VInvalid.load(), 0u);
    SetPhaseMode(1);
    // The range moves to its 1P2W code, as a wiring change does: the output's current limit is the one
    // output's, which the 30 A stay below.
    SetVoltRange(GetVoltRangeCode());
    ServicePasses(50);  // the wiring's rewrite and its settling
    Analyse();
    EXPECT_NEAR(g_HarmResult[0].VMag[1].load(), 100.0f, 0.5f);
    EXPECT_NEAR(g_HarmResult[0].IMag[1].load(), 30.0f, 0.15f);
    EXPECT_EQ(g_HarmResult[1].VInvalid.load(), 1u);
    EXPECT_EQ(g_HarmResult[2].IInvalid.load(), 1u);
}

// 1P2W, a case at 60 Hz, then the output's frequency to 400 Hz: its lists read 0 from the next pass on,
// whatever the task was doing (holding after an analysis, reading a capture), and stay 0 though the hidden
// L2 and L3 records still say 60 Hz (they feed no output of their own).
TEST_F(Harmonics, SinglePhaseWiringListsReadZeroOnceTheOutputLeaves50Or60Hz) {
    ASSERT_TRUE(StartLoadedOutput(100.0f, 10.0f));
    SetPhaseMode(1);
    SetVoltRange(GetVoltRangeCode());
    ServicePasses(50);
    // The hold after the analysis, the reads of the next one; the output alone or every record to 400 Hz.
    for (const auto& [passesBefore, lastPhase] : {std::pair{0, 0}, {10, 0}, {30, 0}, {0, 2}, {30, 2}}) {
        SCOPED_TRACE(std::to_string(passesBefore) + " passes, to L" + std::to_string(lastPhase + 1));
        for (int p = 0; p < 3; ++p)
            SetFrequencyPhase(6000, p);
        Analyse();
        ASSERT_NEAR(g_HarmResult[0].VMag[1].load(), 100.0f, 0.5f);
        g_HarmCountdown = 0;
        ServicePasses(passesBefore);
        for (int p = 0; p <= lastPhase; ++p)
            SetFrequencyPhase(40000, p);
        ServicePasses(1);
        for (const auto& list : {g_HarmResult[0].VMag, g_HarmResult[0].VPct, g_HarmResult[0].IMag,
                                 g_HarmResult[0].IPct})
            for (int k = 0; k <= 3; ++k)
                EXPECT_EQ(list[k].load(), 0.0f) << k;
        EXPECT_EQ(g_HarmValid.load(), 0u);
        Analyse();
        EXPECT_EQ(g_HarmResult[0].VMag[1].load(), 0.0f);
        EXPECT_EQ(g_HarmResult[0].IPct[0].load(), 0.0f);
        EXPECT_EQ(g_HarmResult[0].VInvalid.load(), 1u);
        EXPECT_EQ(g_HarmValid.load(), 0u);
    }
}

}  // namespace
