// Screen requests: run at once on the menu/control thread, posted from the others and run by its next pass.
#include "core/control/hooks/screen_request.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

#include "core/control/calibration/cal_state.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"

namespace {

// What the runners saw, in order: the kind and its two arguments.
struct Ran {
    ScreenRequest what;
    uint32_t state;
    int32_t value;
    bool operator==(const Ran&) const = default;
};
std::mutex g_ranLock;
std::vector<Ran> g_ran;

void Record(ScreenRequest what, uint32_t state = 0, int32_t value = 0) {
    const std::lock_guard<std::mutex> hold(g_ranLock);
    g_ran.push_back({what, state, value});
}

using R = ScreenRequest;
constexpr ScreenRequestRunners kRecording{
    .advanceScreen = [] { Record(R::kAdvanceScreen); },
    .simpleScreen = [] { Record(R::kSimpleScreen); },
    .parallelRetry = [] { Record(R::kParallelRetry); },
    .enterStateValue =
        [](uint32_t state, int32_t value) {
            Record(R::kEnterState, state, value);
            return int32_t{0};
        },
    .calibrationPage = [](uint32_t state, int32_t entry) { Record(R::kCalibrationPage, state, entry); },
    .goCalibration = [] { Record(R::kGoCalibration); },
    .seqSimExit = [] { Record(R::kSeqSimExit); },
    .seqStepChanged = [](int32_t step) { Record(R::kSeqStepChanged, 0, step); },
    .arbitraryMode =
        [] {
            Record(R::kArbitraryMode);
            return int32_t{0};
        },
    .simSelectBuffers =
        [] {
            Record(R::kSimSelectBuffers);
            return int32_t{0};
        },
    .simEnterStep = [] { Record(R::kSimEnterStep); },
    .seqSelectBuffers = [] { Record(R::kSeqSelectBuffers); },
    .seqEnterStepIndex = [] { Record(R::kSeqEnterStepIndex); },
    .seqLeavePreview = [] { Record(R::kSeqLeavePreview); },
    .editFollow =
        [](uint32_t state, int32_t value) {
            Record(R::kEditFollow, state, value);
            return 1;
        },
    .seqEnter = [] { Record(R::kSeqEnter); },
    .simEnter = [] { Record(R::kSimEnter); },
    .simShowField = [](uint32_t field, int32_t phase) { Record(R::kSimShowField, field, phase); },
};

// Asked as the timer, supervisor or GUI thread asks: from a thread that is not the menu/control thread.
void AskFromAnotherThread(ScreenRequest what, uint32_t state = 0, int32_t value = 0) {
    std::thread([=] { EXPECT_TRUE(ScreenRequest_Ask(what, state, value)); }).join();
}

class ScreenRequestTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ScreenRequest_SetRunners(kRecording);
        ScreenRequest_SetTaker();  // the test thread plays the menu/control thread
        ScreenRequest_RunPending();
        g_ran.clear();
    }
    void TearDown() override {
        ScreenRequest_SetRunners({});
        ScreenRequest_RunPending();
    }
};

// One request followed through: posted by another thread it waits for the pass, which runs it once; asked
// on the menu/control thread it runs at once and leaves nothing for the pass.
TEST_F(ScreenRequestTest, AnotherThreadsRequestRunsOnceAtTheNextPassTheMenuThreadsAtOnce) {
    AskFromAnotherThread(R::kSeqStepChanged, 0, 7);
    EXPECT_TRUE(g_ran.empty()) << "the posting thread runs nothing";
    EXPECT_EQ(ScreenRequest_RunPending(), 1u);
    EXPECT_EQ(g_ran, (std::vector<Ran>{{R::kSeqStepChanged, 0, 7}}));
    EXPECT_EQ(ScreenRequest_RunPending(), 0u) << "a pass takes what it ran";

    g_ran.clear();
    EXPECT_TRUE(ScreenRequest_Ask(R::kCalibrationPage, 320, kCaliPageStateOnly));
    EXPECT_EQ(g_ran, (std::vector<Ran>{{R::kCalibrationPage, 320, kCaliPageStateOnly}})) << "run at once";
    EXPECT_EQ(ScreenRequest_RunPending(), 0u);
    EXPECT_EQ(g_ran.size(), 1u);
}

