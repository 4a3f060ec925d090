#include "platform/host/stop_signal.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
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

// Before a reboot's exec the waiter ends: a signal it took is a stop, and one that comes after stays
// pending for the program that starts next; the waiter must not swallow it between the last look and the
// exec. In a child process, since the signals and their block are the whole process's.
TEST(StopSignalDeathTest, AfterTheWaiterEndsAStopSignalStaysPendingInsteadOfBeingTaken) {
    // The child starts afresh, without the threads earlier tests left in this process.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            plat::StopReset();
            plat::BlockStopSignals();
            plat::StopWaiterStart();
            kill(getpid(), SIGTERM);
            for (int i = 0; i < 200 && !plat::StopRequested(); ++i)
                usleep(10000);
            if (plat::StopSignalNumber() != SIGTERM) {
                std::fprintf(stderr, "the waiter made no stop of SIGTERM\n");
                _exit(1);
            }
            plat::StopReset();
            if (!plat::StopWaiterEnd(2000)) {
                std::fprintf(stderr, "the waiter did not end\n");
                _exit(2);
            }
            kill(getpid(), SIGINT);
            usleep(100000);
            sigset_t pending;
            sigpending(&pending);
            if (plat::StopRequested() || sigismember(&pending, SIGINT) != 1) {
                std::fprintf(stderr, "SIGINT was taken after the waiter's end\n");
                _exit(3);
            }
            _exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
