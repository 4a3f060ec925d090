// The running controller's home screen as it draws it: the set-value cells, the settings panel, the phase
// header, the phasor and the soft keys at start; the cells following a knob, a keypad and a LAN setting;
// the total-power view; the frozen meter's grey and the preset keys; the AC-INT panel rows and the
// output-mode list; the simple page and its harmonic view by their keys. Texts are read from the text log at their screen places (body windows sit 28 pixels
// down), colours from the framebuffer. After a SCPI command SHIFT then PRESET returns the panel to local.
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
// Soft key n is centred at x 760, on y 60 n + 31, 23 or 16 for one, two or three lines.
constexpr int kKeyX = 760;
int KeyY(int n, int lines) {
    return 60 * n + (lines == 1 ? 31 : lines == 2 ? 23 : 16);
}
// Meter cell values end at x 154, 325, 497 on rows y 76, 143, 210, 277.
constexpr int kMeterX[3] = {154, 325, 497};
constexpr int kMeterY[4] = {76, 143, 210, 277};

class PanelHomeScreen : public FrontPanelSuite {
  protected:
    static void Local() { Keys({"key S", "key N"}); }
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

TEST_F(PanelHomeScreen, StartShowsSetValuesPanelHeaderAndKeys) {
    Flush();
    const char* units[3] = {" Vrms", "  Vdc", "  Hz"};
    const char* values[3] = {"0.00", "0.00", "50.00"};
    for (int r = 0; r < 3; ++r)
        for (int col = 0; col < 3; ++col) {
            EXPECT_TRUE(WaitLogged(kSetX[col], kSetY[r], values[r])) << r << col << TextLog();
            EXPECT_TRUE(WaitLogged(kSetX[col], kSetY[r], units[r])) << r << col;
        }
    EXPECT_TRUE(WaitLogged(7, 363, " ACV"));
    EXPECT_TRUE(WaitLogged(7, 405, " DCV"));
    EXPECT_TRUE(WaitLogged(7, 447, "FREQ"));

    EXPECT_TRUE(WaitLogged(kKeyX, KeyY(0, 1), "DISPLAY", true));
    EXPECT_TRUE(WaitLogged(kKeyX, KeyY(1, 3), "[L1]\\nL2\\nL3"));
    const char* keys[6] = {"ITEM1\\nVrms", "ITEM2\\nIrms", "ITEM3\\nP",
                           "ITEM4\\nPF",   "[Each]\\nAll", "[RUN]\\nHOLD"};
    for (int k = 0; k < 6; ++k)
        EXPECT_TRUE(WaitLogged(kKeyX, KeyY(k + 2, 2), keys[k])) << keys[k];

    const char* labels[6] = {"PHASE", "MODE", "ACV", "DCV", "FREQ", "IRMS"};
    const char* settings[6] = {"L1", "AC+DC-INT", "0.00 Vrms", "0.00 Vdc", "50.00 Hz", "15.75 A"};
    for (int r = 0; r < 6; ++r) {
        EXPECT_TRUE(WaitLogged(kLabelX, kPanelY[r], labels[r])) << labels[r];
        EXPECT_TRUE(WaitLogged(kValueX, kPanelY[r], settings[r])) << settings[r];
    }
    EXPECT_TRUE(WaitDrawn(kValueX, kPanelY[0], "L1", "0x0000")) << "row 0 is highlighted";
    EXPECT_TRUE(WaitLogged(576, 293, "Unbalance"));
    for (int x : {84, 253, 422})
        EXPECT_TRUE(WaitLogged(x, 42, "SIN")) << x;

    // The phase tabs behind the labels: 0xFFCA19, 0x2572D8, 0x16912C.
    EXPECT_TRUE(Near(Pixel(146, 61), 0xFFCA19)) << Pixel(146, 61);
    EXPECT_TRUE(Near(Pixel(318, 61), 0x2572D8)) << Pixel(318, 61);
    EXPECT_TRUE(Near(Pixel(489, 61), 0x16912C)) << Pixel(489, 61);
    EXPECT_EQ(Ask("VOLT?;FREQ?"), "+0.0000;+50.0000");
}

// 'O' opens the AC voltage field, 'V' moves its cursor a digit up, 'T' leaves it.
TEST_F(PanelHomeScreen, AcVoltageCellFollowsKnobAndLan) {
    Local();
    Mark();
    Keys({"key O", "key V", "key V", "key V", "key V", "knob 1", "key T"});
    EXPECT_TRUE(WaitLogged(kSetX[0], kSetY[0], "100.0")) << TextLog();
    EXPECT_TRUE(WaitLogged(kSetX[0], kSetY[0], " Vrms"));
    EXPECT_EQ(Ask("VOLT?"), "+100.0000");
    EXPECT_TRUE(StageHas(2384, "100")) << c().Output();
    Mark();
    Send("VOLT 99.99");
    EXPECT_TRUE(WaitLogged(kSetX[0], kSetY[0], "99.99")) << TextLog();
    Send("VOLT 0");
    EXPECT_TRUE(WaitLogged(kSetX[0], kSetY[0], "0.00"));
}

// DISPLAY: set values -> total power -> simple page -> set values.
TEST_F(PanelHomeScreen, DisplayKeyShowsTheTotalPower) {
    Local();
    Mark();
    ASSERT_TRUE(Panel("key Y"));
    for (int y : {368, 410, 452}) {
        EXPECT_TRUE(WaitLogged(61, y, "TOTAL")) << y << TextLog();
        EXPECT_TRUE(WaitLogged(310, y, "TOTAL")) << y;
    }
    EXPECT_TRUE(WaitLogged(225, 350, "0.00"));
    EXPECT_TRUE(WaitLogged(225, 350, " V"));
    EXPECT_TRUE(WaitLogged(225, 434, "0.0"));
    EXPECT_TRUE(WaitLogged(225, 434, " W"));
    EXPECT_TRUE(WaitLogged(475, 434, "0.000"));
    Mark();
    Keys({"key Y", "key Y"});
    EXPECT_TRUE(WaitLogged(kSetX[2], kSetY[2], "50.00")) << TextLog();
}

// The frozen meter draws its values 0xDEDEDE and greys RUN/HOLD; preset mode relabels every key.
TEST_F(PanelHomeScreen, FrozenMeterAndPresetKeys) {
    Mark();
    ASSERT_TRUE(Panel("key 96"));
    for (int col = 0; col < 3; ++col)
        EXPECT_TRUE(WaitDrawn(kMeterX[col], kMeterY[0], "0.00", "0xDEFB")) << col << TextLog();
    EXPECT_TRUE(WaitLogged(kKeyX, KeyY(7, 2), "RUN\\n[HOLD]"));
    Mark();
    ASSERT_TRUE(Panel("key 96"));
    EXPECT_TRUE(WaitLogged(kKeyX, KeyY(7, 2), "[RUN]\\nHOLD")) << TextLog();

    Mark();
    ASSERT_TRUE(Panel("key N"));
    for (int k = 0; k < 8; ++k)
        EXPECT_TRUE(WaitLogged(kKeyX, KeyY(k, 2), "Preset\\nM" + std::to_string(k))) << k << TextLog();
    Mark();
    ASSERT_TRUE(Panel("key N"));
    EXPECT_TRUE(WaitLogged(kKeyX, KeyY(0, 1), "DISPLAY", true)) << TextLog();
}

// From row 0: the knob to MODE, ENTER opens the list of modes; the knob and ENTER choose AC-INT.
TEST_F(PanelHomeScreen, ModeChosenFromTheList) {
    Local();
    Mark();
    ASSERT_TRUE(Panel("knob 2"));  // the AC voltage field left its row (2) selected
    ASSERT_TRUE(WaitDrawn(kValueX, kPanelY[0], "L1", "0x0000")) << TextLog();
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

// With the output-mode list open (SHIFT, RANGE) every soft key is black.
TEST_F(PanelHomeScreen, ModeListBlacksTheKeys) {
    Keys({"key S", "key R"});
    Flush();
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(Pixel(kKeyX, KeyY(k, 1)), 0) << k;
    Mark();
    ASSERT_TRUE(Panel("key T"));
    EXPECT_TRUE(WaitLogged(kKeyX, KeyY(0, 1), "DISPLAY", true)) << TextLog();
    EXPECT_EQ(Ask("MODE?"), "ACDC-INT");
}

// AC-INT: the second half of the panel rows (the ON and OFF phases start enabled at 0 degrees); the knob
// skips the duty row on its way to TEST.
TEST_F(PanelHomeScreen, AcIntPanelRows) {
    Send("MODE 1");
    Local();
    Mark();
    ASSERT_TRUE(Panel("knob -5"));
    const char* labels[6] = {"ON Phs", "OFF Phs", "Wave", "TEST", "L1 \xF2 L2", "L1 \xF2 L3"};
    const char* values[6] = {"0.0 \xB0", "0.0 \xB0", "SIN", "SEQ ...", "120.0 \xB0", "240.0 \xB0"};
    for (int r = 0; r < 6; ++r) {
        EXPECT_TRUE(WaitLogged(kLabelX, kPanelY[r], labels[r])) << labels[r] << TextLog();
        EXPECT_TRUE(WaitLogged(kValueX, kPanelY[r], values[r])) << values[r];
    }
    EXPECT_TRUE(WaitDrawn(kValueX, kPanelY[0], "0.0 \xB0", "0x0000")) << "ON Phs is highlighted";
    Mark();
    ASSERT_TRUE(Panel("knob -3"));
    EXPECT_TRUE(WaitDrawn(kValueX, kPanelY[3], "SEQ ...", "0x0000")) << TextLog();
    Send("MODE 0");
    EXPECT_EQ(Ask("MODE?"), "ACDC-INT");
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

// ITEM1 opens its list on orange; a knob step moves the highlight one 25 px row down and the key follows.
TEST_F(PanelHomeScreen, ItemListFollowsTheKnob) {
    Mark();
    ASSERT_TRUE(Panel("key ["));
    EXPECT_TRUE(WaitLogged(685, 130, "Vrms")) << TextLog();
    Mark();
    ASSERT_TRUE(Panel("knob -1"));
    EXPECT_TRUE(WaitDrawn(685, 155, "Vavg", "0xF483")) << TextLog();
    EXPECT_TRUE(WaitLogged(kKeyX, KeyY(2, 2), "ITEM1\\nVavg")) << TextLog();
    Keys({"knob 1", "key T"});
}

// The simple page: label cells end at x 60 + 233 c, value cells at 128 + 233 c on rows 44 + 38 r; the
// harmonic rows at y 99 + 37 j.
constexpr int kSimpleLabelX[2] = {60, 293}, kSimpleValueX1 = 361, kSimpleRowY0 = 44;
int HarmY(int j) {
    return 99 + 37 * j;
}

// DISPLAY twice (the total view between) opens the simple page; its meter-set and freeze keys redraw the
// table; its harmonic view, with the output on off 50/60 Hz, holds a popup in a red frame until the
// frequency is back; one line has no total view between.
TEST_F(PanelHomeScreen, SimplePageByItsKeys) {
    Mark();
    Keys({"key Y", "key Y"});
    EXPECT_TRUE(WaitLogged(kSimpleLabelX[0], kSimpleRowY0, "V")) << TextLog();
    Mark();
    ASSERT_TRUE(Panel("key 92"));
    EXPECT_TRUE(WaitLogged(kSimpleLabelX[1], kSimpleRowY0, "Vavg")) << TextLog();
    Keys({"key 92", "key 92"});
    Mark();
    ASSERT_TRUE(Panel("key 96"));
    EXPECT_TRUE(WaitDrawn(kSimpleLabelX[0], kSimpleRowY0, "V", "0xDEFB")) << TextLog();
    ASSERT_TRUE(Panel("key 96"));
    EXPECT_TRUE(WaitDrawn(kSimpleLabelX[0], kSimpleRowY0, "V", "0xFFFF"));
    ASSERT_TRUE(Panel("key Y"));  // back to the advanced screen

    Send("MODE 1");
    EXPECT_EQ(Ask("MODE?"), "AC-INT");
    Local();
    Keys({"key Y", "key Y"});
    Mark();
    ASSERT_TRUE(Panel("key ["));
    EXPECT_TRUE(WaitLogged(14, 35, "Harmonic Voltage Measure")) << TextLog();
    Mark();
    Keys({"key ^", "key ^", "key ^", "key ^", "key ^"});
    EXPECT_TRUE(WaitLogged(427, HarmY(9), "100th")) << TextLog();
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

    Send("SYST:CONF:PHAS 1");
    ASSERT_EQ(Ask("SYST:CONF:PHAS?"), "1P2W");
    Local();
    Mark();
    ASSERT_TRUE(Panel("key Y"));
    EXPECT_TRUE(WaitLogged(kSimpleValueX1, kSimpleRowY0, " - - - - ")) << TextLog();
    ASSERT_TRUE(Panel("key Y"));
    Send("SYST:CONF:PHAS 0");
    ASSERT_EQ(Ask("SYST:CONF:PHAS?"), "3P4W");
    Local();
}

}  // namespace
