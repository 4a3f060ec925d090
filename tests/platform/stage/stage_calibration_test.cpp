// The simulated stage's calibration status (register 2098: first result in bits 0-2, second in bits 3-5) as
// it answers a calibration by itself, on its own clock: ready for each point a while after its start, a
// reading measured then taken, the range worked out after its third point, a one-shot done.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/stage/reg_map.h"
#include "tests/platform/stage/stage_play_fixture.h"

namespace {

using namespace regmap;

constexpr uint32_t kStart = 8, kNextPoint = 16, kAbort = 32;
constexpr uint32_t kReady = 1u << 3, kMeasuring = kReady | 1u, kRangeDone = 1u, kOneShotDone = kReady | 1u;

struct StageCalibration : ::testing::Test {
    test::StagePlay s;

    // The status now, and once the stage has had a second more.
    std::pair<uint32_t, uint32_t> Status() {
        const uint32_t now = s.m.CaliStatus();
        test::g_stageNowUs += 1000000;
        return {now, s.m.CaliStatus()};
    }
    void Command(uint32_t cmd) { s.Write(kCaliCmd, cmd); }
};

TEST_F(StageCalibration, RangesOfThreePointsThenTheHighRange) {
    for (uint32_t mode : {0x11u, 0x19u, 0x24u}) {  // voltage L1, its high range, current L3
        s.Write(kCaliMode, mode);
        Command(kStart);
        EXPECT_EQ(Status(), std::pair(0u, kReady)) << "the point's output settles first";
        for (int point = 0; point < 3; ++point) {
            s.WriteFloat(kCaliAvgCount, -250.0f);
            EXPECT_EQ(Status(), std::pair(kMeasuring, kReady)) << point;
            s.WriteFloat(kCaliAvgCount, -250.0f);
            EXPECT_EQ(Status(), std::pair(kMeasuring, kReady)) << "a reading counts once per point";
            Command(kNextPoint);
            if (point < 2) {
                EXPECT_EQ(Status(), std::pair(0u, kReady)) << point;
            }
        }
        EXPECT_EQ(Status(), std::pair(0u, kRangeDone)) << "the range is worked out after its third point";
        s.WriteFloat(kCaliAvgCount, -250.0f);
        EXPECT_EQ(Status(), std::pair(kRangeDone, kRangeDone)) << "no fourth point";
    }
}

TEST_F(StageCalibration, AbortEndsTheRangeAndOneShotsReportDone) {
    s.Write(kCaliMode, 0x11);
    Command(kStart);
    Status();
    Command(kAbort);
    s.WriteFloat(kCaliAvgCount, 10.0f);
    EXPECT_EQ(Status(), std::pair(0u, 0u));
    for (uint32_t oneShot : {0x47u, 0x87u, 0x107u}) {
        s.Write(kCaliMode, oneShot);
        Command(kStart);
        EXPECT_EQ(Status(), std::pair(0u, kOneShotDone)) << oneShot;
    }
    // A start without a kind reports nothing.
    s.Write(kCaliMode, 0);
    Command(kStart);
    EXPECT_EQ(Status(), std::pair(0u, 0u));
}

}  // namespace
