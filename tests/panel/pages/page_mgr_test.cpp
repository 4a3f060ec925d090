// The page manager as the GUI thread drives it: pages built one per main pass, switched by the menu state
// through their machines, the display copy refreshed by word groups, the display adjustment applied late,
// and nothing moving while a screen copy is pending.
#include "panel/pages/page_mgr.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/control/measure/meas_records.h"
#include "core/params/param_store.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/sys_status.h"
#include "engine/seqsim/seqsim_data.h"
#include "panel/gui_thread.h"

namespace {

std::vector<std::string> g_calls;

// A page that records its operations; its create sets its bit and page id as a page's create does.
template <char Name, uint8_t Bit, uint32_t Id>
struct Rec {
    static void Create() {
        g_calls.push_back(std::string(1, Name) + ".create");
        g_PagesCreated.fetch_or(Bit);
        if (Id != 0) g_PageId.store(Id);
    }
    static void Enter() { g_calls.push_back(std::string(1, Name) + ".enter"); }
    static void Show() { g_calls.push_back(std::string(1, Name) + ".show"); }
    static void Hide() { g_calls.push_back(std::string(1, Name) + ".hide"); }
    static void Update() { g_calls.push_back(std::string(1, Name) + ".update"); }
    static constexpr PageDesc kDesc{Create, Enter, Show, Hide, Update};
};
using Home = Rec<'h', kPageBitHome, 1>;
using Simple = Rec<'s', kPageBitSimple, 2>;
using Overlay = Rec<'o', kPageBitOverlay, 0>;
using Cal = Rec<'c', kPageBitCal, 316>;
using Menu = Rec<'m', kPageBitMenu, 94>;
using SeqSim = Rec<'q', kPageBitSeqSim, 333>;

void SetSeqSimRunState(uint32_t state) {
    g_SeqSimBlock[0].runWord.store(state << 9);  // bits 9-24: the run state
}

class PageMgr : public ::testing::Test {
protected:
    void SetUp() override {
        PageMgr_SetPages({&Home::kDesc, &Simple::kDesc, &Overlay::kDesc, &Cal::kDesc, &Menu::kDesc,
                          &SeqSim::kDesc});
        panel::PageMgrReset();
        g_LcdApplied = IfaceLcdWord();
        g_LcdApplyCountdown = 0;
        g_MenuState.store(1);
        g_ParamFlags.store(0);
        SetSeqSimRunState(kRunPrepare);
        SysStatusClear(kSysScreenCopyPending);
        g_calls.clear();
    }
    void TearDown() override {
        PageMgr_SetPages({});
        panel::PageMgrReset();
        SysStatusClear(kSysScreenCopyPending);
        g_ParamFlags.store(0);
    }
    // One main pass: four GUI passes.
    static void MainPass() {
        for (int i = 0; i < 4; ++i)
            GuiThread_Pass();
    }
    // The calls of one main pass.
    static std::vector<std::string> Pass() {
        g_calls.clear();
        MainPass();
        return g_calls;
    }
    // Through the build into the running state, with the home page on screen.
    static void Running() {
        for (int i = 0; i < 9; ++i)
            MainPass();
        g_calls.clear();
    }
};

using Calls = std::vector<std::string>;

// Every GUI pass paints the edit words as the menu/control thread last published them: a change not yet
// published does not show.
TEST_F(PageMgr, GuiPassTakesTheEditWordsLastPublished) {
    Running();
    g_EditBuf.choiceValue = 99;
    g_EditParam.cursor = 3;
    panel::EditPublish();
    g_EditBuf.choiceValue = 100;
    GuiThread_Pass();
    EXPECT_EQ(g_EditShown.buf.choiceValue, 99u);
    EXPECT_EQ(g_EditShown.cursor, 3u);
    g_EditBuf = panel::EditBuf{};
    g_EditParam.cursor = 0;
    panel::EditPublish();
    GuiThread_Pass();
    EXPECT_EQ(g_EditShown.buf.choiceValue, 0u);
}

TEST_F(PageMgr, FirstMainPassShowsHomeAndTheNextFiveBuildOnePageEach) {
    for (int i = 0; i < 3; ++i)
        GuiThread_Pass();
    EXPECT_TRUE(g_calls.empty()) << "the manager runs on every fourth pass only";
    GuiThread_Pass();
    EXPECT_EQ(g_calls, (Calls{"h.create", "h.hide", "h.show"}));
    EXPECT_EQ(g_PageId.load(), 1u);
    EXPECT_EQ(Pass(), Calls{"s.create"});
    EXPECT_EQ(Pass(), Calls{"c.create"});
    EXPECT_EQ(Pass(), Calls{"m.create"});
    EXPECT_EQ(Pass(), Calls{"q.create"});
    EXPECT_EQ(Pass(), Calls{"o.create"});
    EXPECT_EQ(g_PagesCreated.load(), 63);
    EXPECT_EQ(Pass(), Calls{}) << "the pass after the overlay's build only starts the running state";
    // Running: the menu state becomes the page id, the overlay updates, the home machine shows home.
    EXPECT_EQ(Pass(), (Calls{"o.update", "h.show"}));
    EXPECT_EQ(g_PageId.load(), 1u);
    EXPECT_EQ(Pass(), (Calls{"o.update", "h.update"}));
}

TEST_F(PageMgr, HomeHidesOneMainPassBeforeTheMenuShows) {
    Running();
    g_MenuState.store(94);
    EXPECT_EQ(Pass(), (Calls{"o.update", "h.update"}));
    EXPECT_EQ(g_PageId.load(), 94u);
    EXPECT_EQ(Pass(), (Calls{"o.update", "h.hide"})) << "the pass that hides shows nothing";
    EXPECT_EQ(Pass(), (Calls{"o.update", "m.show"}));
    EXPECT_EQ(Pass(), (Calls{"o.update", "m.update"}));
    // A state that names no page keeps the page on screen.
    g_MenuState.store(47);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Pass(), (Calls{"o.update", "m.update"}));
    EXPECT_EQ(g_PageId.load(), 94u);
}

