// What each settings-panel cell of the overlay draws in every output mode, by wiring: the item codes of
// the panel's rows, written out here as classes of what a cell shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/params/access/wiring_state.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "panel/overlay/overlay_layout.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/panel/overlay/overlay_fixture.h"

namespace {

using panel::g_OverlayWins;

// The item codes of the panel's rows 0-13 by output mode 0-9 in 3P4W; 1P3W differs in its last two rows.
constexpr int kItems[14][10] = {
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
    {2, 2, 3, 9, 9, 2, 2, 2, 2, 9},
    {3, 39, 6, 5, 5, 3, 39, 3, 39, 39},
    {4, 4, 11, 18, 18, 4, 4, 10, 10, 4},
    {5, 5, 40, 40, 40, 5, 5, 5, 5, 5},
    {7, 7, 39, 39, 39, 9, 9, 7, 7, 7},
    {8, 8, 39, 39, 39, 7, 7, 8, 8, 8},
    {13, 13, 39, 39, 39, 8, 8, 13, 13, 13},
    {14, 14, 39, 39, 39, 13, 13, 14, 14, 14},
    {11, 11, 39, 39, 39, 14, 14, 19, 19, 18},
    {16, 16, 39, 39, 39, 18, 18, 16, 16, 16},
    {17, 17, 39, 39, 39, 40, 40, 17, 17, 17},
    {40, 40, 39, 39, 39, 39, 39, 40, 40, 40},
};
constexpr int kItems1P3W[2][10] = {
    {40, 40, 39, 39, 39, 40, 40, 40, 40, 40},
    {39, 39, 39, 39, 39, 39, 39, 39, 39, 39},
};
int ItemOf(bool splitPhase, int row, int mode) {
    return splitPhase && row >= 12 ? kItems1P3W[row - 12][mode] : kItems[row][mode];
}
constexpr int16_t kCellY[panel::kOverlayCells] = {41, 78, 114, 150, 186, 222, 258, 294, 330, 366, 402, 438};
constexpr int32_t kWork = 1;  // the SIG source L2 LINE, the external source L2 Ext, the wave ARB2

// What a cell with the item shows: h hidden, e an empty bar, S the SIG source, X the external source, W a
// wave name, D a signed DC voltage, v another value.
char ClassOf(int item) {
    switch (item) {
        case 0: case 1: return 'h';
        case 11: case 12: case 39: case 40: return 'e';
        case 10: return 'S';
        case 18: return 'X';
        case 13: return 'W';
        case 3: return 'D';
        default: return 'v';
    }
}

// The value digits are drawn a character at a time; they are told by their white pixels.
char Drawn(const std::vector<uint16_t>& screen, int c) {
    if (WM_IsShown(g_OverlayWins.cell[c]) == 0) return 'h';
    std::string text;
    for (const auto& t : drawn::g_texts)
        if (t.x >= 596 && t.x < 704 && t.y >= kCellY[c] && t.y < kCellY[c] + 30) text += t.text;
    const GUI_BOX box{596, kCellY[c], 703, static_cast<int16_t>(kCellY[c] + 29)};
    if (text.empty()) return guitest::CountColour(screen, box, guitest::Rgb565(0xFFFFFF)) > 0 ? 'v' : 'e';
    if (text.find("L2 LINE") != std::string::npos) return 'S';
    if (text.find("L2 Ext") != std::string::npos) return 'X';
    if (text.find("ARB2") != std::string::npos) return 'W';
    if (text[0] == '+') return 'D';
    return 'v';
}

class PanelItemsTest : public ::testing::Test {
  protected:
    overlaytest::OverlayScreen screen;
    // Every cell shown and painted once; what each drew, cell 0 first.
    std::string Cells() {
        drawn::g_texts.clear();
        for (WM_HWINDOW cell : g_OverlayWins.cell)
            WM_Show(cell);
        screen.MainPass();
        const std::vector<uint16_t> pixels = guitest::Screen();
        std::string out;
        for (int c = 0; c < panel::kOverlayCells; ++c)
            out += Drawn(pixels, c);
        for (WM_HWINDOW cell : g_OverlayWins.cell)
            WM_Hide(cell);
        return out;
    }
};

// Without the page flag cell c shows row c (3P4W, and 1P3W from row 14); with it row c + 6, or c + 7 from
// row 9 in modes 0, 1, 7, 8, 9 and from row 10 in modes 5 and 6; cells past the wiring's fourteen rows are
// hidden.
TEST_F(PanelItemsTest, EveryCellInEveryModeOfTheThreeLineWirings) {
    g_EditParam.workValue.store(kWork);
    for (uint32_t wiring : {0u, 2u}) {
        g_PhaseMode.store(wiring);
        for (uint32_t page : {0u, 1u}) {
            g_HomePage.panelPage.store(page);
            for (int mode = 0; mode < 10; ++mode) {
                g_OutputModeIdx.store(static_cast<uint32_t>(mode));
                std::string expected;
                for (int c = 0; c < panel::kOverlayCells; ++c) {
                    int row = c + (page == 1 ? 6 : 0);
                    const bool zeroGroup = mode <= 1 || mode >= 7, fiveSix = mode == 5 || mode == 6;
                    if (page == 1 && ((zeroGroup && row >= 9) || (fiveSix && row >= 10))) row = c + 7;
                    expected += row < 14 ? ClassOf(ItemOf(wiring == 2, row, mode)) : 'h';
                }
                EXPECT_EQ(Cells(), expected) << "wiring " << wiring << " page " << page << " mode " << mode;
            }
        }
    }
    g_HomePage.panelPage.store(0);
    g_OutputModeIdx.store(0);
    g_PhaseMode.store(0);
}

}  // namespace
