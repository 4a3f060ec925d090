#include "platform/wake_event.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/clock.h"

namespace {

// The hand-over and the supervisor's rest rely on these: a wake-up is never lost between two waits, a
// wait without one lasts to its deadline on the instrument clock (also on a fast test clock), and a
// signal from another thread ends a wait.
TEST(WakeEvent, SignalIsKeptForTheNextWaitAndEndsAWaitEarly) {
    plat::WakeEvent ev;
    for (double scale : {1.0, 1000.0}) {
        plat::SetTimeScale(scale);
        const uint64_t deadline = plat::NowUs() + (scale > 1 ? 5'000'000 : 2'000);
        EXPECT_FALSE(ev.WaitUntilUs(deadline));
        EXPECT_GE(plat::NowUs(), deadline);
    }
    plat::SetTimeScale(1);
    ev.Signal();
    ev.Signal();  // two before a wait count as one
    EXPECT_TRUE(ev.WaitUntilUs(plat::NowUs() + 10'000'000));
    EXPECT_FALSE(ev.WaitUntilUs(plat::NowUs() + 1'000));
    std::thread other([&ev] { ev.Signal(); });
    EXPECT_TRUE(ev.WaitUntilUs(plat::NowUs() + 10'000'000));
    other.join();
}

}  // namespace