// A calibration point or the default confirmation entered straight from another page (a remote start,
// or the list left before a main pass saw it) shows the calibration page.
TEST_F(PageMgr, CalibrationStatesShowTheCalibrationPage) {
    for (uint32_t state : {317u, 328u, 329u}) {
        Running();
        g_MenuState.store(state);
        Pass();
        EXPECT_EQ(g_PageId.load(), 316u) << state;
        EXPECT_EQ(Pass(), (Calls{"o.update", "h.hide"})) << state;
        EXPECT_EQ(Pass(), (Calls{"o.update", "c.show"})) << state;
        g_MenuState.store(1);
        MainPass();
        MainPass();
    }
}

TEST_F(PageMgr, SeqSimPageWaitsForTheReadyEngine) {
    Running();
    g_MenuState.store(463);
    Pass();
    EXPECT_EQ(Pass(), (Calls{"o.update", "h.hide"}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Pass(), Calls{"o.update"}) << "nothing is shown while the engine prepares";
    SetSeqSimRunState(kRunReady);
    EXPECT_EQ(Pass(), (Calls{"o.update", "q.enter"}));
    EXPECT_EQ(Pass(), (Calls{"o.update", "q.show"}));
    EXPECT_EQ(Pass(), (Calls{"o.update", "q.update"}));
    // Leaving: the SEQ/SIM page hides a pass after the id moves; home shows on that same pass's successor.
    g_MenuState.store(1);
    EXPECT_EQ(Pass(), (Calls{"o.update", "h.show"}));
    EXPECT_EQ(Pass(), (Calls{"o.update", "h.update", "q.hide"}));
}

TEST_F(PageMgr, WhileAScreenCopyIsPendingNothingMoves) {
    Running();
    g_MenuState.store(94);
    SysStatusSet(kSysScreenCopyPending);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(Pass(), Calls{}) << "neither the overlay (and its popup timer) nor a page machine runs";
    EXPECT_EQ(g_PageId.load(), 1u);
    SysStatusClear(kSysScreenCopyPending);
    EXPECT_EQ(Pass(), (Calls{"o.update", "h.update"}));
    EXPECT_EQ(Pass(), (Calls{"o.update", "h.hide"}));
}

// The display adjustment is taken over when seen and applied 50 passes later; a change made meanwhile waits
// for that countdown.
std::vector<std::pair<int, uint32_t>> g_applied;
int g_passNo = 0;

TEST_F(PageMgr, DisplayAdjustmentAppliesFiftyPassesAfterItIsSeen) {
    const uint32_t saved = IfaceLcdWord();
    // From a word none of the steps below uses, whatever an earlier test left.
    IfaceLcdWordSet(0);
    g_LcdApplied = 0;
    g_applied.clear();
    GuiThread_SetLcdApply([](uint32_t bytes) { g_applied.push_back({g_passNo, bytes}); });
    const uint32_t first = 0x00323232, second = 0x00333232, third = 0x00343232;
    g_passNo = 1;
    IfaceLcdWordSet(first);
    GuiThread_Pass();
    IfaceLcdWordSet(second);
    for (g_passNo = 2; g_passNo <= 20; ++g_passNo)
        GuiThread_Pass();
    IfaceLcdWordSet(third);
    for (; g_passNo <= 200; ++g_passNo)
        GuiThread_Pass();
    GuiThread_SetLcdApply(nullptr);
    IfaceLcdWordSet(saved);
    ASSERT_EQ(g_applied.size(), 2u);
    EXPECT_EQ(g_applied[0], std::make_pair(51, first));
    EXPECT_EQ(g_applied[1], std::make_pair(102, third));
}

TEST_F(PageMgr, TheApplyingPassRunsNoPageManager) {
    Running();
    const uint32_t saved = IfaceLcdWord();
    IfaceLcdWordSet(saved ^ 0x10);
    GuiThread_Pass();
    ASSERT_EQ(g_LcdApplyCountdown, 50);
    for (int i = 0; i < 60 && g_LcdApplyCountdown != 1; ++i)
        GuiThread_Pass();
    ASSERT_EQ(g_LcdApplyCountdown, 1);
    const uint32_t count = g_PagePassCount;
    GuiThread_Pass();  // applies
    EXPECT_EQ(g_PagePassCount, count);
    GuiThread_Pass();
    EXPECT_EQ(g_PagePassCount, (count + 1) % 4);
    IfaceLcdWordSet(saved);
    g_LcdApplied = saved;
    g_LcdApplyCountdown = 0;
}

class Refreshers : public PageMgr {
protected:
    void SetUp() override {
        PageMgr::SetUp();
        core::MeasurementReset();
        panel::PageMgrReset();
    }
    void TearDown() override {
        core::MeasurementReset();
        PageMgr::TearDown();
    }
};

TEST_F(Refreshers, MeasBlockGivesEveryRecordEveryGroupOverFourCalls) {
    // One word of each group in every record; group 0 is word 18 of the record it visits.
    const int probe[] = {18, 44, 42, 25, 63};
    for (int r = 0; r < kMeasRows; ++r)
        for (int w : probe)
            g_MeasLive[r].Set(w, static_cast<float>(100 * r + w));
    Chg_MeasBlock();
    // The first call: record r gets group r mod 4 (group 3 with its frequency/THD part).
    const int groupOf[] = {0, 1, 2, 3, 4};  // index into probe by group; 4 = group 3's second part
    for (int r = 0; r < kMeasRows; ++r) {
        const int g = r % 4;
        for (int i = 0; i < 5; ++i) {
            const bool copied = groupOf[i] == g || (g == 3 && i == 4);
            EXPECT_EQ(g_DispCache[r].Get(probe[i]), copied ? static_cast<float>(100 * r + probe[i]) : 0.0f)
                << "record " << r << " word " << probe[i];
        }
    }
    for (int i = 0; i < 3; ++i)
        Chg_MeasBlock();
    for (int r = 0; r < kMeasRows; ++r)
        for (int w : probe)
            EXPECT_EQ(g_DispCache[r].Get(w), static_cast<float>(100 * r + w)) << "record " << r << " word " << w;
    EXPECT_EQ(g_DispCache[0].Get(kMfPageId), -1.0f) << "the page id is no measured word";
}

// A frozen meter keeps the readings shown: the measurement block and words C stop, words A (the settings'
// echo) go on; released, four calls of the block bring every record's readings and words C theirs.
TEST_F(Refreshers, AFrozenMeterStopsMeasBlockAndCButNotA) {
    g_ParamFlags.store(core::kFlagMeterHold);
    for (int r = 0; r < kMeasRows; ++r)
        g_MeasLive[r].Set(kMfVrms, 230.0f);
    g_MeasLive[1].Set(70, 1.5f);
    g_MeasLive[1].Set(71, 2.5f);
    g_MeasLive[1].Set(3, 3.5f);
    g_MeasLive[1].Set(73, 4.5f);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Chg_MeasBlock(), 1);
    EXPECT_EQ(Chg_CacheWordsC(), 1);
    EXPECT_EQ(Chg_CacheWordsA(), 0);
    EXPECT_EQ(Chg_CacheWordsA(), 1) << "nothing left to copy";
    EXPECT_EQ(g_DispCache[1].Get(11), 1.5f);
    EXPECT_EQ(g_DispCache[1].Get(12), 2.5f);
    EXPECT_EQ(g_DispCache[0].Get(19), 0.0f);
    for (int r = 0; r < kMeasRows; ++r)
        EXPECT_EQ(g_DispCache[r].Get(kMfVrms), 0.0f);
    g_ParamFlags.store(0);
    for (int i = 0; i < 4; ++i)
        Chg_MeasBlock();
    for (int r = 0; r < kMeasRows; ++r)
        EXPECT_EQ(g_DispCache[r].Get(kMfVrms), 230.0f);
    EXPECT_EQ(Chg_CacheWordsC(), 0);
    EXPECT_EQ(Chg_CacheWordsC(), 1) << "nothing left to copy";
    EXPECT_EQ(g_DispCache[0].Get(19), 3.5f);
    EXPECT_EQ(g_DispCache[1].Get(14), 4.5f);
}

}  // namespace