// Every kind waiting at once, each posted twice: one place each, the newer arguments, the posted order.
TEST_F(ScreenRequestTest, AQueueOfEveryKindHoldsThemAllWithTheirNewestArguments) {
    std::vector<Ran> expected;
    for (size_t k = 0; k < kScreenRequestKinds; ++k) {
        const auto what = static_cast<ScreenRequest>(k);
        AskFromAnotherThread(what, 300, -1);
        AskFromAnotherThread(what, 300 + static_cast<uint32_t>(k), static_cast<int32_t>(k));
    }
    for (size_t k = 0; k < kScreenRequestKinds; ++k) {
        const auto what = static_cast<ScreenRequest>(k);
        const bool takesState = what == R::kEnterState || what == R::kCalibrationPage || what == R::kEditFollow ||
                                what == R::kSimShowField;
        const bool takesValue = takesState || what == R::kSeqStepChanged;
        expected.push_back({what, takesState ? 300 + static_cast<uint32_t>(k) : 0,
                            takesValue ? static_cast<int32_t>(k) : 0});
    }
    EXPECT_EQ(ScreenRequest_RunPending(), kScreenRequestKinds);
    EXPECT_EQ(g_ran, expected);
    EXPECT_EQ(ScreenRequest_RunPending(), 0u);
}

TEST_F(ScreenRequestTest, AKindPostedAgainMovesToTheNewestPlace) {
    AskFromAnotherThread(R::kAdvanceScreen);
    AskFromAnotherThread(R::kEnterState, 94);
    AskFromAnotherThread(R::kParallelRetry);
    AskFromAnotherThread(R::kEnterState, 95);
    EXPECT_EQ(ScreenRequest_RunPending(), 3u);
    EXPECT_EQ(g_ran, (std::vector<Ran>{{R::kAdvanceScreen, 0, 0}, {R::kParallelRetry, 0, 0}, {R::kEnterState, 95, 0}}));
}

TEST_F(ScreenRequestTest, ARequestWithoutItsEntryIsRefusedAndNotKept) {
    ScreenRequest_SetRunners({.advanceScreen = kRecording.advanceScreen});
    std::thread([] {
        EXPECT_FALSE(ScreenRequest_Ask(R::kParallelRetry));
        EXPECT_TRUE(ScreenRequest_Ask(R::kAdvanceScreen));
    }).join();
    EXPECT_FALSE(ScreenRequest_Ask(R::kSimpleScreen));
    EXPECT_EQ(ScreenRequest_RunPending(), 1u);
    EXPECT_EQ(g_ran, (std::vector<Ran>{{R::kAdvanceScreen, 0, 0}}));
}

