// The simple page on the framebuffer, driven through its page operations: what the text log records at
// each cell's screen position after the view words change, the harmonic view with its held popup, and
// the page's repaint queue.
#include "screens/output/simple/simple_screen.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/control/measure/harmonics.h"
#include "core/control/measure/measurement.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/config/model_table.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "panel/pages/text_log.h"
#include "platform/host/root.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/simple/simple_dirty.h"
#include "screens/output/simple/simple_windows.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/screens/output/status_words_fixture.h"
#include "tests/screens/screen_text.h"
#include "tests/support/default_store.h"

namespace {

// Screen positions: the table's cells, row r of phase column c.
int CellY(int r) {
    static constexpr int kY[11] = {13, 51, 89, 127, 165, 203, 241, 279, 317, 355, 395};
    return 31 + kY[r];
}
int LabelX(int c) {
    return 60 + 233 * c;
}
int ValueX(int c) {
    return 128 + 233 * c;
}
// The page below the status bar.
constexpr GUI_BOX kPage{0, 28, 799, 479};

class SimpleScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        guitest::FreshScreen();
        test::DefaultSettings();  // 3P4W, AC-INT, 50 Hz, line L1
        g_ParamFlags.store(0);
        g_MenuState.store(2);
        for (auto* w : {&g_HomePage.harmonicView, &g_HomePage.harmonicPage, &g_HomePage.meterSet,
                        &g_HomePage.harmonicQuantity})
            w->store(0);
        MsgQueue_Clear();
        log_ = plat::MapPath("/var/log/simple-text.log");
        std::remove(log_.c_str());
        ASSERT_EQ(TextLog_Start(log_), 0);
    }
    void TearDown() override {
        EXPECT_TEXTS_WHOLE();
        TextLog_Stop();
        EXPECT_EQ(screentext::MixedColumns(Log()), "") << "columns of mixed alignment";
        SimpleScreen_Hide();
        core::g_OutputStatusMirror.store(0);
        core::HarmonicsReset();
    }

    void Open() {
        SimpleScreen_Create();
        SimpleScreen_Show();
        Pump(4);
    }
    // Update calls, each followed by the window manager's paint pass.
    static void Pump(int calls) {
        for (int i = 0; i < calls; ++i) {
            SimpleScreen_Update();
            WM_Run();
        }
    }
    // Forgets what was logged so far.
    void Mark() { mark_ = Log().size(); }
    // A change of the words the page reads, from a mark, and the update calls that show it.
    template <class F>
    void Change(F change, int calls = 2) {
        Mark();
        change();
        Pump(calls);
    }
    std::string Log() const { return screentext::ReadText(log_); }
    // Any text logged at (x, y) since the mark.
    bool AnythingAt(int x, int y) const { return screentext::AnythingAt(Log().substr(mark_), x, y); }

    std::string log_;
    size_t mark_ = 0;
    // The other screen tests of this program draw from the store as the program starts: it is put back.
    screentest::StatusWords words_;
    screentest::StoreCopy store_;
};

TEST_F(SimpleScreen, TableLabelsFollowTheMeterSet) {
    Open();
    guitest::ExpectGolden("simple_table_rms", kPage);
    Change([] { g_HomePage.meterSet.store(1); });
    guitest::ExpectGolden("simple_table_avg", kPage);
    Change([] { g_HomePage.meterSet.store(2); });
    guitest::ExpectGolden("simple_table_peak", kPage);
    EXPECT_FALSE(AnythingAt(LabelX(0), CellY(6))) << "only rows 0-3 repaint for a new set";
}

// The phases a 1P2W output lacks show dashes, a row of no quantity stays blank; DC-INT has no S, Q, PF or
// CF rows, and the harmonic key is grey outside AC-INT.
TEST_F(SimpleScreen, PhasesWithoutAnOutputAndTheDcRows) {
    SetPhaseMode(kWiring1P2W);
    Open();
    guitest::ExpectGolden("simple_table_1p2w", kPage);
    Change([] { SetOutputMode(kModeDcInt); });
    for (int c = 0; c < 3; ++c) {
        EXPECT_TRUE(AnythingAt(LabelX(c), CellY(7))) << "the S row repaints with the mode";
    }
    SimpleScreen_Hide();
    SimpleScreen_Show();
    Pump(4);
    guitest::ExpectGolden("simple_table_1p2w_dc", kPage);
}

TEST_F(SimpleScreen, FrozenMeterGreysEveryText) {
    Open();
    Change([] { g_ParamFlags.fetch_or(core::kFlagMeterHold); });
    guitest::ExpectGolden("simple_table_frozen", kPage);
}

