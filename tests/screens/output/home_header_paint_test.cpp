// The phase header and the phasor window on the framebuffer: tabs by wiring, the waveform boxes, the
// impedance and temperature texts, and the balance caption with the angles of L2 and L3.
#include <gtest/gtest.h>

#include "core/system/state/service_flags.h"
#include "tests/screens/output/home_cells_fixture.h"

namespace {

using homecells::HomeCells;

class PhaseHeader : public HomeCells {
  protected:
    void SetUp() override {
        HomeCells::SetUp();
        test::DefaultSettings(1);
        Make(home::kWinPhaseHeader, root_, 6, 33, 515, 35, HomePaint_PhaseHeader);
        Make(home::kWinPhasor, body_, 536, 250, 170, 190, HomePaint_Phasor);
    }
    void ExpectHeader(const char* golden) {
        PaintAs(golden, GUI_BOX{6, 33, 520, 67});
    }
    // The screen x of a phase's label, or -1.
    int LabelX(const std::string& name) const {
        int x = -1;
        screentext::AnyLine(text_, [&](const screentext::LogLine& l) {
            if (l.text == name) x = l.x;
            return l.text == name;
        });
        return x;
    }
};

// A tab and a waveform box for each phase of the wiring.
TEST_F(PhaseHeader, TabsAndWaveBoxesByWiring) {
    const char* goldens[] = {"phase_header_3p4w", "phase_header_1p2w", "phase_header_1p3w"};
    for (uint32_t wiring = 0; wiring < 3; ++wiring) {
        g_PhaseMode.store(wiring);
        ExpectHeader(goldens[wiring]);
    }
    g_PhaseMode.store(0);
}

// The mode's name in each box, the impedance in place of the box, and the service display of the
// modules' temperatures (in red) in place of the boxes.
TEST_F(PhaseHeader, ModeNamesImpedanceAndTemperatures) {
    g_OutputModeIdx.store(2);
    ExpectHeader("phase_header_dc");
    g_OutputModeIdx.store(4);
    ExpectHeader("phase_header_ext");
    g_OutputModeIdx.store(1);
    paramPutValue(kParamOutputImpedance, 1, 0);
    paramPutValue(kParamInductanceL2, 25, 0);
    ExpectHeader("phase_header_impedance");
    paramPutValue(kParamOutputImpedance, 0, 0);
    g_ServiceFlags.tempDisplay.store(1);
    g_DispCache[1].Set(kMfAux, 41.3f);
    ExpectHeader("phase_header_temperatures");
    g_DispCache[1].Set(kMfAux, 0.0f);
}

TEST_F(PhaseHeader, PhasorCaptionAndAnglesFollowTheBalanceMode) {
    Paint();
    EXPECT_EQ(TextAt(536 + 40, 28 + 250 + 15), "Unbalance");
    SetPhaseBalanceMode(1);
    Paint();
    EXPECT_EQ(TextAt(536 + 55, 28 + 250 + 15), "Balance");
    // Balanced 3P4W: L2 at 120 degrees, left of the centre (x 536 + 85); unbalanced at its set angle (0: on
    // the right, with L1).
    EXPECT_LT(LabelX("L2"), 536 + 85 - 30);
    SetPhaseBalanceMode(0);
    paramPutValue(kParamBalance2, 0, 0);
    Paint();
    EXPECT_GT(LabelX("L2"), 536 + 85 + 40);
}

// 1P3W plays L2 opposite L1: its arrow points left from the diagram's centre (window 536, 250 below the
// 28-pixel status bar, diagram at 25, 55, its centre 60, 60 in, the shaft 3 pixels wide), balanced or not,
// whatever angle the store keeps for 3P4W; there is no L3.
TEST_F(PhaseHeader, PhasorOfSplitPhaseDrawsL2Opposite) {
    const int cx = 536 + 25 + 60, cy = 28 + 250 + 55 + 60;
    const uint16_t l2 = 0x2B9A;  // 0x2572D8, each channel rounded to its bits as the display fills it
    g_PhaseMode.store(2);
    paramPutValue(kParamBalance2, 1200, 0);
    for (int balance : {0, 1}) {
        SCOPED_TRACE(balance);
        SetPhaseBalanceMode(balance);
        Paint();
        EXPECT_EQ(guitest::PixelAt(cx - 30, cy), l2) << "the shaft at 180 degrees";
        EXPECT_EQ(guitest::PixelAt(cx - 45, cy + 1), l2);
        EXPECT_LT(LabelX("L2"), cx - 60);
        EXPECT_EQ(LabelX("L3"), -1);
    }
    g_PhaseMode.store(0);
}

}  // namespace
