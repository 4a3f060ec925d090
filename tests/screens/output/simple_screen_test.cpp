// The simple page on the framebuffer, driven through its page operations: what the text log records at
// each cell's screen position after the view words change, the harmonic view with its held popup, and
// the page's repaint queue.
#include "screens/output/simple/simple_screen.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <utility>
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

constexpr const char* kWhite = "0xFFFF";
constexpr const char* kGrey = "0xDEFB";  // 0xDEDEDE
constexpr const char* kBlack = "0x0000";

using screentext::KeyY;
using screentext::Pixel;

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
// The harmonic columns' rows.
int HarmRowY(int j) {
    return 99 + 37 * j;
}

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
        g_MenuState.store(0);
        g_ParamFlags.store(0);
        core::g_OutputStatusMirror.store(0);
        core::HarmonicsReset();
        MsgQueue_Clear();
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
    // Whether "x y align colour font text" was logged since the mark.
    bool Drawn(int x, int y, const char* colour, const std::string& text,
               const char* font = "Font20a") const {
        return screentext::Logged(Log().substr(mark_), x, y, text, colour, font);
    }
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
    for (int c = 0; c < 3; ++c) {
        EXPECT_TRUE(Drawn(20 + 233 * c, 41, kWhite, std::string("L") + char('1' + c), "Font24a")) << Log();
        for (const auto& [row, label] : {std::pair{0, "V"}, {1, "I"}, {6, "P"}, {10, "CF"}})
            EXPECT_TRUE(Drawn(LabelX(c), CellY(row), kWhite, label)) << row;
    }
    EXPECT_TRUE(Drawn(760, KeyY(3, 3), kBlack, "[RMS]\\nAVG\\nPEAK", "Font16a"));
    EXPECT_TRUE(Drawn(760, KeyY(0, 1), kBlack, "DISPLAY", "Font16a"));
    const std::vector<uint16_t> screen = guitest::Screen();
    EXPECT_EQ(screen[(CellY(0) + 24) * 800 + LabelX(0) + 59], Pixel(0x333333)) << "label cell";
    EXPECT_EQ(screen[(CellY(0) + 23) * 800 + ValueX(0)], Pixel(0x4D4D4D)) << "value cell, below its text too";

    Change([] { g_HomePage.meterSet.store(1); });
    for (int c = 0; c < 3; ++c) {
        EXPECT_TRUE(Drawn(LabelX(c), CellY(0), kWhite, "Vavg")) << Log();
        EXPECT_TRUE(Drawn(LabelX(c), CellY(1), kWhite, "Iavg"));
    }
    EXPECT_TRUE(Drawn(760, KeyY(3, 3), kBlack, "RMS\\n[AVG]\\nPEAK", "Font16a"));

    Change([] { g_HomePage.meterSet.store(2); });
    const char* peak[4] = {"Vmax", "Vmin", "Imax", "Imin"};
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_TRUE(Drawn(LabelX(c), CellY(r), kWhite, peak[r])) << r << " " << c << Log();
    EXPECT_FALSE(AnythingAt(LabelX(0), CellY(6))) << "only rows 0-3 repaint for a new set";
}

TEST_F(SimpleScreen, PhasesWithoutAnOutputAndTheDcRows) {
    SetPhaseMode(kWiring1P2W);
    Open();
    for (int c = 1; c < 3; ++c) {
        for (int r : {0, 1, 4, 5, 6, 7, 8, 9, 10})
            EXPECT_TRUE(Drawn(ValueX(c), CellY(r), kWhite, " - - - - ")) << r << " " << c << Log();
        EXPECT_FALSE(Drawn(ValueX(c), CellY(2), kWhite, " - - - - ")) << "a row of no quantity stays blank";
    }
    EXPECT_FALSE(Drawn(ValueX(0), CellY(0), kWhite, " - - - - "));
    EXPECT_TRUE(Drawn(760, KeyY(2, 2), kBlack, "[Simple]\\nHarm", "Font16a"));

    Change([] { SetOutputMode(kModeDcInt); });
    for (int c = 0; c < 3; ++c) {
        EXPECT_TRUE(AnythingAt(LabelX(c), CellY(7))) << "the S row repaints with the mode";
        for (int r = 7; r < 11; ++r) {
            for (const char* t : {"S", "Q", "PF", "CF"})
                EXPECT_FALSE(Drawn(LabelX(c), CellY(r), kWhite, t)) << r << " " << c;
            EXPECT_FALSE(Drawn(ValueX(c), CellY(r), kWhite, " - - - - "));
        }
    }
    Mark();
    SimpleScreen_Hide();
    SimpleScreen_Show();
    Pump(4);
    EXPECT_TRUE(Drawn(LabelX(0), CellY(6), kWhite, "P"));
    EXPECT_FALSE(Drawn(LabelX(0), CellY(7), kWhite, "S"));
    EXPECT_TRUE(Drawn(760, KeyY(2, 2), "0xFFFF", "[Simple]\\nHarm", "Font16a")) << "grey outside AC-INT";
}

TEST_F(SimpleScreen, FrozenMeterGreysEveryText) {
    Open();
    Change([] { g_ParamFlags.fetch_or(core::kFlagMeterHold); });
    for (int c = 0; c < 3; ++c) {
        EXPECT_TRUE(Drawn(LabelX(c), CellY(0), kGrey, "V")) << Log();
        EXPECT_TRUE(Drawn(LabelX(c), CellY(9), kGrey, "PF"));
    }
    EXPECT_FALSE(Drawn(LabelX(0), CellY(0), kWhite, "V"));
    EXPECT_TRUE(Drawn(760, KeyY(7, 2), kWhite, "RUN\\n[HOLD]", "Font16a"));
}

