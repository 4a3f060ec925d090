// Screen requests of other threads, run by the menu/control thread's pass.
#include "core/control/hooks/screen_request.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

namespace {

// What the runners saw, in order: the kind, and the state of a menu-state request.
struct Ran {
    ScreenRequest what;
    uint32_t state;
    bool operator==(const Ran&) const = default;
};
std::mutex g_ranLock;
std::vector<Ran> g_ran;

void Record(ScreenRequest what, uint32_t state) {
    const std::lock_guard<std::mutex> hold(g_ranLock);
    g_ran.push_back({what, state});
}

constexpr ScreenRequestRunners kRecording{
    [] { Record(ScreenRequest::kAdvanceScreen, 0); },
    [] { Record(ScreenRequest::kParallelRetry, 0); },
    [](uint32_t state, int32_t value) {
        Record(ScreenRequest::kEnterState, state + static_cast<uint32_t>(value));
        return int32_t{0};
    },
};

class ScreenRequestTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ScreenRequest_SetRunners(kRecording);
        ScreenRequest_RunPending();
        g_ran.clear();
    }
    void TearDown() override {
        ScreenRequest_SetRunners({});
        ScreenRequest_RunPending();
    }
};

TEST_F(ScreenRequestTest, RunsInPostedOrderAndAKindPostedAgainMovesToTheNewestPlace) {
    ScreenRequest_Post(ScreenRequest::kAdvanceScreen);
    ScreenRequest_Post(ScreenRequest::kEnterState, 94);
    ScreenRequest_Post(ScreenRequest::kParallelRetry);
    ScreenRequest_Post(ScreenRequest::kEnterState, 95);
    EXPECT_TRUE(g_ran.empty()) << "nothing runs before the pass";
    EXPECT_EQ(ScreenRequest_RunPending(), 3u);
    const std::vector<Ran> expected{{ScreenRequest::kAdvanceScreen, 0},
                                    {ScreenRequest::kParallelRetry, 0},
                                    {ScreenRequest::kEnterState, 95}};
    EXPECT_EQ(g_ran, expected);
    EXPECT_EQ(ScreenRequest_RunPending(), 0u) << "a pass takes what it ran";
}

TEST_F(ScreenRequestTest, ARequestWithoutItsEntryIsNotKept) {
    ScreenRequest_SetRunners({kRecording.advanceScreen, nullptr, nullptr});
    ScreenRequest_Post(ScreenRequest::kParallelRetry);
    ScreenRequest_Post(ScreenRequest::kAdvanceScreen);
    EXPECT_EQ(ScreenRequest_RunPending(), 1u);
    EXPECT_EQ(g_ran, (std::vector<Ran>{{ScreenRequest::kAdvanceScreen, 0}}));
}

// A runner that posts (as a screen entry might) leaves its request to the next pass.
TEST_F(ScreenRequestTest, ARequestPostedWhileThePassRunsWaitsForTheNextPass) {
    ScreenRequest_SetRunners({[] { ScreenRequest_Post(ScreenRequest::kParallelRetry); },
                              kRecording.parallelRetry, nullptr});
    ScreenRequest_Post(ScreenRequest::kAdvanceScreen);
    EXPECT_EQ(ScreenRequest_RunPending(), 1u);
    EXPECT_TRUE(g_ran.empty());
    EXPECT_EQ(ScreenRequest_RunPending(), 1u);
    EXPECT_EQ(g_ran, (std::vector<Ran>{{ScreenRequest::kParallelRetry, 0}}));
}

// Three posting threads and the taking pass at once: every kind posted is run, and the last menu state
// asked is the one entered last.
TEST_F(ScreenRequestTest, PostsFromSeveralThreadsAreNeitherLostNorReordered) {
    constexpr uint32_t kPosts = 2000;
    std::atomic<int> posting{3};
    std::thread taker([&posting] {
        while (posting.load() != 0)
            ScreenRequest_RunPending();
    });
    std::vector<std::thread> posters;
    for (const ScreenRequest what :
         {ScreenRequest::kAdvanceScreen, ScreenRequest::kParallelRetry, ScreenRequest::kEnterState})
        posters.emplace_back([what, &posting] {
            for (uint32_t n = 1; n <= kPosts; ++n)
                ScreenRequest_Post(what, n);
            posting.fetch_sub(1);
        });
    for (std::thread& t : posters)
        t.join();
    taker.join();
    ScreenRequest_RunPending();
    uint32_t lastState = 0, runs[3] = {};
    for (const Ran& r : g_ran) {
        ++runs[static_cast<size_t>(r.what)];
        if (r.what == ScreenRequest::kEnterState) {
            EXPECT_GT(r.state, lastState) << "an older menu state entered after a newer one";
            lastState = r.state;
        }
    }
    EXPECT_EQ(lastState, kPosts);
    for (const uint32_t n : runs)
        EXPECT_GE(n, 1u);
}

}  // namespace