TEST_F(SimpleScreen, PresetModeKeysAndMeterRefreshes) {
    Open();
    Change([] { g_ParamFlags.fetch_or(core::kFlagPresetMode); });
    guitest::ExpectGolden("simple_keys_preset", GUI_BOX{720, 28, 799, 479});
    g_ParamFlags.fetch_and(~core::kFlagPresetMode);

    // Values repaint on a meter turn only when a refresh is due, and never while frozen.
    Pump(12);
    g_MeasRefreshFlags.fetch_and(~kMeasRefreshDue);
    Mark();
    Pump(12);
    EXPECT_FALSE(AnythingAt(ValueX(0), CellY(0))) << Log();
    g_MeasRefreshFlags.fetch_or(kMeasRefreshDue);
    Pump(12);
    EXPECT_TRUE(AnythingAt(ValueX(2), CellY(10)));
    EXPECT_EQ(g_MeasRefreshFlags.load() & kMeasRefreshDue, 0u);
    g_ParamFlags.fetch_or(core::kFlagMeterHold);
    Pump(2);
    Mark();
    g_MeasRefreshFlags.fetch_or(kMeasRefreshDue);
    Pump(12);
    EXPECT_FALSE(AnythingAt(ValueX(0), CellY(0))) << "frozen";
}

// A page drawn over another leaves none of its pixels, in the table and in the harmonic view.
TEST_F(SimpleScreen, EveryPixelOfThePageIsPainted) {
    Open();
    std::vector<int> left = guitest::UnpaintedPixels();
    EXPECT_TRUE(left.empty()) << "table: " << guitest::Describe(left);
    g_HomePage.harmonicView.store(1);
    Pump(2);
    left = guitest::UnpaintedPixels();
    EXPECT_TRUE(left.empty()) << "harmonic view: " << guitest::Describe(left);
}

// The harmonic view: its orange header with the THD, ten orders a column and two columns a page, the
// page keys only where there is a page to go to.
TEST_F(SimpleScreen, HarmonicPagesOrdersAndKeys) {
    g_HomePage.harmonicView.store(1);
    Open();
    guitest::ExpectGolden("simple_harm_page0", kPage);
    Change([] { g_HomePage.harmonicPage.store(4); });
    guitest::ExpectGolden("simple_harm_page4", kPage);
    Change([] { g_HomePage.harmonicQuantity.store(1); });
    guitest::ExpectGolden("simple_harm_current", kPage);
}

TEST_F(SimpleScreen, HarmonicValuesAndTheHeldFrequencyPopup) {
    HarmResult& h = g_HarmResult[0];
    h.VMag[1] = 120.0f;
    h.VMag[2] = 1.5f;
    h.VPct[0] = 2.34f;
    h.VPct[1] = 100.0f;
    h.VPct[2] = 1.25f;
    h.VInvalid = 0;
    g_ParamFlags.fetch_or(core::kFlagHarmActive);  // the harmonic task found the output on in AC-INT
    g_HomePage.harmonicView.store(1);
    Open();
    Pump(12);
    guitest::ExpectGolden("simple_harm_values", kPage);
    EXPECT_EQ(MsgQueue_Count(), 0u);

    ASSERT_EQ(paramPutValue(kParamFreq, 5500, 0), 0);
    Pump(12);
    guitest::ExpectGolden("simple_harm_held", kPage);
    ASSERT_EQ(MsgQueue_Count(), 1u);
    char text[64] = {};
    MsgQueue_CopyText(text, sizeof text);
    EXPECT_STREQ(text, "Only AC-INT And \n50/60Hz Active");
    uint32_t id = 0;
    ASSERT_EQ(MsgQueue_Pop(&id), 0);
    EXPECT_EQ(id, 8u) << "held, in red";
    Pump(24);
    EXPECT_EQ(MsgQueue_Count(), 0u) << "posted once, though the column repainted";

    MsgQueue_PostId(14);
    ASSERT_EQ(paramPutValue(kParamFreq, 5000, 0), 0);
    Pump(12);
    EXPECT_EQ(MsgQueue_Count(), 0u) << "the ring emptied at 50 Hz";
    guitest::ExpectGolden("simple_harm_values", kPage);
    ASSERT_EQ(paramPutValue(kParamFreq, 5500, 0), 0);
    Pump(12);
    EXPECT_EQ(MsgQueue_Count(), 1u) << "closed, so posted again";

    // Leaving the view at 55 Hz takes the popup with it.
    g_HomePage.harmonicView.store(0);
    Pump(4);
    EXPECT_EQ(MsgQueue_Count(), 0u);
}

TEST_F(SimpleScreen, QueueHoldsOneHundredTwentyEightAndShowsWhatItPaints) {
    Open();
    simple::DirtyClear();
    const WM_HWINDOW cell = g_SimpleWin[simple::ValueWin(0, 0)];
    WM_Hide(cell);
    for (int i = 0; i < simple::kDirtySlots; ++i)
        ASSERT_EQ(simple::DirtyPush(cell), 0) << i;
    EXPECT_EQ(simple::DirtyPush(cell), -1);
    EXPECT_EQ(simple::DirtyCount(), simple::kDirtySlots);
    Mark();
    simple::DirtyFlush();
    EXPECT_EQ(simple::DirtyCount(), 0);
    EXPECT_EQ(WM_IsShown(cell), 1);
    EXPECT_TRUE(AnythingAt(ValueX(0), CellY(0))) << "painted at once, without a paint pass";
    EXPECT_EQ(simple::DirtyPush(cell), 0);
}

}  // namespace
