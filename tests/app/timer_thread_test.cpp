#include "app/timer_thread.h"

#include <gtest/gtest.h>

#include "core/control/alarms/alarms.h"
#include "core/control/measure/harmonics.h"
#include "core/control/measure/measurement.h"
#include "core/system/links/remote_state.h"
#include "panel/panel_services.h"
#include "remote/devicenet.h"
#include "remote/web_server.h"

namespace {

class TimerThreadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Each test sets the other words it reads.
        core::TimerReset();
        g_Up40ms.store(0);
        g_DnetState.flags.store(0);
        g_WebLockReleaseReq.store(0);
    }
    static void Passes(int n) {
        for (int i = 0; i < n; ++i)
            TimerThread_Pass();
    }
};

TEST_F(TimerThreadTest, StepChainRunsAtItsPeriods) {
    g_HarmCountdown.store(1000);
    g_AlarmMsgHold.store(1000);
    Passes(1);
    EXPECT_EQ(g_HarmCountdown.load(), 1000u);  // the 4 ms step runs on every second pass
    Passes(1);
    EXPECT_EQ(g_HarmCountdown.load(), 999u);
    Passes(18);  // 20 passes = 40 ms
    EXPECT_EQ(g_HarmCountdown.load(), 990u);
    EXPECT_EQ(g_Up40ms.load(), 1u);
    Passes(180);  // 200 passes = 400 ms
    EXPECT_EQ(g_Up40ms.load(), 10u);
    EXPECT_EQ(g_AlarmMsgHold.load(), 999u);
    EXPECT_TRUE(g_DnetState.flags.load() & kDnetFlag400ms);
}

TEST_F(TimerThreadTest, TwoSecondStepReleasesTheRemoteLockOnRequest) {
    g_RemoteState.store(0x6);
    Passes(1000);
    EXPECT_EQ(g_RemoteState.load(), 0x6u);  // no request: the lock stays
    g_WebLockReleaseReq.store(1);
    Passes(999);
    EXPECT_EQ(g_RemoteState.load(), 0x6u);
    Passes(1);
    EXPECT_EQ(g_RemoteState.load(), 0x2u);  // still remote, no longer locked
    EXPECT_EQ(g_WebLockReleaseReq.load(), 0u);
}

TEST_F(TimerThreadTest, DeviceNetConnectionTimesOutAfter200PassesAndThePollTimerReArms) {
    g_DnetState.established.store(1);
    g_DnetState.connCountdown.store(200);
    Passes(199);
    EXPECT_FALSE(g_DnetState.flags.load() & kDnetFlagTimeout);
    Passes(1);
    EXPECT_TRUE(g_DnetState.flags.load() & kDnetFlagTimeout);
    EXPECT_EQ(g_DnetState.connCountdown.load(), 200u);
    // The poll timer re-arms from its rate.
    g_DnetState.pollRate.store(3);
    DnetPollTimerArm();
    Passes(3);
    EXPECT_EQ(g_DnetState.pollCountdown.load(), 3u);  // expired and re-armed
    EXPECT_TRUE(g_DnetState.flags.load() & kDnetFlagPollArmed);
    g_DnetState.pollRate.store(0);
    Passes(3);
    EXPECT_FALSE(g_DnetState.flags.load() & kDnetFlagPollArmed);
}

TEST(CheckOnceFlag, FiresOnceInsideItsWindowOnly) {
    core::TimerReset();
    EXPECT_EQ(CheckOnceFlag(), 1);
    EXPECT_EQ(CheckOnceFlag(), 0);

    // The window closes after ten 400 ms steps (200 passes of 2 ms each).
    core::TimerReset();
    for (int i = 0; i < 10 * 200 - 1; ++i)
        TimerThread_Pass();
    EXPECT_EQ(core::g_StartupWindow.load(), 1);
    TimerThread_Pass();
    EXPECT_EQ(core::g_StartupWindow.load(), 0);
    EXPECT_EQ(CheckOnceFlag(), 0);
    for (int i = 0; i < 400; ++i)
        TimerThread_Pass();
    EXPECT_EQ(core::g_StartupWindow.load(), 0);  // never counts below zero
}

// The measurement display refresh comes once per labelled period of the update-rate choice, on the 2 ms
// tick: "Fast" every second pass, then 0.1 s ... 20 s.
TEST_F(TimerThreadTest, MeasurementRefreshComesOncePerLabelledPeriod) {
    constexpr int kPeriodMs[] = {4, 100, 250, 500, 1000, 2000, 5000, 10000, 20000};
    for (int index = 0; index < 9; ++index) {
        MeasUpdateRate_Set(index);
        const int period = kPeriodMs[index] / 2;
        int refreshes = 0, first = -1, last = -1;
        for (int pass = 0; pass < 3 * period; ++pass) {
            TimerThread_Pass();
            if (g_MeasRefreshFlags.fetch_and(~kMeasRefreshDue) & kMeasRefreshDue) {
                if (first < 0) first = pass;
                last = pass;
                ++refreshes;
            }
        }
        EXPECT_EQ(refreshes, 3) << "rate " << index;
        EXPECT_EQ(last - first, 2 * period) << "rate " << index;
    }
}

}  // namespace
