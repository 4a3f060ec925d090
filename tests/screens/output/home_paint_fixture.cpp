#include "tests/screens/output/home_paint_fixture.h"

#include <gtest/gtest.h>

#include "GUI/text/gui_font.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/service_flags.h"
#include "panel/draw/panel_shapes.h"
#include "screens/output/home/home_windows.h"
#include "screens/output/homepaint/home_paint.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/screens/output/home_cells_fixture.h"
#include "tests/support/default_store.h"

namespace hometest {

namespace {

std::vector<DrawnText> g_texts;

void Record(const char* text, int x, int y, uint16_t align, uint32_t bgr, const GUI_FONTDEF*) {
    const uint32_t rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
    g_texts.push_back({text, x, y, rgb, align});
}

using homecells::Black;

using namespace home;

void Make(int win, int x, int y, int w, int h, int parent, WM_CALLBACK* cb, bool shown = true) {
    g_HomeWin[win] = WM_CreateChild(x, y, w, h, g_HomeWin[parent], shown ? WM_CF_SHOW : 0, cb, 0);
}

// The windows of the page's table that these painters draw, at the table's places.
void MakeTree() {
    g_HomeWin.fill(0);
    g_HomeWin[kWinRoot] = WM_CreateTop(0, 0, 800, 480, WM_CF_SHOW, Black, 0);
    Make(kWinBody, 0, 28, 720, 452, kWinRoot, Black);
    Make(kWinLowerFrame, 506, 225, 210, 215, kWinBody, HomePaint_PanelLowerFrame);
    Make(kWinPhaseHeader, 6, 33, 515, 35, kWinRoot, HomePaint_PhaseHeader);
    Make(kWinPhasor, 536, 250, 170, 190, kWinBody, HomePaint_Phasor);
    constexpr int kLabelY[12] = {16, 53, 89, 125, 161, 197, 233, 269, 305, 341, 377, 410};
    constexpr int kValueY[12] = {13, 50, 86, 122, 158, 194, 230, 266, 302, 338, 374, 408};
    for (int n = 0; n < 12; ++n) {
        Make(PanelLabelWin(n), 526, kLabelY[n], 65, 25, kWinBody, HomePaint_PanelLabel);
        Make(PanelValueWin(n), 596, kValueY[n], 108, 30, kWinBody, HomePaint_PanelValue);
    }
    Make(kWinPanelScroll, 705, 13, 8, 215, kWinBody, HomePaint_PanelScroll);
    constexpr int kListY[4] = {98, 156, 217, 220}, kListH[4] = {200, 225, 150, 225};
    for (int r = 0; r < 4; ++r) {
        Make(kWinItemList0 + r, 650, kListY[r], 70, kListH[r], kWinBody, HomePaint_MeasItemList, false);
        Make(kWinItemListHead0 + r, 0, 0, 70, 25, kWinItemList0 + r, HomePaint_MeasItemListHead);
    }
    Make(kWinModeList, 589, 47, 114, 219, kWinBody, HomePaint_ModeList, false);
    Make(kWinModeListHead, 3, 4, 105, 21, kWinModeList, HomePaint_ModeListHead);
    Make(kWinLineList, 589, 14, 114, 219, kWinBody, HomePaint_LineList, false);
    Make(kWinLineListHead, 3, 4, 105, 21, kWinLineList, HomePaint_LineListHead);
}

}  // namespace

HomePaintScreen::HomePaintScreen() {
    guitest::UseScreenRoot();
    test::FreshStore(1);
    g_HomePage.panelRow.store(0);
    g_HomePage.panelPage.store(0);
    g_HomePage.rowMask.store(0);
    g_HomePage.allPhasesLock.store(0);
    g_ServiceFlags.tempDisplay.store(0);
    g_OutputFlags.fetch_and(~(3u << 26));
    g_EditShown = {};
    guitest::FreshScreen();
    MakeTree();
    GUI_SetTextHook(Record);
}

HomePaintScreen::~HomePaintScreen() {
    EXPECT_TEXTS_WHOLE();
    GUI_SetTextHook(nullptr);
    g_HomeWin.fill(0);
    g_ServiceFlags.tempDisplay.store(0);
    g_HomePage.panelRow.store(0);
    g_HomePage.rowMask.store(0x3FFF);
    g_HomePage.allPhasesLock.store(0);
}

void HomePaintScreen::Paint(int win) {
    g_texts.clear();
    WM_Repaint(g_HomeWin[win]);
}

void HomePaintScreen::PaintPanel() {
    std::vector<DrawnText> all;
    for (int n = 0; n < 12; ++n) {
        Paint(PanelLabelWin(n));
        all.insert(all.end(), g_texts.begin(), g_texts.end());
        Paint(PanelValueWin(n));
        all.insert(all.end(), g_texts.begin(), g_texts.end());
    }
    g_texts = all;
}

const std::vector<DrawnText>& HomePaintScreen::Texts() const {
    return g_texts;
}

std::string HomePaintScreen::TextAt(int x, int y) const {
    for (const DrawnText& t : g_texts)
        if (t.x == x && t.y == y) return t.text;
    return "";
}

uint16_t HomePaintScreen::Pixel(int x, int y) {
    return guitest::Screen()[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)];
}

// Each channel scaled to its bits and rounded, as the framebuffer device stores a filled colour.
uint16_t HomePaintScreen::Rgb565(uint32_t rgb) {
    auto scale = [](uint32_t v, uint32_t max) { return (v * max + 128) / 255; };
    return static_cast<uint16_t>((scale((rgb >> 16) & 0xFF, 31) << 11) | (scale((rgb >> 8) & 0xFF, 63) << 5) |
                                 scale(rgb & 0xFF, 31));
}

}  // namespace hometest