// A request asked outside the calibration waits, in its place, while a calibration is in progress (a point
// or the list shown, or its mode word standing), on the menu/control thread too; the others run. A plain
// request of its kind posted meanwhile is newer and runs at once. The first pass after the end runs them.
TEST_F(ScreenRequestTest, ARequestOutsideTheCalibrationWaitsForItsEnd) {
    const uint32_t state = g_MenuState.load();
    for (const auto& [menu, mode] : {std::pair<uint32_t, uint16_t>{kMenuCalVoltR100P0, 0}, {kMenuCalibration, 0},
                                     {kMenuCalDefaultConfirm, 0}, {1, 0x107}}) {
        SCOPED_TRACE(menu);
        g_ran.clear();
        g_MenuState.store(menu);
        g_CalState.mode.store(mode);
        std::thread([] {
            EXPECT_TRUE(ScreenRequest_AskOutsideCalibration(R::kParallelRetry));
            EXPECT_TRUE(ScreenRequest_AskOutsideCalibration(R::kAdvanceScreen));
            EXPECT_TRUE(ScreenRequest_Ask(R::kSimpleScreen));
        }).join();
        EXPECT_TRUE(ScreenRequest_AskOutsideCalibration(R::kEnterState, 94));
        EXPECT_TRUE(g_ran.empty()) << "not at once on the menu/control thread";
        EXPECT_EQ(ScreenRequest_RunPending(), 1u);
        AskFromAnotherThread(R::kAdvanceScreen);
        AskFromAnotherThread(R::kSeqEnter);
        EXPECT_EQ(ScreenRequest_RunPending(), 2u);
        EXPECT_EQ(ScreenRequest_RunPending(), 0u);
        EXPECT_EQ(g_ran, (std::vector<Ran>{{R::kSimpleScreen, 0, 0}, {R::kAdvanceScreen, 0, 0}, {R::kSeqEnter, 0, 0}}));
        g_ran.clear();
        g_MenuState.store(2);
        g_CalState.mode.store(0);
        EXPECT_EQ(ScreenRequest_RunPending(), 2u);
        EXPECT_EQ(g_ran, (std::vector<Ran>{{R::kParallelRetry, 0, 0}, {R::kEnterState, 94, 0}}));
    }
    g_ran.clear();
    EXPECT_TRUE(ScreenRequest_AskOutsideCalibration(R::kParallelRetry));
    EXPECT_EQ(g_ran, (std::vector<Ran>{{R::kParallelRetry, 0, 0}})) << "without a calibration, at once";

    // A plain request of a waiting kind, posted while the pass runs, is the newer one: it alone stays.
    ScreenRequestRunners runners = kRecording;
    runners.simpleScreen = [] { AskFromAnotherThread(R::kParallelRetry); };
    ScreenRequest_SetRunners(runners);
    g_MenuState.store(kMenuCalibration);
    AskFromAnotherThread(R::kSimpleScreen);
    EXPECT_TRUE(ScreenRequest_AskOutsideCalibration(R::kParallelRetry, 1));
    g_ran.clear();
    EXPECT_EQ(ScreenRequest_RunPending(), 1u);
    EXPECT_EQ(ScreenRequest_RunPending(), 1u);
    g_MenuState.store(2);
    EXPECT_EQ(ScreenRequest_RunPending(), 0u);
    EXPECT_EQ(g_ran, (std::vector<Ran>{{R::kParallelRetry, 0, 0}}));
    g_MenuState.store(state);
}

// A runner that asks again (as a screen entry might) on the menu/control thread runs that request at once;
// one posted meanwhile by another thread waits for the next pass.
TEST_F(ScreenRequestTest, ARequestPostedWhileThePassRunsWaitsForTheNextPass) {
    ScreenRequestRunners runners = kRecording;
    runners.advanceScreen = [] { AskFromAnotherThread(R::kParallelRetry); };
    ScreenRequest_SetRunners(runners);
    AskFromAnotherThread(R::kAdvanceScreen);
    EXPECT_EQ(ScreenRequest_RunPending(), 1u);
    EXPECT_TRUE(g_ran.empty());
    EXPECT_EQ(ScreenRequest_RunPending(), 1u);
    EXPECT_EQ(g_ran, (std::vector<Ran>{{R::kParallelRetry, 0, 0}}));
}

// Three posting threads and the taking pass at once: every kind posted is run, and the last menu state
// asked is the one entered last.
TEST_F(ScreenRequestTest, PostsFromSeveralThreadsAreNeitherLostNorReordered) {
    constexpr uint32_t kPosts = 2000;
    std::atomic<int> posting{3};
    std::thread taker([&posting] {
        ScreenRequest_SetTaker();
        while (posting.load() != 0)
            ScreenRequest_RunPending();
    });
    std::vector<std::thread> posters;
    for (const ScreenRequest what : {R::kAdvanceScreen, R::kParallelRetry, R::kEnterState})
        posters.emplace_back([what, &posting] {
            for (uint32_t n = 1; n <= kPosts; ++n)
                ScreenRequest_Ask(what, n);
            posting.fetch_sub(1);
        });
    for (std::thread& t : posters)
        t.join();
    taker.join();
    ScreenRequest_RunPending();
    uint32_t lastState = 0, runs[kScreenRequestKinds] = {};
    for (const Ran& r : g_ran) {
        ++runs[static_cast<size_t>(r.what)];
        if (r.what == R::kEnterState) {
            EXPECT_GT(r.state, lastState) << "an older menu state entered after a newer one";
            lastState = r.state;
        }
    }
    EXPECT_EQ(lastState, kPosts);
    for (const ScreenRequest what : {R::kAdvanceScreen, R::kParallelRetry, R::kEnterState})
        EXPECT_GE(runs[static_cast<size_t>(what)], 1u);
}

}  // namespace
