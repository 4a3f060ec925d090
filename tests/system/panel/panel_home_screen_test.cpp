// The running controller's home screen as it draws it: a set-value cell, the settings panel's highlighted
// row and the phase tabs at start; the cells following a keypad and a LAN setting; the output mode chosen
// from its list; the loaded meter; the harmonic view's popup, which the frequency closes. Texts are read
// from the text log at their screen places (body windows sit 28 pixels down), colours from the framebuffer.
// After a SCPI command SHIFT then PRESET returns the panel to local.
#include <cstdlib>

#include "tests/system/panel/front_panel_suite.h"

namespace {

using namespace testsupport;

// Set-value cells: the value ends (and the unit starts) at x 140, 309, 478; rows ACV, DCV, FREQ.
constexpr int kSetX[3] = {140, 309, 478};
constexpr int kSetY[3] = {344, 386, 428};
// Settings panel rows 0-5: labels at x 526, values at x 598, both on these lines.
constexpr int kPanelY[6] = {44, 81, 117, 153, 189, 225};
constexpr int kLabelX = 526, kValueX = 598;
// Meter cell values end at x 154, 325, 497 on rows y 76, 143, 210, 277.
constexpr int kMeterX[3] = {154, 325, 497};
constexpr int kMeterY[4] = {76, 143, 210, 277};

class PanelHomeScreen : public FrontPanelSuite {
  protected:
    // Waits until a text drawn at (x, y) since the mark is text in colour (RGB565, "0x%04X").
    static bool WaitDrawn(int x, int y, const std::string& text, const std::string& colour,
                          int boundMs = 10000) {
        for (int waited = 0; waited <= boundMs; waited += 20) {
            std::istringstream lines(TextLogSinceMark());
            for (std::string line; std::getline(lines, line);) {
                std::istringstream in(line);
                int lx = 0, ly = 0;
                std::string align, col, font, drawn;
                if (!(in >> lx >> ly >> align >> col >> font) || lx != x || ly != y || col != colour)
                    continue;
                std::getline(in, drawn);
                if (drawn == " " + text) return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
    // A framebuffer pixel is rgb when each of its channels is within one step of rgb's.
    static bool Near(uint16_t px, uint32_t rgb) {
        const int r = px >> 11, g = (px >> 5) & 0x3F, b = px & 0x1F;
        const int wr = static_cast<int>(rgb >> 16) * 31 / 255,
                  wg = static_cast<int>((rgb >> 8) & 0xFF) * 63 / 255,
                  wb = static_cast<int>(rgb & 0xFF) * 31 / 255;
        return std::abs(r - wr) <= 1 && std::abs(g - wg) <= 1 && std::abs(b - wb) <= 1;
    }
    static void Flush() { ASSERT_TRUE(Sync()) << c().Output(); }
};

TEST_F(PanelHomeScreen, StartShowsSetValuesPanelAndPhaseTabs) {
    Flush();
    EXPECT_TRUE(WaitLogged(kSetX[2], kSetY[2], "50.00")) << TextLog();
    EXPECT_TRUE(WaitLogged(kSetX[2], kSetY[2], "  Hz"));
    EXPECT_TRUE(WaitLogged(kLabelX, kPanelY[1], "MODE"));
    EXPECT_TRUE(WaitLogged(kValueX, kPanelY[1], "AC+DC-INT"));
    EXPECT_TRUE(WaitDrawn(kValueX, kPanelY[0], "L1", "0x0000")) << "row 0 is highlighted";

    // The phase tabs behind the labels: 0xFFCA19, 0x2572D8, 0x16912C.
    EXPECT_TRUE(Near(Pixel(146, 61), 0xFFCA19)) << Pixel(146, 61);
    EXPECT_TRUE(Near(Pixel(318, 61), 0x2572D8)) << Pixel(318, 61);
    EXPECT_TRUE(Near(Pixel(489, 61), 0x16912C)) << Pixel(489, 61);
    EXPECT_EQ(Ask("VOLT?;FREQ?"), "+0.0000;+50.0000");
}

TEST_F(PanelHomeScreen, AcVoltageCellFollowsTheLan) {
    Mark();
    Send("VOLT 99.99");
    EXPECT_TRUE(WaitLogged(kSetX[0], kSetY[0], "99.99")) << TextLog();
    Send("VOLT 0");
    EXPECT_TRUE(WaitLogged(kSetX[0], kSetY[0], "0.00"));
}

// From row 0: the knob to MODE, ENTER opens the list of modes; the knob and ENTER choose AC-INT.
TEST_F(PanelHomeScreen, ModeChosenFromTheList) {
    Local();
    Mark();
    Keys({"knob -1", "key U"});
    EXPECT_TRUE(WaitLogged(594, 77 + 21, "AC-INT")) << TextLog();
    Mark();
    Keys({"knob -1", "key U"});
    EXPECT_TRUE(WaitLogged(kValueX, kPanelY[1], "AC-INT")) << TextLog();
    EXPECT_EQ(Ask("MODE?"), "AC-INT");
    Send("MODE 0");
    Local();
    ASSERT_TRUE(Panel("knob 1"));
}

// From row 0: the knob to ACV, ENTER, the keypad's 5.5 and ENTER set it; the panel row follows.
TEST_F(PanelHomeScreen, AcVoltageTypedInThePanel) {
    Mark();
    Keys({"knob -2", "key U", "key E", "key J", "key E", "key U"});
    EXPECT_TRUE(WaitLogged(kValueX, kPanelY[2], "5.50 Vrms")) << TextLog();
    EXPECT_EQ(Ask("VOLT?"), "+5.5000");
    Send("VOLT 0");
    Local();
    Mark();
    ASSERT_TRUE(Panel("knob 2"));
    EXPECT_TRUE(WaitDrawn(kValueX, kPanelY[0], "L1", "0x0000")) << TextLog();
}

// A 10 ohm load with the output on: the L1 meter shows what the measurement says.
TEST_F(PanelHomeScreen, LoadedOutputOnTheMeter) {
    ASSERT_TRUE(Panel("load 10"));
    Mark();
    ASSERT_EQ(Ask("VOLT 100;:OUTP ON;*OPC?"), "1");
    EXPECT_TRUE(WaitLogged(kMeterX[0], kMeterY[0], "100.0")) << TextLog();
    EXPECT_NEAR(std::stod(Ask("MEAS:VOLT?")), 100.0, 0.05);
    ASSERT_EQ(Ask("OUTP OFF;:VOLT 0;*OPC?"), "1");
}

// A wiring and a meter item changed over the LAN reach the screen: two-wire has no L2 AC voltage, and
// its line-to-line item dashes L1.
TEST_F(PanelHomeScreen, TwoWireDashesTheMissingLines) {
    Mark();
    ASSERT_EQ(Ask("SYST:CONF:PHAS 1;*OPC?"), "1");
    EXPECT_TRUE(WaitLogged(kSetX[1], kSetY[0], " - - - - - ")) << TextLog();
    Mark();
    Send("DISP:MEAS:SOUR1 LRMS");
    EXPECT_TRUE(WaitLogged(kMeterX[0], kMeterY[0], " - - - - ")) << TextLog();
    ASSERT_EQ(Ask("DISP:MEAS:SOUR1 VRMS;:SYST:CONF:PHAS 0;*OPC?"), "1");
    Local();
}

// DISPLAY twice (the total view between) opens the simple page; its harmonic view, with the output on off
// 50/60 Hz, holds a popup in a red frame until the frequency is back.
TEST_F(PanelHomeScreen, SimplePageByItsKeys) {
    Send("MODE 1");
    EXPECT_EQ(Ask("MODE?"), "AC-INT");
    Local();
    Keys({"key Y", "key Y"});
    Mark();
    ASSERT_TRUE(Panel("key ["));
    EXPECT_TRUE(WaitLogged(14, 35, "Harmonic Voltage Measure")) << TextLog();
    // Going local closes a held popup, so the output is switched on by its key.
    Send("FREQ 55");
    Local();
    Mark();
    ASSERT_TRUE(Panel("key X"));
    EXPECT_TRUE(WaitLogged(365, 175, "Only AC-INT And \\n50/60Hz Active")) << TextLog();
    EXPECT_TRUE(WaitPixel(241, 161, 0xF800)) << "the red frame";
    Send("FREQ 50");
    EXPECT_TRUE(WaitPixel(241, 161, 0x0000)) << "closed at 50 Hz";
    Send("OUTP OFF");
    Send("MODE 0");
    Local();
    Keys({"key [", "key Y"});
}

}  // namespace
