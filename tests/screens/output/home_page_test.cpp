// The home page driven through its page operations, one update at a time, on a factory-default store:
// its window tree, the repaint queue, the layout after a show, the slave screen, and what each change
// repaints and when. Paints are counted by window, in the order the window manager delivers them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "GUI/wm/wm.h"
#include "core/control/measure/meas_records.h"
#include "core/control/measure/measurement.h"
#include "core/params/access/param_access.h"
#include "core/params/access/wiring_state.h"
#include "core/params/param_store.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/edit_state.h"
#include "screens/output/home/home_dirty_queue.h"
#include "screens/output/home/home_layout.h"
#include "screens/output/home/home_screen.h"
#include "screens/output/home/home_windows.h"
#include "screens/output/keys/home_keys.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/screens/output/status_words_fixture.h"
#include "tests/support/default_store.h"

namespace {

using namespace home;

std::vector<int> g_painted;
WM_CALLBACK* g_original[kWinCount];

void CountingPaint(WM_MSG_RECORD* msg) {
    const int i = HomeWin_IndexOf(msg->hWin);
    if (msg->MsgId == WM_MSG_PRE_PAINT) g_painted.push_back(i);
    g_original[i](msg);
}

int Count(const std::vector<int>& painted, int win) {
    return static_cast<int>(std::count(painted.begin(), painted.end(), win));
}
std::vector<int> Counts(const std::vector<int>& painted, std::initializer_list<int> wins) {
    std::vector<int> out;
    for (int win : wins)
        out.push_back(Count(painted, win));
    return out;
}
using V = std::vector<int>;

WM_HWINDOW W(int win) {
    return g_HomeWin[win];
}
// Whether each window is shown: a digit a window.
std::string Shown(std::initializer_list<int> wins) {
    std::string out;
    for (int win : wins)
        out += std::to_string(WM_IsShown(W(win)));
    return out;
}

class HomePage : public ::testing::Test {
  protected:
    void SetUp() override {
        guitest::UseScreenRoot();
        test::DefaultSettings();
        guitest::FreshScreen();
        ASSERT_EQ(paramPutValue(kParamParallelPosition, 1, 0), 0);
        g_MenuState.store(1);
        g_HomePage.panelRow.store(0);
        g_HomePage.viewSel.store(0);
        g_HomePage.rowMask.store(0x3FFF);
        g_OutputRefresh.store(0);
        g_MeasRefreshFlags.store(0);
        g_ParallelActive.store(0);
        home::ResetForTest();
        HomeScreen_Create();
        for (int i = 0; i < kWinCount; ++i) {
            wm::Locked w(g_HomeWin[i]);
            ASSERT_TRUE(w) << "window " << i;
            g_original[i] = w->cb;
            w->cb = CountingPaint;
        }
        HomeScreen_Hide();
        HomeScreen_Show();
    }
    void TearDown() override {
        EXPECT_TEXTS_WHOLE();
        home::ResetForTest();
        g_MeasRefreshFlags.store(0);
        g_OutputRefresh.store(0);
        g_ParallelActive.store(0);
    }
    // One update; the windows it painted.
    std::vector<int> Update() {
        g_painted.clear();
        HomeScreen_Update();
        return g_painted;
    }
    // The menu state moved on, and one update.
    std::vector<int> Go(uint32_t state) {
        g_MenuState.store(state);
        return Update();
    }
    // Updates until two in a row paint nothing: every difference with the caches is shown.
    void Settle() {
        int quiet = 0;
        for (int i = 0; i < 200 && quiet < 2; ++i) {
            const bool painted = !Update().empty();
            quiet = painted || HomeDirty_FreeSlots() != 127 || g_HomeRedrawCountdown != 0 ? 0 : quiet + 1;
        }
        ASSERT_EQ(quiet, 2) << "the page keeps repainting";
    }
    // The other screen tests of this program draw from the store as the program starts: it is put back.
    screentest::StatusWords words_;
    screentest::StoreCopy store_;
};

// A page drawn over another leaves none of its pixels (the separator's top row among them), in 3P4W and in
// 1P2W with its lower panel frame.
TEST_F(HomePage, EveryPixelOfThePageIsPainted) {
    Settle();
    std::vector<int> left = guitest::UnpaintedPixels();
    EXPECT_TRUE(left.empty()) << "3P4W: " << guitest::Describe(left);
    g_PhaseMode.store(1);
    Settle();
    left = guitest::UnpaintedPixels();
    EXPECT_TRUE(left.empty()) << "1P2W: " << guitest::Describe(left);
    g_PhaseMode.store(0);
}

// The page as it shows settled holds every shown window at its place; the hidden ones are looked up.
TEST_F(HomePage, TreeIsBuiltOnceWithItsPlacesAndVisibility) {
    EXPECT_NE(g_PagesCreated.load() & kPageBitHome, 0);
    EXPECT_EQ(g_PageId.load(), kPageIdHome);
    Settle();
    WM_Run();
    guitest::ExpectGolden("home_page_3p4w", GUI_BOX{0, 0, 799, 479});
    // {window, x, y, width, height} on screen: PF, a label and a value of the panel's second page.
    const std::array<int, 5> places[] = {
        {kWinPowerCell0 + 5, 365, 28 + 406, 135, 27}, {PanelLabelWin(11), 526, 28 + 410, 65, 25},
        {PanelValueWin(7), 596, 28 + 266, 108, 30}, {kWinItemList0 + 3, 650, 28 + 220, 70, 225},
        {kWinLineListHead, 592, 28 + 18, 105, 21}};
    for (const auto& [win, x, y, w, h] : places) {
        const WM_HWINDOW hw = W(win);
        EXPECT_EQ((std::array{WM_GetLeft(hw), WM_GetTop(hw), WM_GetWidth(hw), WM_GetHeight(hw)}),
                  (std::array{x, y, w, h})) << "window " << win;
    }
    // A list's highlight shows with its list.
    EXPECT_EQ(
        Shown({kWinSlave, kWinItemList0, kWinItemList0 + 3, kWinModeList, kWinLineList, kWinItemListHead0}),
        "000001");
}

TEST_F(HomePage, QueueHolds127AndDropsThe128th) {
    Settle();
    HomeDirty_Flush();
    for (int i = 0; i < 127; ++i)
        HomeDirty_Push(W(kWinVerticalBar));
    EXPECT_EQ(HomeDirty_Push(W(kWinSlave)), -1) << "the 128th is dropped";
    EXPECT_EQ(HomeDirty_Flush(), -1);
}

TEST_F(HomePage, HideAndShowEmptyTheQueueAndLayOutTheBodyAgain) {
    Settle();
    EXPECT_EQ(g_HomeRedrawCountdown, 0u);
    HomeDirty_Push(W(kWinSeparator));
    HomeScreen_Hide();
    EXPECT_EQ(Shown({kWinBody, kWinRoot}), "00");
    HomeScreen_Show();
    EXPECT_EQ(g_HomeRedrawCountdown, 2u) << "the body was hidden";
    EXPECT_TRUE(Update().empty()) << "the object starts again from its init, which drops the queue";
    EXPECT_EQ(HomeDirty_FreeSlots(), 127);
    const std::vector<int> first = Update();
    const int countdown = static_cast<int>(g_HomeRedrawCountdown);
    EXPECT_EQ((V{Count(first, kWinSeparator), countdown, WM_IsShown(W(kWinBody))}), (V{0, 1, 0}));
    const std::vector<int> layout = Update();
    EXPECT_EQ(g_HomeRedrawCountdown, 0u);
    EXPECT_EQ(Count(layout, kWinBody), 1) << "the body paints at once";
    // 3P4W: six rows a page.
    EXPECT_EQ(Shown({kWinBody, kWinStatusBar, kWinSlave, PanelValueWin(5), PanelValueWin(6), kWinLowerFrame,
                     kWinPanelScroll}),
              "1101001");

    // Shown again while the body is visible: no layout pass.
    HomeScreen_Show();
    EXPECT_EQ(g_HomeRedrawCountdown, 0u);

    // The display keys' hide and show come from the key thread, which touches no window: the next update
    // carries them out.
    HomeDirty_Push(W(kWinSeparator));
    g_HomeScreenHide.load()();
    g_HomeScreenShow.load()();
    EXPECT_EQ(WM_IsShown(W(kWinBody)), 1);
    EXPECT_TRUE(Update().empty()) << "hidden, shown and started again: the queue is dropped";
    EXPECT_EQ(g_HomeRedrawCountdown, 2u);
    Update();
    EXPECT_EQ(Count(Update(), kWinBody), 1) << "laid out again";
}

TEST_F(HomePage, SlaveUnitShowsTheSlaveScreenUntilItOwnsItsSettings) {
    ASSERT_EQ(paramPutValue(kParamParallelPosition, 0, 0), 0);
    ASSERT_EQ(paramPutValue(kParamParallelNumber, 3, 0), 0);
    g_ParallelActive.store(1);
    for (int i = 0; i < 6; ++i)
        Update();
    EXPECT_EQ(g_HomeRedrawCountdown, 1u) << "tried again on every update";
    EXPECT_EQ(Shown({kWinSlave, kWinStatusBar, kWinSoftKeyColumn, kWinPhaseHeader, kWinBody}), "10000");
    g_painted.clear();
    WM_Run();
    guitest::ExpectGolden("home_slave_screen", GUI_BOX{0, 0, 799, 479});  // "Slave 3" at (200, 200)

    ASSERT_EQ(paramPutValue(kParamParallelPosition, 1, 0), 0);
    Update();
    EXPECT_EQ(g_HomeRedrawCountdown, 0u);
    EXPECT_EQ(Shown({kWinSlave, kWinStatusBar}), "01");
}

// The selected line's settings (L2, chosen after the first output-mode change, which selects L1).
TEST_F(HomePage, TwoSettingsChangedTogetherRepaintOnConsecutiveCalls) {
    Settle();
    paramPutValue(kParamMeasItem1 + 5, 1, 0);
    Settle();
    ASSERT_EQ(paramPutValue(kParamAcv, 12340, 1), 0);
    ASSERT_EQ(paramPutValue(kParamFreq, 6000, 1), 0);
    EXPECT_TRUE(Update().empty()) << "queued, painted by the next call";
    const std::vector<int> acv = Update(), freq = Update();
    // Set cells ACV, DCV, FREQ (L1, L3); AC-INT's voltage row 2, the frequency's row 4 a call later, then
    // ON, OFF and Wave, whose formats follow it (rows 6-8: windows 0-2); not the two keys or the phasor.
    EXPECT_EQ(Counts(acv, {SetCellWin(0, 0), SetCellWin(1, 0), SetCellWin(2, 2), PanelValueWin(2),
                           PanelValueWin(4)}), (V{1, 0, 1, 1, 0}));
    EXPECT_EQ(Counts(freq, {SetCellWin(0, 1), SetCellWin(2, 1), PanelValueWin(4), PanelValueWin(0),
                            PanelValueWin(1), PanelValueWin(2), kWinLineKey, kWinEachAllKey, kWinPhasor}),
              (V{0, 1, 1, 1, 1, 1, 0, 0, 0}));
    EXPECT_TRUE(Update().empty());
    ASSERT_EQ(paramPutValue(kParamBalance2, paramGetValue(kParamBalance2, 0) + 10, 0), 0);
    Update();
    EXPECT_EQ(Counts(Update(), {kWinPhasor, PanelValueWin(4), kWinSetCell0}), (V{1, 1, 0})) << "L1-L2 angle";
}

// Every measured field of every live and display record reads v.
void NewReading(float v) {
    for (int r = 0; r < kMeasRows; ++r)
        for (int f = 16; f < kMeasFields; ++f) {
            g_DispCache[r].Set(f, v);
            g_MeasLive[r].Set(f, v);
        }
}

TEST_F(HomePage, MeterCellsRepaintOnTheirCountdownOnlyWithANewReading) {
    for (int32_t rate : {1, 0}) {
        ASSERT_EQ(paramPutValue(kParamUpdateRate, rate, 0), 0);
        Settle();
        std::vector<int> calls;
        for (int call = 0; call < 40; ++call) {
            NewReading(100.0f + static_cast<float>(call));
            g_MeasRefreshFlags.store(kMeasRefreshDue);
            const std::vector<int> painted = Update();
            if (Count(painted, MeterCellWin(0)) == 1) {
                calls.push_back(call);
                EXPECT_EQ(Count(painted, MeterCellWin(11)), 1);
            }
        }
        const int period = rate == 1 ? 6 : 11;
        ASSERT_GE(calls.size(), 3u) << "rate " << rate;
        for (size_t i = 1; i < calls.size(); ++i)
            EXPECT_EQ(calls[i] - calls[i - 1], period) << "rate " << rate;
    }
    // Without the new-reading bit the countdown passes by.
    g_MeasRefreshFlags.store(0);
    NewReading(1.0f);
    Update();
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(Count(Update(), MeterCellWin(0)), 0);
}

// An idle unit's readings repeat: a countdown repaints only the cells whose text a new reading changes,
// and a change that comes between two such countdowns is still shown at the next one.
TEST_F(HomePage, ANewReadingRepaintsOnlyTheCellsItChanges) {
    ASSERT_EQ(paramPutValue(kParamUpdateRate, 1, 0), 0);
    g_HomePage.viewSel.store(1);  // the total power in place of the set values
    NewReading(50.0f);
    g_MeasRefreshFlags.store(kMeasRefreshDue);
    Settle();
    auto countdown = [&] {
        std::vector<int> all;
        for (int i = 0; i < 12; ++i) {
            g_MeasRefreshFlags.store(kMeasRefreshDue);
            const std::vector<int> painted = Update();
            all.insert(all.end(), painted.begin(), painted.end());
        }
        return all;
    };
    std::vector<int> painted = countdown();
    EXPECT_TRUE(painted.empty()) << "no cell, no power value";

    g_DispCache[1].Set(kMfVrms, 230.0f);  // L2's voltage only
    painted = countdown();
    EXPECT_EQ(Counts(painted, {MeterCellWin(4), MeterCellWin(0), MeterCellWin(8), kWinPowerCell0}),
              (V{1, 0, 0, 0}));
    g_MeasLive[0].Set(kMfVrmsTotal, 400.0f);  // the total voltage only
    painted = countdown();
    EXPECT_EQ(Counts(painted, {kWinPowerCell0, kWinPowerCell0 + 1, MeterCellWin(4)}), (V{1, 0, 0}));

    // The hold greys every value and its end whitens them again, though no reading changed; the next
    // countdown finds them all shown.
    g_ParamFlags.fetch_or(core::kFlagMeterHold);
    EXPECT_EQ(Count(countdown(), MeterCellWin(0)), 1);
    g_ParamFlags.fetch_and(~core::kFlagMeterHold);
    EXPECT_EQ(Count(countdown(), MeterCellWin(0)), 1);
    EXPECT_EQ(Count(countdown(), MeterCellWin(0)), 0);
}

// A window over the meter (the message popup's place, 240, 160, 250 x 60) goes after the readings changed
// under it and before the countdown came: the cells it covered in part show the new readings whole, as
// the page painted afresh shows them, and not the old ones where it did not cover them.
TEST_F(HomePage, CellsAWindowCoveredInPartAreWholeAfterItGoes) {
    ASSERT_EQ(paramPutValue(kParamUpdateRate, 1, 0), 0);
    NewReading(125.0f);
    g_MeasRefreshFlags.store(kMeasRefreshDue);
    Settle();
    const WM_HWINDOW above = WM_CreateTop(240, 160, 250, 60, WM_CF_SHOW, [](WM_MSG_RECORD* msg) {
        if (msg->MsgId != WM_MSG_PAINT) return;
        SetColorRGB(0x00FF00);
        GUI_FillBox(0, 0, 250, 60);
    }, 0);
    WM_Run();
    NewReading(0.0f);
    WM_Hide(above);
    WM_Run();
    WM_Run();
    const std::vector<uint16_t> gone = guitest::Screen();
    for (int i = 0; i < 12; ++i) {
        g_MeasRefreshFlags.store(kMeasRefreshDue);
        Update();
        WM_Run();
    }
    const std::vector<uint16_t> counted = guitest::Screen();
    HomeScreen_Hide();
    HomeScreen_Show();
    Settle();
    WM_Run();
    const std::vector<uint16_t> afresh = guitest::Screen();
    // The pixels of box (x0, y0)-(x1, y1) where shown differs from the page painted afresh.
    const auto stale = [&afresh](const std::vector<uint16_t>& shown, int x0, int y0, int x1, int y1) {
        std::vector<int> out;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if (shown[y * 800 + x] != afresh[y * 800 + x]) out.push_back(y * 800 + x);
        return guitest::Describe(out);
    };
    // The four cells it covered in part (L2 and L3, rows 2 and 3) before any countdown; the whole grid
    // after it.
    EXPECT_EQ(stale(gone, 175, 143, 518, 253), "0 pixels unpainted") << "as the window goes";
    EXPECT_EQ(stale(counted, 4, 76, 518, 320), "0 pixels unpainted") << "after the countdown";
}

TEST_F(HomePage, WiringChangeTo1P3WForcesBalanceLineL1PhaseViewAndSetValues) {
    SetPhaseBalanceMode(0);
    Settle();
    paramPutValue(kParamMeasItem1 + 5, 1, 0);  // line L2
    paramPutValue(kParamMeasItem7, 1, 0);      // LINE view
    g_HomePage.viewSel.store(1);                  // total power
    g_HomePage.panelRow.store(4);
    Settle();
    EXPECT_EQ(Shown({kWinPowerCell0, SetCellWin(0, 0)}), "10");

    g_PhaseMode.store(2);
    Update();
    EXPECT_EQ((V{GetPhaseBalanceMode(), GetSelectedLine(), GetPhaseLineView()}), (V{1, 0, 0}));
    EXPECT_EQ(g_HomePage.viewSel.load(), 0u);
    EXPECT_EQ(g_HomePage.panelRow.load(), 0u);
    EXPECT_EQ(g_EditAllPhases.load(), 1);
    EXPECT_EQ(Shown({kWinPowerCell0, SetCellWin(0, 0)}), "01") << "set values instead of the total power";
    const std::vector<int> painted = Update();
    EXPECT_EQ(Count(painted, kWinStatusCell0 + 11), 1) << "the wiring cell";
    for (int n = 0; n < 9; ++n)
        EXPECT_GE(Count(painted, kWinSetCell0 + n), 1) << n;
    for (int n = 0; n < 6; ++n)
        EXPECT_GE(Count(painted, PanelValueWin(n)), 1) << n;
    EXPECT_EQ(Shown({kWinVerticalBar, PanelValueWin(6)}), "10");
}

TEST_F(HomePage, OutputModeChangeSelectsRowOneOrRowZeroRightAfterAWiringChange) {
    Settle();
    ASSERT_EQ(GetOutputMode(), 1u) << "AC-INT";
    g_HomePage.panelRow.store(5);
    g_OutputModeIdx.store(0);
    std::vector<int> painted = Update();
    EXPECT_EQ(g_HomePage.panelRow.load(), 1u);
    EXPECT_EQ(g_HomePage.rowMask.load(), 0u);
    painted = Update();
    for (int n = 0; n < 12; ++n)
        EXPECT_EQ(Count(painted, MeterCellWin(n)), 1) << n;
    EXPECT_EQ(Count(painted, kWinSoftKey0 + 3), 1);
    Settle();

    g_PhaseMode.store(1);  // 1P2W
    Update();
    g_OutputModeIdx.store(1);
    Update();
    EXPECT_EQ(g_HomePage.panelRow.load(), 0u) << "the wiring change asked for the first row";
    EXPECT_EQ(Shown({kWinPanelScroll, PanelValueWin(11)}), "01") << "1P2W shows all rows, no page indicator";
    Settle();
    g_OutputModeIdx.store(0);
    Update();
    EXPECT_EQ(g_HomePage.panelRow.load(), 1u);
}

TEST_F(HomePage, StatusChainHandlesTheFirstDifferenceOnEachCall) {
    Settle();
    g_ParamFlags.fetch_or(core::kFlagKeysLocked | core::kFlagPresetMode);
    Update();
    std::vector<int> painted = Update();
    EXPECT_EQ(Count(painted, kWinStatusCell0), 1) << "preset mode: the output cell";
    for (int n = 0; n < 8; ++n)
        EXPECT_EQ(Count(painted, kWinSoftKey0 + n), 1) << "and every soft key";
    EXPECT_EQ(Count(painted, kWinStatusCell0 + 13), 0) << "the key lock waits a call";
    painted = Update();
    EXPECT_EQ(Counts(painted, {kWinStatusCell0 + 13, kWinStatusCell0}), (V{1, 0}));
    g_ParamFlags.fetch_and(~(core::kFlagKeysLocked | core::kFlagPresetMode));
}

TEST_F(HomePage, ItemListOpensWithItsStateAndItsHighlightFollowsTheItem) {
    Settle();
    ASSERT_EQ(paramPutValue(kParamMeasItem1, 2, 0), 0);
    Settle();
    g_EditShown.workValue = 0;  // the menu thread's published edit words can lag the state
    std::vector<int> painted = Go(38);
    const WM_HWINDOW list = W(kWinItemList0), head = W(kWinItemListHead0);
    EXPECT_EQ(WM_IsShown(list), 1);
    EXPECT_EQ(WM_GetHeight(list), 325) << "AC-INT";
    EXPECT_EQ(WM_GetTop(head) - WM_GetTop(list), 50);
    ASSERT_EQ(paramPutValue(kParamMeasItem1, 3, 0), 0);
    Update();
    EXPECT_EQ(WM_GetTop(head) - WM_GetTop(list), 75) << "25 pixels an item";
    EXPECT_EQ(g_EditParam.workValue.load(), 3);
    Go(1);
    EXPECT_EQ(WM_IsShown(list), 0);
    painted = Update();
    EXPECT_EQ(Count(painted, ItemKeyWin(0)), 1) << "ITEM1's key shows the list closed";
}

TEST_F(HomePage, ModeAndLineListsOpenWithTheirStatesAndFollowTheEditedValue) {
    Settle();
    const WM_HWINDOW modes = W(kWinModeList), modeHead = W(kWinModeListHead);
    g_EditShown.workValue = 0;
    Go(46);
    EXPECT_EQ(WM_IsShown(modes), 1);
    EXPECT_EQ(WM_GetTop(modeHead) - WM_GetTop(modes), 4);
    EXPECT_EQ(WM_GetLeft(modeHead) - WM_GetLeft(modes), 3);
    g_EditShown.workValue = 3;
    Update();
    EXPECT_EQ(WM_GetTop(modeHead) - WM_GetTop(modes), 21 * 3 + 4);
    Go(1);
    EXPECT_EQ(WM_IsShown(modes), 0);
    std::vector<int> painted = Update();
    EXPECT_EQ(Counts(painted, {kWinSoftKey0, SetCellWin(2, 2), PanelValueWin(5)}), (V{1, 1, 1}));
    Go(46);
    EXPECT_EQ(WM_GetTop(modeHead) - WM_GetTop(modes), 21 * 3 + 4) << "opens on the last highlight";
    g_MenuState.store(1);
    Settle();

    // 1P2W offers one line: the line list opens on it whatever was highlighted last.
    const WM_HWINDOW lines = W(kWinLineList), lineHead = W(kWinLineListHead);
    g_MenuState.store(45);
    g_EditShown.workValue = 2;
    Update();
    Update();
    EXPECT_EQ(WM_GetTop(lineHead) - WM_GetTop(lines), 21 * 2 + 4);
    Go(1);
    g_PhaseMode.store(1);
    Settle();
    Go(45);
    EXPECT_EQ(WM_IsShown(lines), 1);
    EXPECT_EQ(WM_GetTop(lineHead) - WM_GetTop(lines), 4);
    Go(1);
    EXPECT_EQ(WM_IsShown(lines), 0);
}

// Graphics memory that holds only part of the tree: the rest stays 0, one line tells of it, and the page
// runs on.
TEST(HomePageMemory, AFailedCreateIsToldOnceAndThePageRunsOn) {
    guitest::FreshScreen();
    home::ResetForTest();
    std::vector<GUI_HBLOCK> filler;
    for (GUI_HBLOCK h; (h = GUI_ALLOC_NewBlock(sizeof(WM_WINDOW))) != 0;)
        filler.push_back(h);
    ASSERT_GT(filler.size(), 40u);
    for (int i = 0; i < 30; ++i) {
        GUI_ALLOC_ReleaseBlock(filler.back());
        filler.pop_back();
    }
    testing::internal::CaptureStderr();
    HomeScreen_Create();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(W(kWinRoot), 0);
    EXPECT_EQ(W(kWinSoftKey0 + 7), 0);
    EXPECT_EQ(W(kWinSoftKeyColumn), 0);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("windows not created"), std::string::npos) << err;
    HomeScreen_Hide();
    HomeScreen_Show();
    for (int i = 0; i < 20; ++i)
        HomeScreen_Update();
    WM_Run();
    for (GUI_HBLOCK h : filler)
        GUI_ALLOC_ReleaseBlock(h);
    home::ResetForTest();
}

}  // namespace
