// The status bar on the framebuffer: each cell drawn from the instrument state at its place, the level
// bars' segments against the rating, and the refresh that repaints only the cells whose picture changed.
#include "panel/statusbar/status_bar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "GUI/draw/gui_2d.h"
#include "core/control/alarms/alarm_state.h"
#include "core/control/measure/meas_records.h"
#include "core/params/access/param_access.h"
#include "core/params/access/wiring_state.h"
#include "core/params/param_store.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/links/usb_state.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "sysadmin/net/net_state.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/GUI/text_observer.h"
#include "tests/support/default_store.h"

namespace {

constexpr uint16_t kTeal565 = 0x0410;
constexpr uint16_t kRed565 = 0xF800;

void PageBackground(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) return WM_DefaultHandler(msg);
    GUI_SetBackColor(0);
    GUI_ClearWindow();
}

class StatusBar : public ::testing::Test {
  protected:
    void SetUp() override {
        // The factory settings are built on a root of their own; the screen stays on the screen root.
        { test::DefaultStore store; }
        ASSERT_EQ(SetIrmsLimitMode(0), 0);
        ASSERT_EQ(SetIpkLimitMode(0), 0);
        ASSERT_EQ(SetRemoteSense(0), 0);
        OutputFlagClear(kOutFlagOutputOn);
        OutputFlagClear(kOutFlagRemote);
        guitest::FreshScreen();
        g_RatedVA = 6000;
        g_ParamFlags = 0;
        g_PhaseMode = 0;
        g_ParamStore.rangeCode[1] = 0;
        for (int p = 0; p < 3; ++p)
            g_DispCache[p].Set(kMfApparent, 0.0f);
        core::AlarmStateReset();
        g_UsbState.statusB = 0;
        g_UsbState.statusC = 0;
        g_UsbState.usbAccessError = 0;
        IfaceUsbByteSet(2, 0);
        g_ParallelActive = 0;
        g_NetMonState = 0;
        g_HomePage.presetSel = 0;
        g_HomePage.presetPending = 0;
        page_ = WM_CreateChild(0, 0, 800, 480, WM_GetDesktop(), WM_CF_SHOW, PageBackground, 0);
        ASSERT_NE(page_, 0);
    }
    void TearDown() override {
        GUI_SetTextHook(nullptr);
        g_HomePage.presetSel = g_HomePage.presetPrev = g_HomePage.presetPending = 0;
    }

    void Show() {
        ASSERT_EQ(StatusBar_Create(page_, &view_), 0);
        Paint();
    }
    void Paint() {
        WM_Run();
        screen_ = guitest::Screen();
    }
    uint16_t Px(int x, int y) const { return screen_[static_cast<size_t>(y) * 800 + x]; }
    // Lit pixels of a colour inside a rectangle (inclusive).
    int Count(int x0, int y0, int x1, int y1, uint16_t c) const {
        return guitest::CountColour(screen_, {int16_t(x0), int16_t(y0), int16_t(x1), int16_t(y1)}, c);
    }
    int NonBlack(int x0, int y0, int x1, int y1) const {
        return (x1 - x0 + 1) * (y1 - y0 + 1) - Count(x0, y0, x1, y1, 0);
    }
    bool Invalid(WM_HWINDOW h) const { return (wm::Locked(h)->status & WM_SF_INVALID) != 0; }
    // A page's change check, run until no cell is left changed: invalidates each cell it finds and counts
    // them.
    static int Refresh(statusbar::View* view) {
        statusbar::Inputs in;
        statusbar::ReadInputs(&in);
        int changed = 0;
        for (int cell = StatusBar_NextChange(view, in); cell >= 0; cell = StatusBar_NextChange(view, in)) {
            WM_Invalidate(view->cell[cell]);
            ++changed;
        }
        return changed;
    }

    WM_HWINDOW page_ = 0;
    statusbar::View view_{};
    std::vector<uint16_t> screen_;
};

const GUI_BOX kBarRect{0, 0, 719, 27};

