#include "platform/host/stop_signal.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <thread>

#include "platform/host/clock.h"

namespace {

// The start-up's one-second rounds wait here: a stop from the signal thread must end a wait under way,
// and every wait after it must not wait at all.
TEST(StopSignal, AStopEndsTheWaitUnderWayAndEveryLaterOne) {
    plat::StopReset();
    EXPECT_FALSE(plat::StopWaitMs(5));
    EXPECT_FALSE(plat::StopRequested());
    EXPECT_EQ(plat::StopSignalNumber(), 0);

    std::thread stopper([] {
        plat::SleepMs(20);
        plat::RequestStop(SIGINT);
    });
    // Ten seconds bound the wait: it must end with the stop, not at its end.
    const uint64_t start = plat::NowMs();
    EXPECT_TRUE(plat::StopWaitMs(10000));
    EXPECT_LT(plat::NowMs() - start, 10000u);
    stopper.join();
    EXPECT_TRUE(plat::StopRequested());
    EXPECT_TRUE(plat::StopWaitMs(10000));

    // The first signal names the stop.
    plat::RequestStop(SIGTERM);
    EXPECT_EQ(plat::StopSignalNumber(), SIGINT);
    plat::StopReset();
    EXPECT_FALSE(plat::StopRequested());
}

}  // namespace
