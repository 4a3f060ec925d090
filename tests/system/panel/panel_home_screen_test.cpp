// The running controller's home screen as it draws it: a set-value cell, the settings panel's highlighted
// row and the phase tabs at start, and a cell following a LAN setting. Texts are read from the text log at
// their screen places, colours from the framebuffer. (The cells, lists, meter and simple page as each
// setting draws them: tests/screens/output.)
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

}  // namespace