TEST_F(StatusBar, BarAndCellsSitAtTheirPlacesInTheParent) {
    WM_HWINDOW lower = WM_CreateChild(0, 100, 800, 380, WM_GetDesktop(), WM_CF_SHOW, PageBackground, 0);
    ASSERT_EQ(StatusBar_Create(lower, &view_), 0);
    EXPECT_EQ(WM_GetParent(view_.bar), lower);
    EXPECT_EQ(WM_GetLeft(view_.bar), 0);
    EXPECT_EQ(WM_GetTop(view_.bar), 100);
    EXPECT_EQ(WM_GetWidth(view_.bar), 720);
    EXPECT_EQ(WM_GetHeight(view_.bar), 28);
    const int x[14] = {0, 46, 91, 126, 188, 250, 300, 335, 395, 445, 538, 598, 638, 700};
    const int w[14] = {46, 45, 35, 62, 62, 50, 35, 60, 50, 50, 55, 40, 62, 30};
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(WM_GetParent(view_.cell[i]), view_.bar) << i;
        EXPECT_EQ(WM_GetLeft(view_.cell[i]), x[i]) << i;
        EXPECT_EQ(WM_GetTop(view_.cell[i]), 100) << i;
        EXPECT_EQ(WM_GetHeight(view_.cell[i]), 24) << i;
        EXPECT_EQ(WM_GetWidth(view_.cell[i]), w[i]) << i;
        EXPECT_TRUE(WM_IsShown(view_.cell[i])) << i;
    }
}

TEST_F(StatusBar, OutputOffOnAndRecalledPreset) {
    Show();
    guitest::ExpectGolden("statusbar_off", kBarRect);  // "OFF" in yellow on black

    OutputFlagSet(kOutFlagOutputOn);
    ASSERT_EQ(Refresh(&view_), 1);
    Paint();
    guitest::ExpectGolden("statusbar_on", kBarRect);  // "ON" in black on yellow

    // A recalled preset takes the cell over, output on or not: white text over its grey shadow.
    g_HomePage.presetSel = 3;
    g_ParamFlags.fetch_or(core::kFlagPresetRecalled);
    ASSERT_EQ(Refresh(&view_), 1);
    Paint();
    guitest::ExpectGolden("statusbar_preset_m3", kBarRect);
    // The current preset; while a recall waits for its wiring confirmation the one before it.
    GUI_SetTextHook(drawn::Observe);
    for (const auto& [sel, pending, shown] : {std::tuple{5u, 1u, "M4"}, {5u, 0u, "M5"}}) {
        g_HomePage.presetPrev = 4;
        g_HomePage.presetSel = sel;
        g_HomePage.presetPending = pending;
        drawn::g_texts.clear();
        EXPECT_EQ(Refresh(&view_), 1) << shown;
        Paint();
        EXPECT_TRUE(drawn::DrawnAt(shown, 10, 0)) << drawn::All();
    }
}

TEST_F(StatusBar, LevelSegmentsOfAThirdOfTheRatingIn3P4W) {
    // 6000 VA across three phases: a third is 2000 VA per phase; a negative S counts by its magnitude,
    // capped at 100 %.
    const std::pair<float, const char*> cases[] = {{0.0f, "statusbar_level_0"},
                                                   {600.0f, "statusbar_level_30"},
                                                   {1900.0f, "statusbar_level_95"},
                                                   {2000.0f, "statusbar_level_100"},
                                                   {-2500.0f, "statusbar_level_100"}};
    for (const auto& [s, golden] : cases) {
        SCOPED_TRACE(s);
        g_DispCache[0].Set(kMfApparent, s);
        guitest::FreshScreen();
        page_ = WM_CreateChild(0, 0, 800, 480, WM_GetDesktop(), WM_CF_SHOW, PageBackground, 0);
        Show();
        guitest::ExpectGolden(golden, kBarRect);
    }
}

