// The phase header and the phasor window on the framebuffer: tabs by wiring, the waveform boxes, the
// impedance and temperature texts, and the balance caption with the angles of L2 and L3.
#include <gtest/gtest.h>

#include "core/control/measure/meas_records.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/state/service_flags.h"
#include "screens/output/home/home_windows.h"
#include "tests/screens/output/home_paint_fixture.h"

namespace {

using hometest::HomePaintScreen;

constexpr int kHx = 6, kHy = 33;  // the header's screen place

class PhaseHeader : public ::testing::Test {
  protected:
    HomePaintScreen screen;
    static uint16_t At(int x, int y) { return HomePaintScreen::Pixel(kHx + x, kHy + y); }
    static uint16_t C(uint32_t rgb) { return HomePaintScreen::Rgb565(rgb); }
};

TEST_F(PhaseHeader, ThreePhaseTabsAndWaveBoxes) {
    screen.Paint(home::kWinPhaseHeader);
    EXPECT_EQ(At(10, 4), C(0xFFCA19));
    EXPECT_EQ(At(200, 30), C(0x2572D8));
    EXPECT_EQ(At(500, 4), C(0x16912C));
    EXPECT_EQ(At(170, 4), 0);  // between the tabs
    EXPECT_EQ(screen.Count("SIN"), 3);
    for (int x : {78, 247, 416})
        EXPECT_EQ(screen.TextAt(kHx + x, kHy + 9), "SIN") << x;
    EXPECT_EQ(screen.TextAt(kHx + 24, kHy + 14), "L1");
    EXPECT_EQ(screen.TextAt(kHx + 362, kHy + 15), "L3");
    // The box: its orange face inside a black rim, on the tab.
    EXPECT_EQ(At(60, 8), C(0xF77721));
    EXPECT_EQ(At(60, 7), 0);
    EXPECT_EQ(At(110, 15), C(0xFFCA19));
}

TEST_F(PhaseHeader, SinglePhaseShowsOnlyTheFirstTabAndBox) {
    g_PhaseMode.store(1);
    screen.Paint(home::kWinPhaseHeader);
    EXPECT_EQ(At(10, 4), C(0xFFCA19));
    EXPECT_EQ(At(200, 4), 0);
    EXPECT_EQ(At(500, 4), 0);
    EXPECT_EQ(screen.Count("SIN"), 1);
    EXPECT_EQ(screen.Count("L2"), 0);
    EXPECT_EQ(At(229, 8), 0);  // no L2 box
    g_PhaseMode.store(2);
    screen.Paint(home::kWinPhaseHeader);
    EXPECT_EQ(At(200, 4), C(0x2572D8));
    EXPECT_EQ(At(500, 4), 0);
    EXPECT_EQ(screen.Count("SIN"), 2);
}

TEST_F(PhaseHeader, ModeNamesImpedanceAndTemperatures) {
    g_OutputModeIdx.store(2);
    screen.Paint(home::kWinPhaseHeader);
    EXPECT_EQ(screen.Count("DC"), 3);
    g_OutputModeIdx.store(4);
    screen.Paint(home::kWinPhaseHeader);
    EXPECT_EQ(screen.Count("EXT"), 3);
    g_OutputModeIdx.store(1);
    paramPutValue(kParamOutputImpedance, 1, 0);
    paramPutValue(kParamInductanceL2, 25, 0);
    screen.Paint(home::kWinPhaseHeader);
    EXPECT_EQ(screen.TextAt(kHx + 279, kHy + 10).rfind("L:", 0), 0u);
    EXPECT_EQ(screen.TextAt(kHx + 448, kHy + 25).rfind("R:", 0), 0u);
    paramPutValue(kParamOutputImpedance, 0, 0);
    // The service display of the modules' temperatures replaces the boxes.
    g_ServiceFlags.tempDisplay.store(1);
    g_DispCache[1].Set(kMfAux, 41.3f);
    screen.Paint(home::kWinPhaseHeader);
    g_DispCache[1].Set(kMfAux, 0.0f);
    EXPECT_EQ(screen.Count("SIN"), 0);
    EXPECT_EQ(screen.TextAt(kHx + 10, kHy + 15), "Temp1 0.0");
    EXPECT_EQ(screen.TextAt(kHx + 180, kHy + 15), "Temp2 41.3");
    ASSERT_FALSE(screen.Texts().empty());
    EXPECT_EQ(screen.Texts().back().rgb, 0xFF0000u);
}

class Phasor : public PhaseHeader {
  protected:
    // The screen x of a phase's label, or -1.
    int LabelX(const char* name) const {
        for (const auto& t : screen.Texts())
            if (t.text == name) return t.x;
        return -1;
    }
};

TEST_F(Phasor, CaptionAndAnglesFollowTheBalanceMode) {
    screen.Paint(home::kWinPhasor);
    EXPECT_EQ(screen.TextAt(536 + 40, 28 + 250 + 15), "Unbalance");
    SetPhaseBalanceMode(1);
    screen.Paint(home::kWinPhasor);
    EXPECT_EQ(screen.TextAt(536 + 55, 28 + 250 + 15), "Balance");
    // Balanced 3P4W: L2 at 120 degrees, left of the centre (x 536 + 85); unbalanced at its set angle (0: on
    // the right, with L1).
    EXPECT_LT(LabelX("L2"), 536 + 85 - 30);
    SetPhaseBalanceMode(0);
    paramPutValue(kParamBalance2, 0, 0);
    screen.Paint(home::kWinPhasor);
    EXPECT_GT(LabelX("L2"), 536 + 85 + 40);
}

// 1P3W plays L2 opposite L1: its arrow points left from the diagram's centre (window 536, 250 below the
// 28-pixel status bar, diagram at 25, 55, its centre 60, 60 in, the shaft 3 pixels wide), balanced or not,
// whatever angle the store keeps for 3P4W; there is no L3.
TEST_F(Phasor, SplitPhaseDrawsL2Opposite) {
    const int cx = 536 + 25 + 60, cy = 28 + 250 + 55 + 60;
    const uint16_t l2 = HomePaintScreen::Rgb565(0x2572D8);
    g_PhaseMode.store(2);
    paramPutValue(kParamBalance2, 1200, 0);
    for (int balance : {0, 1}) {
        SCOPED_TRACE(balance);
        SetPhaseBalanceMode(balance);
        screen.Paint(home::kWinPhasor);
        // The settings panel's row windows cover most of the diagram here: the probes are where it shows.
        EXPECT_EQ(HomePaintScreen::Pixel(cx - 30, cy), l2) << "the shaft at 180 degrees";
        EXPECT_EQ(HomePaintScreen::Pixel(cx - 45, cy + 1), l2);
        EXPECT_LT(LabelX("L2"), cx - 60);
        EXPECT_EQ(LabelX("L3"), -1);
    }
    g_PhaseMode.store(0);
}

}  // namespace