TEST_F(SimpleScreen, PresetModeKeysAndMeterRefreshes) {
    Open();
    Change([] { g_ParamFlags.fetch_or(core::kFlagPresetMode); });
    for (int k = 0; k < 8; ++k)
        EXPECT_TRUE(Drawn(760, KeyY(k, 2), kBlack, "Preset\\nM" + std::to_string(k), "Font16a"))
            << k << Log();
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

TEST_F(SimpleScreen, HarmonicPagesOrdersAndKeys) {
    g_HomePage.harmonicView.store(1);
    Open();
    EXPECT_TRUE(Drawn(14, 35, kBlack, "Harmonic Voltage Measure", "Font30x")) << Log();
    EXPECT_TRUE(Drawn(509, 45, kBlack, "THDv =", "Font24a"));
    EXPECT_TRUE(Drawn(699, 45, kBlack, "----", "Font24a")) << "THD with the output off";
    const std::vector<uint16_t> screen = guitest::Screen();
    EXPECT_EQ(screen[90 * 800 + 8], Pixel(0xF09020)) << "the container's orange box";
    EXPECT_EQ(screen[36 * 800 + 705], Pixel(0xF09020)) << "the header";
    EXPECT_EQ(screen[74 * 800 + 697], Pixel(0xF09020)) << "the THD cell's last row, under its text";
    EXPECT_EQ(screen[95 * 800 + 8], 0x0000) << "black below the box";
    const char* first[4] = {"1st", "2nd", "3rd", "4th"};
    for (int j = 0; j < 4; ++j) {
        EXPECT_TRUE(Drawn(77, HarmRowY(j), kWhite, first[j]));
        EXPECT_EQ(screentext::Style(Log(), 77, HarmRowY(j), first[j]), "1 0xFFFF Font20a") << "right-aligned";
    }
    EXPECT_TRUE(Drawn(427, HarmRowY(0), kWhite, "11th"));
    for (int j = 0; j < 10; ++j) {
        EXPECT_TRUE(Drawn(235, HarmRowY(j), kWhite, "----")) << j;
        EXPECT_TRUE(Drawn(695, HarmRowY(j), kWhite, "----")) << j;
    }
    EXPECT_TRUE(Drawn(760, KeyY(1, 3), kBlack, "[L1]\\nL2\\nL3", "Font16a"));
    EXPECT_TRUE(Drawn(760, KeyY(2, 2), kBlack, "Simple\\n[Harm]", "Font16a"));
    EXPECT_FALSE(AnythingAt(760, KeyY(4, 2))) << "no Page Up on page 0";
    EXPECT_TRUE(Drawn(760, KeyY(5, 2), kBlack, "Page\\nDown", "Font16a"));

    Change([] { g_HomePage.harmonicPage.store(1); });
    EXPECT_TRUE(Drawn(77, HarmRowY(0), kWhite, "21th")) << Log();
    EXPECT_TRUE(Drawn(77, HarmRowY(2), kWhite, "23th"));
    Change([] { g_HomePage.harmonicPage.store(4); });
    for (const auto& [x, row, order] :
         {std::tuple{77, 0, "81th"}, {77, 9, "90th"}, {427, 0, "91th"}, {427, 9, "100th"}})
        EXPECT_TRUE(Drawn(x, HarmRowY(row), kWhite, order)) << order;
    EXPECT_TRUE(Drawn(760, KeyY(4, 2), kBlack, "Page\\nUp", "Font16a"));
    EXPECT_FALSE(AnythingAt(760, KeyY(5, 2))) << "no Page Down on page 4";

    Change([] { g_HomePage.harmonicQuantity.store(1); });
    EXPECT_TRUE(Drawn(14, 35, kBlack, "Harmonic Current Measure", "Font30x"));
    EXPECT_TRUE(Drawn(509, 45, kBlack, "THDi  =", "Font24a"));
    EXPECT_TRUE(Drawn(760, KeyY(3, 2), kBlack, "THDv\\n[THDi]", "Font16a"));
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
    EXPECT_TRUE(Drawn(235, HarmRowY(0), kWhite, "120.0 Vrms")) << Log();
    EXPECT_TRUE(Drawn(235, HarmRowY(1), kWhite, "1.50 Vrms"));
    EXPECT_TRUE(Drawn(345, HarmRowY(0), kWhite, "100.0 %"));
    EXPECT_TRUE(Drawn(345, HarmRowY(1), kWhite, "1.2 %"));
    EXPECT_TRUE(Drawn(699, 45, kBlack, "2.3 %", "Font24a"));
    EXPECT_EQ(MsgQueue_Count(), 0u);

    Mark();
    ASSERT_EQ(paramPutValue(kParamFreq, 5500, 0), 0);
    Pump(12);
    EXPECT_TRUE(Drawn(235, HarmRowY(0), kWhite, "----")) << Log();
    EXPECT_TRUE(Drawn(699, 45, kBlack, "----", "Font24a"));
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
    EXPECT_TRUE(Drawn(235, HarmRowY(0), kWhite, "120.0 Vrms"));
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
