// The user-message ring under many posting threads and one taker.
#include "core/system/messaging/msg_ring.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

// Runs `post(p)` on each of `posters` threads while one taker pops until they are done and the ring is
// empty; every id taken is counted in `seen` (when given). The highest count the taker saw.
uint32_t PostAndTake(int posters, const std::function<void(int)>& post, std::vector<uint32_t>* seen) {
    std::atomic<int> left{posters};
    uint32_t highest = 0;
    std::thread taker([&] {
        for (;;) {
            highest = std::max(highest, MsgQueue_Count());
            const bool last = left.load() == 0;  // before the take: a post may come meanwhile
            uint32_t id = 0;
            if (MsgQueue_Pop(&id) == 0) {
                if (seen != nullptr && id < seen->size()) ++(*seen)[id];
            } else if (last) {
                return;
            }
        }
    });
    std::vector<std::thread> threads;
    for (int p = 0; p < posters; ++p)
        threads.emplace_back([&, p] {
            post(p);
            --left;
        });
    for (auto& t : threads)
        t.join();
    taker.join();
    return highest;
}

TEST(MsgRing, ManyPostersOneTakerLoseNothingAndTheCountNeverWraps) {
    MsgQueue_Clear();
    // The preset ids, which a repeat never folds into the one before: each poster posts one of them, and
    // a post refused while the ring is full is posted again, for 20 s at most.
    constexpr int kPosters = 8, kPerPoster = 3000;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::vector<uint32_t> seen(32, 0);
    const uint32_t highest = PostAndTake(
        kPosters,
        [&](int p) {
            for (int i = 1; i <= kPerPoster; ++i)
                while (MsgQueue_PostId(16 + p % 2) != 0 && std::chrono::steady_clock::now() < until)
                    std::this_thread::yield();
        },
        &seen);
    EXPECT_EQ(seen[16], uint32_t{kPosters / 2 * kPerPoster});
    EXPECT_EQ(seen[17], uint32_t{kPosters / 2 * kPerPoster});
    EXPECT_LE(highest, 32u);

    // Free texts empty the ring under the taker: the count stays within the ring, and afterwards the
    // ring takes posts again.
    ::testing::internal::CaptureStdout();  // each text is also printed
    const uint32_t highestWithTexts = PostAndTake(
        4,
        [](int p) {
            for (int i = 0; i < 2000; ++i) {
                if (i % 2) MsgQueue_PostId(16 + i % 4 / 2);
                MsgQueue_PostText(("text " + std::to_string(p)).c_str(), 5);
            }
        },
        nullptr);
    ::testing::internal::GetCapturedStdout();
    EXPECT_LE(highestWithTexts, 32u);
    EXPECT_EQ(MsgQueue_Count(), 0u);
    EXPECT_EQ(MsgQueue_PostId(3), 0);
    EXPECT_EQ(MsgQueue_Count(), 1u);
    char text[64];
    MsgQueue_CopyText(text, sizeof text);
    EXPECT_EQ(std::string(text, 5), "text ");
    MsgQueue_Clear();
}

}  // namespace
