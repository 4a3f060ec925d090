#include "platform/host/wake_event.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/host/clock.h"

namespace {

constexpr uint64_t kLongUs = 2'000'000;  // a wait that only a signal ends early

TEST(WakeEvent, ASignalIsKeptForTheNextWaitAndTakenOnce) {
    plat::WakeEvent ev;
    EXPECT_FALSE(ev.WaitUntilUs(plat::NowUs() + 2000));  // nothing given: the deadline ends it
    ev.Signal();
    ev.Signal();  // several before a wait count as one
    EXPECT_TRUE(ev.WaitUntilUs(plat::NowUs() + kLongUs));
    EXPECT_FALSE(ev.WaitUntilUs(plat::NowUs() + 2000));
    EXPECT_FALSE(ev.WaitUntilUs(plat::NowUs()));  // a deadline already passed returns at once
}

// A waiter sleeping in the kernel wakes on another thread's signal, and no signal given around the
// waiter's own steps (between its look at the word and its sleep) is lost: a lost one sits out the long
// deadline.
TEST(WakeEvent, EverySignalOfAnotherThreadEndsTheWait) {
    plat::WakeEvent ev;
    std::atomic<int> acked{0};
    constexpr int kRounds = 2000;
    std::thread signaller([&] {
        for (int i = 1; i <= kRounds; ++i) {
            while (acked.load() < i - 1)
                std::this_thread::yield();
            if (i % 64 == 0) plat::SleepMs(1);  // now and then the waiter is asleep in the kernel
            ev.Signal();
        }
    });
    int ended = 0;
    for (int i = 1; i <= kRounds; ++i) {
        const uint64_t deadline = plat::NowUs() + kLongUs;
        if (!ev.WaitUntilUs(deadline) || plat::NowUs() >= deadline) break;
        ended = i;
        acked.store(i);
    }
    acked.store(kRounds);
    signaller.join();
    EXPECT_EQ(ended, kRounds);
}

}  // namespace
