// The user-message ring under many posting threads and one taker.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "panel/msg_queue.h"

namespace {

TEST(MsgRing, ManyPostersOneTakerLoseNothingAndTheCountNeverWraps) {
    MsgQueue_Clear();
    constexpr uint32_t kPosters = 8, kPerPoster = 3000;
    std::vector<uint32_t> seen(kPosters * kPerPoster + 1, 0);
    std::atomic<uint32_t> postersLeft{kPosters};
    std::atomic<uint32_t> highestCount{0};
    // The taker: pops until every poster has finished and the ring is empty.
    auto taker = std::thread([&] {
        for (;;) {
            const uint32_t count = MsgQueue_Count();
            if (count > highestCount.load()) highestCount.store(count);
            const bool last = postersLeft.load() == 0;  // before the take: a post may come meanwhile
            uint32_t id = 0;
            if (MsgQueue_Pop(&id) == 0) {
                if (id < seen.size()) ++seen[id];
            } else if (last) {
                return;
            }
        }
    });
    // Distinct ids: a post never repeats the one before it, so none is folded into a repeat. A post
    // refused while the ring is full is posted again (for 20 s at most).
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::vector<std::thread> posters;
    for (uint32_t p = 0; p < kPosters; ++p) {
        posters.emplace_back([&, p] {
            for (uint32_t i = 1; i <= kPerPoster; ++i) {
                const int32_t id = static_cast<int32_t>(p * kPerPoster + i);
                while (MsgQueue_PostId(id) != 0 && std::chrono::steady_clock::now() < until)
                    std::this_thread::yield();
            }
            postersLeft.fetch_sub(1);
        });
    }
    for (auto& t : posters)
        t.join();
    taker.join();
    uint32_t lost = 0, doubled = 0;
    for (size_t id = 1; id < seen.size(); ++id) {
        lost += seen[id] == 0;
        doubled += seen[id] > 1;
    }
    EXPECT_EQ(lost, 0u);
    EXPECT_EQ(doubled, 0u);
    EXPECT_LE(highestCount.load(), 32u);

    // Free texts empty the ring while the taker pops: the count stays within the ring, and once they
    // are over the ring takes posts again and drains to empty.
    postersLeft.store(4);
    highestCount.store(0);
    taker = std::thread([&] {
        for (;;) {
            const uint32_t count = MsgQueue_Count();
            if (count > highestCount.load()) highestCount.store(count);
            const bool last = postersLeft.load() == 0;
            if (MsgQueue_Pop(nullptr) != 0 && last) return;
        }
    });
    posters.clear();
    ::testing::internal::CaptureStdout();  // each text is also printed
    for (int p = 0; p < 4; ++p) {
        posters.emplace_back([&, p] {
            char text[32];
            for (int i = 0; i < 2000; ++i) {
                std::snprintf(text, sizeof text, "text %d.%d", p, i);
                if (i % 2) MsgQueue_PostId(100 + i);
                MsgQueue_PostText(text, 5);
            }
            postersLeft.fetch_sub(1);
        });
    }
    for (auto& t : posters)
        t.join();
    taker.join();
    ::testing::internal::GetCapturedStdout();
    EXPECT_LE(highestCount.load(), 32u);
    EXPECT_EQ(MsgQueue_Count(), 0u);
    EXPECT_EQ(MsgQueue_PostId(3), 0);
    EXPECT_EQ(MsgQueue_Count(), 1u);
    char text[64];
    MsgQueue_CopyText(text, sizeof text);
    EXPECT_EQ(std::string(text, 5), "text ");
    MsgQueue_Clear();
}

}  // namespace
