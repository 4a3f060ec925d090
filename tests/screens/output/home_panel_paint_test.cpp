// The settings panel's label and value windows on the framebuffer: which rows each page shows at their
// screen places, the highlight box, and that the painters leave the store as it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "screens/output/home/home_value_fit.h"
#include "tests/screens/output/home_cells_fixture.h"

namespace {

using homecells::HomeCells;

constexpr int kValueX = 598;
// Screen rows of the texts of panel rows 0-5 (window y + 28 for the body, + 3 inside a value window).
constexpr int kTextY[6] = {44, 81, 117, 153, 189, 225};
// The panel's first six rows with the page indicator's column left out; all twelve (1P2W); value window 2.
constexpr GUI_BOX kPage{526, 41, 703, 252}, kAllRows{526, 41, 703, 466}, kValue2{596, 114, 703, 143};

// The twelve label and value windows and the page indicator of a model-1 unit.
class HomePanel : public HomeCells {
  protected:
    void SetUp() override {
        HomeCells::SetUp();
        test::DefaultSettings(1);
        constexpr int kLabelY[12] = {16, 53, 89, 125, 161, 197, 233, 269, 305, 341, 377, 410};
        constexpr int kValueY[12] = {13, 50, 86, 122, 158, 194, 230, 266, 302, 338, 374, 408};
        for (int n = 0; n < 12; ++n) {
            Make(home::PanelLabelWin(n), body_, 526, kLabelY[n], 65, 25, HomePaint_PanelLabel);
            Make(home::PanelValueWin(n), body_, 596, kValueY[n], 108, 30, HomePaint_PanelValue);
        }
        Make(home::kWinPanelScroll, body_, 705, 13, 8, 215, HomePaint_PanelScroll);
    }
    static void Select(uint32_t row) { g_HomePage.panelRow.store(row); }
    std::string Value(int n) const { return TextAt(kValueX, kTextY[n]); }
    void Expect(const char* golden, const GUI_BOX& box = kPage) {
        PaintAs(golden, box);
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

// Row 0 on the highlight box over the whole value, the other rows on grey; the highlighted row is marked
// as shown. A mode name on the box stays left of its right cap, the widest (AC+DC-Sync) whole on it.
TEST_F(HomePanel, FirstPageOfAcDcIntWithTheFirstRowHighlighted) {
    g_OutputModeIdx.store(0);
    Expect("home_panel_acdc_int");
    EXPECT_EQ(g_HomePage.rowMask.load(), 1u);
    EXPECT_EQ(std::count(text_.begin(), text_.end(), '\n'), 12) << "windows 6-11 show nothing in 3P4W";
    Select(1);
    Expect("home_panel_mode_acdc_int");
    g_OutputModeIdx.store(7);
    Expect("home_panel_mode_acdc_sync");
}

// AC-INT's second page starts at ON Phs; Wave and duty share the third window, so TEST follows it.
TEST_F(HomePanel, SecondPageOfAcIntClosesOverTheDutyRow) {
    Select(6);
    paramPutState(kParamOnPhase, 0, 0);  // both angles FREE
    paramPutState(kParamOffPhase, 0, 0);
    Expect("home_panel_ac_int_page2");
    EXPECT_EQ(g_HomePage.rowMask.load(), 1u << 6);
    // Without a square wave the duty row cannot stay selected: the Wave window takes the selection back.
    Select(9);
    Paint();
    EXPECT_EQ(g_HomePage.panelRow.load(), 8u);
}

TEST_F(HomePanel, SquareWaveShowsItsDutyBesideTheWaveAndHighlightsOnlyTheSelectedPart) {
    for (int p = 0; p < 3; ++p)
        g_ParamStore.unit[p].waveform.value = 17;
    Select(9);  // the duty row
    Expect("home_panel_duty_selected", kValue2);
    EXPECT_EQ(g_HomePage.panelRow.load(), 9u);
    // The Wave row itself: the box over the name only.
    Select(8);
    Expect("home_panel_wave_selected", kValue2);
}

// A voltage below 100 V shows two decimals, from 100 V one; a negative DC voltage counts by its size.
TEST_F(HomePanel, VoltagesShowTwoDecimalsBelow100VoltsAndOneFrom100) {
    g_OutputModeIdx.store(0);  // AC+DC-INT: ACV in row 2, DCV in row 3
    g_OutputFlags.fetch_or(1u << 26);  // line L2 selected: its voltages show
    const std::tuple<int32_t, int32_t, const char*, const char*> cases[] = {
        {9999, -9999, "99.99 Vrms", "-99.99 Vdc"},
        {10000, -10000, "100.0 Vrms", "-100.0 Vdc"},
    };
    for (const auto& [acv, dcv, acvText, dcvText] : cases) {
        paramPutValue(kParamAcv, acv, 1);
        paramPutValue(kParamDcv, dcv, 1);
        Paint();
        EXPECT_EQ(Value(2), acvText);
        EXPECT_EQ(Value(3), dcvText);
    }
    g_OutputFlags.fetch_and(~(3u << 26));
}

// 1P2W shows all twelve rows; a selection past them would start a second page that lies beyond the
// layout's fourteen rows: it shows empty rows.
TEST_F(HomePanel, SinglePhaseShowsTwelveRowsAndNothingPastTheLayout) {
    g_PhaseMode.store(1);
    Expect("home_panel_1p2w", kAllRows);
    Select(13);
    Paint();
    EXPECT_EQ(text_, "");
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
        Paint();
        EXPECT_EQ(storeBytes(), before) << "page of row " << row;
    }
}

// What the panel shows clamped, the menu/control thread's pass writes back: the panel shows the same
// before and after it, and the store then holds what is shown.
TEST_F(HomePanel, WholeDegreeOnPhaseAbove359IsShownAndPutBackAs359) {
    Select(6);
    SetOnPhase(3595, 1, 0);
    Paint();
    EXPECT_EQ(Value(0).rfind("359", 0), 0u) << Value(0);
    const std::vector<uint16_t> shown = guitest::Screen();
    EXPECT_EQ(paramGetValue(kParamOnPhase, 0), 3595) << "not by the painter";
    home::HomeValues_Fit();
    EXPECT_EQ(paramGetValue(kParamOnPhase, 0), 3590);
    Paint();
    EXPECT_EQ(guitest::Screen(), shown);
    // Nothing is fitted switched off (the row reads FREE), with a decimal (the angle may go past 359), nor
    // off the shown page. {selected row, switched on, decimals, the start of the row's text}
    for (const auto& [row, on, decimals, shown] :
         {std::tuple{6u, 0, 0, "FREE"}, {6u, 1, 1, "359.5"}, {0u, 1, 0, "L1"}}) {
        Select(row);
        SetOnPhase(3595, on, decimals);
        Paint();
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
    Paint();
    EXPECT_EQ(Value(2).rfind("519.6", 0), 0u) << Value(2);
    const std::vector<uint16_t> shown = guitest::Screen();
    EXPECT_EQ(test::ReadRecord(kParamAcvLine, 0).max, 69282) << "not by the painter";
    home::HomeValues_Fit();
    ParamRec line = test::ReadRecord(kParamAcvLine, 0);
    EXPECT_EQ(line.max, 51962);
    EXPECT_EQ(line.value, 51962);
    EXPECT_EQ(line.min, ownMin);
    Paint();
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
    Paint();
    const std::string shownDc = Value(3);
    home::HomeValues_Fit();
    line = test::ReadRecord(kParamDcvLine, 0);
    EXPECT_EQ(line.max, dc.max * 2);
    EXPECT_EQ(line.min, dc.min * 2);
    EXPECT_EQ(line.value, dc.min * 2);
    Paint();
    EXPECT_EQ(Value(3), shownDc);
}

// In 1P3W the highlighted row decides whether an edit reaches both phases: not for the L1-L2 angle.
TEST_F(HomePanel, SplitPhaseHighlightSetsTheAllPhasesFlag) {
    g_PhaseMode.store(2);
    Select(11);  // L1 - L2 on the second page, window 4
    Paint();
    EXPECT_EQ(Value(4).rfind("120.0", 0), 0u);
    EXPECT_EQ(g_HomePage.allPhasesLock.load(), 0u);
    Select(0);
    Paint();
    EXPECT_EQ(g_HomePage.allPhasesLock.load(), 1u);
    g_PhaseMode.store(0);
    Paint();
    EXPECT_EQ(g_HomePage.allPhasesLock.load(), 0u);
}

// The indicator: its thumb over the upper half on the first page, the lower on the second; DC-INT has
// one page and no indicator.
TEST_F(HomePanel, PageIndicator) {
    Expect("home_panel_scroll_page1", GUI_BOX{705, 41, 712, 255});
    Select(7);
    Expect("home_panel_scroll_page2", GUI_BOX{705, 41, 712, 255});
    g_OutputModeIdx.store(2);
    Paint();
    EXPECT_EQ(WM_IsShown(g_HomeWin[home::kWinPanelScroll]), 0);
}

// The frame around the panel's lower rows and the phasor, in 1P2W without the phasor.
TEST_F(HomeCells, PanelLowerFrame) {
    g_PhaseMode.store(1);
    Make(home::kWinLowerFrame, body_, 506, 225, 210, 215, HomePaint_PanelLowerFrame);
    PaintAs("home_panel_lower_frame_1p2w", GUI_BOX{506, 253, 715, 467});
}

}  // namespace
