// The settings panel's label and value windows on the framebuffer: which rows each page shows, the texts
// and colours at their screen places, the highlight box, and that the painters leave the store as it is.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "screens/output/home/home_value_fit.h"
#include "screens/output/home/home_windows.h"
#include "screens/output/homepaint/home_paint.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/screens/output/home_paint_fixture.h"
#include "tests/support/default_store.h"

namespace {

using hometest::HomePaintScreen;

constexpr int kLabelX = 526, kValueX = 598, kValueWinX = 596;
// Screen rows of the texts of panel rows 0-5 (window y + 28 for the body, + 3 inside a value window).
constexpr int kTextY[6] = {44, 81, 117, 153, 189, 225};
constexpr uint32_t kValueBack = 0x4D4D4D, kLabelBack = 0x333333, kWhite = 0xFFFFFF, kBlack = 0x000000;

class HomePanel : public ::testing::Test {
  protected:
    HomePaintScreen screen;
    static void Select(uint32_t row) { g_HomePage.panelRow.store(row); }
    std::string Value(int n) const { return screen.TextAt(kValueX, kTextY[n]); }
    std::string Label(int n) const { return screen.TextAt(kLabelX, kTextY[n]); }
    uint32_t ValueColour(int n) const {
        for (const auto& t : screen.Texts())
            if (t.x == kValueX && t.y == kTextY[n]) return t.rgb;
        return 0xDEAD;
    }
    // Whether the value window n (0-5) shows its grey at x inside it (mid-height, below the text).
    static bool Grey(int n, int x) {
        return HomePaintScreen::Pixel(kValueWinX + x, kTextY[n] + 24) == HomePaintScreen::Rgb565(kValueBack);
    }
    // The six rows' labels and values; the first on the highlight box (black), the others white.
    void ExpectRows(const std::vector<std::string>& labels, const std::vector<std::string>& values) const {
        for (int n = 0; n < 6; ++n) {
            EXPECT_EQ(Label(n), labels[n]) << n;
            EXPECT_EQ(Value(n), values[n]) << n;
            EXPECT_EQ(ValueColour(n), n == 0 ? kBlack : kWhite) << n;
        }
    }
    static void SetOnPhase(int32_t value, int32_t state, int32_t decimals) {
        ParamRec r = test::ReadRecord(kParamOnPhase, 0);
        r.value = value;
        r.state = state;
        r.decimals = decimals;
        r.max = 3600;
        paramPutRecord(kParamOnPhase, &r, 0);
    }
};

TEST_F(HomePanel, FirstPageOfAcDcIntWithTheFirstRowHighlighted) {
    g_OutputModeIdx.store(0);
    screen.PaintPanel();
    ExpectRows({"PHASE", "MODE", "ACV", "DCV", "FREQ", "IRMS"},
               {"L1", "AC+DC-INT", "0.00 Vrms", "0.00 Vdc", "50.00 Hz", "15.75 A"});
    // Row 0 on the highlight box over the whole value (x 0, width 103), the other rows on grey.
    EXPECT_EQ((std::vector<bool>{Grey(0, 1), Grey(0, 101), Grey(0, 104), Grey(1, 1)}),
              (std::vector<bool>{false, false, true, true}));
    EXPECT_EQ(HomePaintScreen::Pixel(kLabelX + 60, kTextY[0] + 22), HomePaintScreen::Rgb565(kLabelBack));
    // The highlighted row is marked as shown; windows 6-11 show nothing in 3P4W.
    EXPECT_EQ(g_HomePage.rowMask.load(), 1u);
    EXPECT_EQ(screen.Texts().size(), 12u);
    // A mode name on the box stays left of its 3-pixel right cap (x 100-102), in the text rows (the
    // 24-pixel cell from y 3) below and above the rounded corners; the widest, AC+DC-Sync, stands whole
    // on the box, no letter on the grey past it.
    Select(1);
    for (uint32_t mode : {0u, 7u}) {
        g_OutputModeIdx.store(mode);
        screen.PaintPanel();
        for (const auto& t : screen.Texts())
            if (t.y == kTextY[1] && t.x >= kValueWinX) {
                EXPECT_EQ(t.rgb, kBlack) << t.text;
            }
        const int capAt = mode == 7 ? 105 : 100;
        for (int x = capAt; x < 108; ++x)
            for (int y = kTextY[1]; y < kTextY[1] + 24; ++y)
                ASSERT_NE(HomePaintScreen::Pixel(kValueWinX + x, y), 0) << "text at " << x << "," << y;
        for (int x = 0; x < capAt + 3; ++x)
            ASSERT_NE(HomePaintScreen::Pixel(kValueWinX + x, kTextY[1] + 10),
                      HomePaintScreen::Rgb565(kValueBack))
                << "grey under the name at " << x << " in mode " << mode;
    }
}

// AC-INT's second page starts at ON Phs; Wave and duty share the third window, so TEST follows it.
TEST_F(HomePanel, SecondPageOfAcIntClosesOverTheDutyRow) {
    Select(6);
    paramPutState(kParamOnPhase, 0, 0);  // both angles FREE
    paramPutState(kParamOffPhase, 0, 0);
    screen.PaintPanel();
    ExpectRows({"ON Phs", "OFF Phs", "Wave", "TEST", "L1 \xF2 L2", "L1 \xF2 L3"},
               {"FREE", "FREE", "SIN", "SEQ ...", "120.0 \xB0", "240.0 \xB0"});
    EXPECT_EQ(g_HomePage.rowMask.load(), 1u << 6);
    // Without a square wave the duty row cannot stay selected: the Wave window takes the selection back.
    Select(9);
    screen.Paint(home::PanelValueWin(2));
    EXPECT_EQ(g_HomePage.panelRow.load(), 8u);
}

TEST_F(HomePanel, SquareWaveShowsItsDutyBesideTheWaveAndHighlightsOnlyTheSelectedPart) {
    for (int p = 0; p < 3; ++p)
        g_ParamStore.unit[p].waveform.value = 17;
    Select(9);  // the duty row
    screen.Paint(home::PanelValueWin(2));
    EXPECT_EQ(screen.TextAt(kValueWinX + 47, kTextY[2]), "50.0%");
    ASSERT_EQ(screen.Texts().size(), 2u);
    for (const auto& t : screen.Texts())
        EXPECT_EQ(t.rgb, t.text == "50.0%" ? kBlack : kWhite) << t.text;
    EXPECT_EQ((std::vector<bool>{Grey(2, 20), Grey(2, 46), Grey(2, 101)}),
              (std::vector<bool>{true, false, false}));
    EXPECT_EQ(g_HomePage.panelRow.load(), 9u);
    // The Wave row itself: the box over the name only.
    Select(8);
    screen.Paint(home::PanelValueWin(2));
    for (const auto& t : screen.Texts())
        EXPECT_EQ(t.rgb, t.text == "SQU" ? kBlack : kWhite) << t.text;
    EXPECT_EQ(screen.TextAt(kValueX, kTextY[2]), "SQU");
    EXPECT_FALSE(Grey(2, 20));
    EXPECT_TRUE(Grey(2, 60));
}

// A voltage below 100 V shows two decimals, from 100 V one; a negative DC voltage counts by its size.
TEST_F(HomePanel, VoltagesShowTwoDecimalsBelow100VoltsAndOneFrom100) {
    g_OutputModeIdx.store(0);  // AC+DC-INT: ACV in row 2, DCV in row 3
    const std::tuple<int32_t, int32_t, const char*, const char*> cases[] = {
        {9999, -9999, "99.99 Vrms", "-99.99 Vdc"},
        {10000, -10000, "100.0 Vrms", "-100.0 Vdc"},
    };
    for (const auto& [acv, dcv, acvText, dcvText] : cases) {
        paramPutValue(kParamAcv, acv, 0);
        paramPutValue(kParamDcv, dcv, 0);
        screen.PaintPanel();
        EXPECT_EQ(Value(2), acvText);
        EXPECT_EQ(Value(3), dcvText);
    }
}

// 1P2W shows all twelve rows; a selection past them would start a second page that lies beyond the
// layout's fourteen rows: it shows empty rows.
TEST_F(HomePanel, SinglePhaseShowsTwelveRowsAndNothingPastTheLayout) {
    g_PhaseMode.store(1);
    screen.PaintPanel();
    EXPECT_EQ(screen.TextAt(kLabelX, 28 + 305), "Wave");
    EXPECT_EQ(screen.TextAt(kLabelX, 28 + 341), "TEST");  // window 9 shows row 10
    EXPECT_EQ(screen.TextAt(kLabelX, 28 + 377), "");
    EXPECT_EQ(screen.TextAt(kLabelX, 28 + 233), "ON Phs");
    Select(13);
    screen.PaintPanel();
    EXPECT_TRUE(screen.Texts().empty());
}

// The painters only read: whatever the panel shows clamped, a paint of every window leaves every byte of
// the parameter store as it was.
TEST_F(HomePanel, APaintLeavesTheStoreAsItWas) {
    const auto storeBytes = [] {
        const auto* bytes = reinterpret_cast<const uint8_t*>(&g_ParamStore);
        return std::vector<uint8_t>(bytes, bytes + sizeof g_ParamStore);
    };
    // Above 500 Hz the angles are whole degrees (the store derives it from the frequency it holds); 360 is
    // shown as 359.
    paramPutValue(kParamFreq, 60000, 0);
    SetOnPhase(3600, 1, 0);
    paramPutValue(kParamMeasItem7, 1, 0);    // the LINE view
    paramPutMax(kParamAcvLine, 70000, 0);  // above what the phase maximum gives
    paramPutValue(kParamAcvLine, 69000, 0);
    paramPutValue(kParamDcvLine, -90000, 0);
    // The store brings the angles' format into step with the frequency when the frequency is read; read
    // here, so that only a write of the painters would show.
    for (uint32_t phase = 0; phase < 3; ++phase)
        paramGetValue(kParamFreq, phase);
    for (const uint32_t row : {0u, 6u}) {
        Select(row);
        const std::vector<uint8_t> before = storeBytes();
        screen.PaintPanel();
        EXPECT_EQ(storeBytes(), before) << "page of row " << row;
    }
}

// What the panel shows clamped, the menu/control thread's pass writes back: the panel shows the same
// before and after it, and the store then holds what is shown.
TEST_F(HomePanel, WholeDegreeOnPhaseAbove359IsShownAndPutBackAs359) {
    Select(6);
    SetOnPhase(3595, 1, 0);
    screen.Paint(home::PanelValueWin(0));
    EXPECT_EQ(Value(0).rfind("359", 0), 0u) << Value(0);
    const std::vector<uint16_t> shown = guitest::Screen();
    EXPECT_EQ(paramGetValue(kParamOnPhase, 0), 3595) << "not by the painter";
    home::HomeValues_Fit();
    EXPECT_EQ(paramGetValue(kParamOnPhase, 0), 3590);
    screen.Paint(home::PanelValueWin(0));
    EXPECT_EQ(guitest::Screen(), shown);
    // Nothing is fitted switched off (the row reads FREE), with a decimal (the angle may go past 359), nor
    // off the shown page. {selected row, switched on, decimals, the start of the row's text}
    for (const auto& [row, on, decimals, shown] :
         {std::tuple{6u, 0, 0, "FREE"}, {6u, 1, 1, "359.5"}, {0u, 1, 0, "L1"}}) {
        Select(row);
        SetOnPhase(3595, on, decimals);
        screen.Paint(home::PanelValueWin(0));
        home::HomeValues_Fit();
        EXPECT_EQ(Value(0).rfind(shown, 0), 0u) << Value(0);
        EXPECT_EQ(paramGetValue(kParamOnPhase, 0), 3595) << shown;
    }
}

// The LINE view's AC voltage reaches the phase maximum as a line-to-line value: sqrt(3) times it in
// 3P4W, twice it in 1P3W. A change that lowers the phase maximum below the line value (as another range
// does) shows the line value at the new limit at once, and the next pass puts limit and value into the
// line record.
TEST_F(HomePanel, LineViewTakesItsLimitsFromThePhaseMaximum) {
    const auto phaseMax = [](int32_t max) {
        ParamRec phase = test::ReadRecord(kParamAcv, 0);
        phase.max = max;
        paramPutRecord(kParamAcv, &phase, 0);
    };
    phaseMax(40000);
    paramPutValue(kParamMeasItem7, 1, 0);
    paramPutMax(kParamAcvLine, 70000, 0);
    paramPutValue(kParamAcvLine, 59000, 0);
    const int32_t ownMin = test::ReadRecord(kParamAcvLine, 0).min;  // the AC line value keeps its own minimum
    home::HomeValues_Fit();
    EXPECT_EQ(test::ReadRecord(kParamAcvLine, 0).max, 69282);
    EXPECT_EQ(test::ReadRecord(kParamAcvLine, 0).value, 59000);

    phaseMax(30000);
    screen.Paint(home::PanelValueWin(2));
    EXPECT_EQ(Value(2).rfind("519.6", 0), 0u) << Value(2);
    const std::vector<uint16_t> shown = guitest::Screen();
    EXPECT_EQ(test::ReadRecord(kParamAcvLine, 0).max, 69282) << "not by the painter";
    home::HomeValues_Fit();
    ParamRec line = test::ReadRecord(kParamAcvLine, 0);
    EXPECT_EQ(line.max, 51962);
    EXPECT_EQ(line.value, 51962);
    EXPECT_EQ(line.min, ownMin);
    screen.Paint(home::PanelValueWin(2));
    EXPECT_EQ(guitest::Screen(), shown);

    g_PhaseMode.store(2);
    paramPutValue(kParamAcvLine, 59000, 0);
    home::HomeValues_Fit();
    line = test::ReadRecord(kParamAcvLine, 0);
    EXPECT_EQ(line.max, 60000);
    EXPECT_EQ(line.value, 59000);
    // The DC voltage (AC+DC-INT, row 3): twice the phase limits, the value clamped into them.
    g_PhaseMode.store(0);
    g_OutputModeIdx.store(0);
    paramPutValue(kParamMeasItem7, 1, 0);  // the view is kept per output mode
    ParamRec dc = test::ReadRecord(kParamDcv, 0);
    paramPutValue(kParamDcvLine, dc.min * 2 - 15, 0);  // below twice the minimum
    screen.Paint(home::PanelValueWin(3));
    const std::string shownDc = Value(3);
    home::HomeValues_Fit();
    line = test::ReadRecord(kParamDcvLine, 0);
    EXPECT_EQ(line.max, dc.max * 2);
    EXPECT_EQ(line.min, dc.min * 2);
    EXPECT_EQ(line.value, dc.min * 2);
    screen.Paint(home::PanelValueWin(3));
    EXPECT_EQ(Value(3), shownDc);
}

// In 1P3W the highlighted row decides whether an edit reaches both phases: not for the L1-L2 angle.
TEST_F(HomePanel, SplitPhaseHighlightSetsTheAllPhasesFlag) {
    g_PhaseMode.store(2);
    Select(11);  // L1 - L2 on the second page, window 4
    screen.Paint(home::PanelValueWin(4));
    EXPECT_EQ(screen.TextAt(kValueX, kTextY[4]).rfind("120.0", 0), 0u);
    EXPECT_EQ(g_HomePage.allPhasesLock.load(), 0u);
    Select(0);
    screen.Paint(home::PanelValueWin(0));
    EXPECT_EQ(g_HomePage.allPhasesLock.load(), 1u);
    g_PhaseMode.store(0);
    screen.Paint(home::PanelValueWin(0));
    EXPECT_EQ(g_HomePage.allPhasesLock.load(), 0u);
}

TEST_F(HomePanel, LowerFrameAndPageIndicator) {
    g_PhaseMode.store(1);
    screen.Paint(home::kWinLowerFrame);
    const uint16_t line = HomePaintScreen::Rgb565(0xC0C0C0);
    const int x0 = 506, y0 = 28 + 225;
    EXPECT_EQ(HomePaintScreen::Pixel(x0 + 15, y0 + 100), line);
    EXPECT_EQ(HomePaintScreen::Pixel(x0 + 208, y0 + 100), line);
    EXPECT_EQ(HomePaintScreen::Pixel(x0 + 20, y0 + 214), line);  // left of the phasor, which 1P2W hides
    EXPECT_EQ(HomePaintScreen::Pixel(x0 + 10, y0 + 100), 0);
    // The indicator: its thumb over the upper half on the first page, the lower on the second.
    g_PhaseMode.store(0);
    auto thumbAt = [](int y) {
        return HomePaintScreen::Pixel(705 + 4, 28 + 13 + y) == HomePaintScreen::Rgb565(0xC0C0C0);
    };
    screen.Paint(home::kWinPanelScroll);
    EXPECT_TRUE(thumbAt(50));
    EXPECT_FALSE(thumbAt(160));
    Select(7);
    screen.Paint(home::kWinPanelScroll);
    EXPECT_FALSE(thumbAt(50));
    EXPECT_TRUE(thumbAt(160));
    g_OutputModeIdx.store(2);  // DC-INT has one page: the indicator hides
    screen.Paint(home::kWinPanelScroll);
    EXPECT_EQ(WM_IsShown(g_HomeWin[home::kWinPanelScroll]), 0);
}

}  // namespace