TEST_F(StatusBar, SegmentCountsFollowThePercent) {
    const int pct[] = {0, 1, 30, 31, 40, 41, 50, 51, 60, 61, 70, 71, 80, 81, 90, 91, 99, 100};
    const int segs[] = {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 8};
    for (size_t i = 0; i < std::size(pct); ++i)
        EXPECT_EQ(statusbar::LevelSegments(pct[i]), segs[i]) << pct[i];
    EXPECT_EQ(statusbar::LevelPercent(600.0f, 2000.0f), 30);
    EXPECT_EQ(statusbar::LevelPercent(-1900.0f, 2000.0f), 95);
    EXPECT_EQ(statusbar::LevelPercent(5000.0f, 2000.0f), 100);
    EXPECT_EQ(statusbar::LevelPercent(1999.9f, 2000.0f), 99);  // truncated, not rounded
    EXPECT_EQ(statusbar::LevelPercent(-std::numeric_limits<float>::infinity(), 2000.0f), 0);
}

TEST_F(StatusBar, NoRatingOrNonFiniteSShowsNoSegments) {
    g_DispCache[0].Set(kMfApparent, std::nanf(""));
    g_DispCache[1].Set(kMfApparent, std::numeric_limits<float>::infinity());
    g_DispCache[2].Set(kMfApparent, 1000.0f);
    Show();
    EXPECT_EQ(NonBlack(46, 0, 90, 9), 0);
    EXPECT_EQ(NonBlack(46, 10, 90, 12), 0);
    EXPECT_EQ(Px(49, 19), kTeal565);  // L3 still shows
    g_RatedVA = 0;
    ASSERT_EQ(Refresh(&view_), 1);
    Paint();
    EXPECT_EQ(NonBlack(46, 0, 90, 23), 0);
}

TEST_F(StatusBar, OnePhaseTwoWireDrawsOneBarAgainstTheWholeRating) {
    g_PhaseMode = 1;
    g_DispCache[0].Set(kMfApparent, 3000.0f);  // 50 % of 6000 VA: three segments
    g_DispCache[1].Set(kMfApparent, 6000.0f);  // not drawn in 1P2W
    Show();
    guitest::ExpectGolden("statusbar_1p2w", kBarRect);
    // Only the phases a wiring draws count for a refresh.
    g_DispCache[2].Set(kMfApparent, 2000.0f);
    EXPECT_EQ(Refresh(&view_), 0);
}

TEST_F(StatusBar, OnePhaseThreeWireDrawsTwoBars) {
    g_PhaseMode = 2;
    g_DispCache[0].Set(kMfApparent, 600.0f);
    g_DispCache[1].Set(kMfApparent, 2000.0f);
    Show();
    EXPECT_EQ(Px(49, 2), kTeal565);
    EXPECT_EQ(Px(49, 7), kTeal565);
    EXPECT_EQ(Px(56, 7), 0);
    EXPECT_EQ(Px(85, 13), kRed565);
    EXPECT_EQ(Px(85, 18), kRed565);
    EXPECT_EQ(NonBlack(46, 19, 90, 23), 0);
}

TEST_F(StatusBar, ShiftWinsOverRemote) {
    OutputFlagSet(kOutFlagRemote);
    Show();
    guitest::ExpectGolden("statusbar_rmt", kBarRect);

    g_ParamFlags.fetch_or(core::kFlagShiftLatched);
    ASSERT_EQ(Refresh(&view_), 1);
    Paint();
    guitest::ExpectGolden("statusbar_shift_over_rmt", kBarRect);
}

// The wiring's name and the range text are in the idle golden; a wiring outside the table draws no name,
// nor level bars.
TEST_F(StatusBar, WiringOutsideTheTableDrawsNothing) {
    Show();
    g_PhaseMode = 3;
    EXPECT_EQ(Refresh(&view_), 2);
    Paint();
    EXPECT_EQ(NonBlack(598, 0, 637, 23), 0);
    EXPECT_EQ(NonBlack(46, 0, 90, 23), 0);
}

TEST_F(StatusBar, RangeCodesShareThreeTexts) {
    // 0/2 (100 V), 1/3 (200 V), every other code AUTO: same text, same pixels.
    const uint32_t codes[] = {0, 2, 1, 3, 4, 6, 7};
    std::vector<std::vector<uint16_t>> cells;
    Show();
    for (uint32_t code : codes) {
        g_ParamStore.rangeCode[1] = code;
        Refresh(&view_);
        Paint();
        std::vector<uint16_t> cell;
        for (int y = 0; y < 24; ++y)
            for (int x = 91; x < 126; ++x)
                cell.push_back(Px(x, y));
        cells.push_back(cell);
    }
    const int text[] = {0, 0, 1, 1, 2, 2, 2};  // which of the three texts each code shows
    for (size_t i = 0; i < cells.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            EXPECT_EQ(cells[i] == cells[j], text[i] == text[j]) << codes[i] << " against " << codes[j];
}

TEST_F(StatusBar, IndicatorsAndIcons) {
    Show();
    // Idle: the IRMS and IPK boxes stay, dimmed; nothing else shows beside OFF, the range and wiring.
    guitest::ExpectGolden("statusbar_idle", kBarRect);

    g_UsbState.statusC = 1u << 1;
    IfaceUsbByteSet(2, 1u << 4);
    g_AlarmState.summary = 1;
    SetRemoteSense(1);
    g_UsbState.statusB = core::kUsbMounted;
    SetIrmsLimitMode(1);
    SetIpkLimitMode(1);
    g_ParallelActive = 1;
    g_NetMonState = 1;
    g_ParamFlags.fetch_or(core::kFlagKeysLocked);
    ASSERT_EQ(GetRemoteSense(), 1);
    EXPECT_EQ(Refresh(&view_), 9);
    Paint();
    guitest::ExpectGolden("statusbar_all_on", kBarRect);

    // The other USB class and the access-error stick are pictures of their own.
    IfaceUsbByteSet(2, 0);
    g_UsbState.usbAccessError = 1;
    EXPECT_EQ(Refresh(&view_), 2);
    Paint();
    guitest::ExpectGolden("statusbar_tmc_usb_error", kBarRect);
}

TEST_F(StatusBar, RefreshRepaintsOnlyChangedCells) {
    Show();
    EXPECT_EQ(Refresh(&view_), 0);
    for (int i = 0; i < 14; ++i)
        EXPECT_FALSE(Invalid(view_.cell[i])) << i;
    // A level change inside the same segment count shows nothing new.
    g_DispCache[0].Set(kMfApparent, 640.0f);  // 32 %
    EXPECT_EQ(Refresh(&view_), 1);
    g_DispCache[0].Set(kMfApparent, 700.0f);  // 35 %
    EXPECT_EQ(Refresh(&view_), 0);
    EXPECT_TRUE(Invalid(view_.cell[1]));
    Paint();
    EXPECT_FALSE(Invalid(view_.cell[1]));
    // From 95 % to 100 % only the colour of the last segment changes.
    g_DispCache[0].Set(kMfApparent, 1900.0f);
    EXPECT_EQ(Refresh(&view_), 1);
    g_DispCache[0].Set(kMfApparent, 2000.0f);
    EXPECT_EQ(Refresh(&view_), 1);
    // The wiring moves the level bars and the name.
    g_PhaseMode = 1;
    EXPECT_EQ(Refresh(&view_), 2);
    EXPECT_TRUE(Invalid(view_.cell[1]));
    EXPECT_TRUE(Invalid(view_.cell[11]));
    EXPECT_FALSE(Invalid(view_.cell[0]));
    // 100 V to 200 V repaints the range; 100 V code to its 1P2W twin does not.
    Paint();
    g_ParamStore.rangeCode[1] = 2;
    EXPECT_EQ(Refresh(&view_), 0);
    g_ParamStore.rangeCode[1] = 3;
    EXPECT_EQ(Refresh(&view_), 1);
    EXPECT_TRUE(Invalid(view_.cell[2]));
    // A second bar of another page keeps its own record.
    statusbar::View other{};
    ASSERT_EQ(StatusBar_Create(page_, &other), 0);
    EXPECT_EQ(Refresh(&other), 0);
    OutputFlagSet(kOutFlagOutputOn);
    EXPECT_EQ(Refresh(&view_), 1);
    EXPECT_EQ(Refresh(&other), 1);
}

}  // namespace
