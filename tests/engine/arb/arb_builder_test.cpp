// The waveform builder: its limits, the store's hand-shake with the task, and the wave reaching the
// internal store and the power stage.
#include "engine/arb/arb_builder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/control/calibration/calibration.h"
#include "core/params/waves/arb_mem.h"
#include "engine/arb/arb_shape_tables.h"
#include "engine/arb/arb_shapes.h"
#include "platform/host/clock.h"
#include "tests/core/ctrl_fixture.h"

namespace {
using namespace engine;
using test::PopupText;

// The timer thread's part: steps the builder's task every millisecond until the end of the test.
struct TaskStepper {
    std::atomic<bool> stop{false};
    std::thread thread{[this] {
        for (; !stop.load(); plat::SleepMs(1))
            ArbBuild_TaskRun();
    }};
    ~TaskStepper() { stop.store(true), thread.join(); }
};

std::vector<int16_t> Committed(const std::function<int(uint16_t*)>& gen) {
    std::vector<uint16_t> built(kBuildSamples);
    gen(built.data());
    std::vector<int16_t> out(kBuildSamples);
    for (int i = 0; i < kBuildSamples; ++i)
        out[i] = static_cast<int16_t>(built[i] - 32767);
    return out;
}
bool SlotIs(int slot, const std::vector<int16_t>& want) {
    return std::memcmp(g_ArbMem[slot], want.data(), sizeof g_ArbMem[slot]) == 0;
}

class ArbBuilderTest : public test::CtrlTest {
  protected:
    void SetUp() override {
        // The store's wait is counted on the instrument clock, the task stepped in real time.
        plat::SetTimeScale(1.0);
        ArbBuilderReset();
        g_CalState.mode.store(0);
        std::memset(g_ArbMem, 0, sizeof g_ArbMem);
        // The task initialises on its first steps, long before anyone edits.
        for (int i = 0; i < 3; ++i)
            ArbBuild_TaskRun();
    }
};

// A value outside the range keeps the old one; the DIP and LF-ring angles are bounded by their neighbours.
TEST_F(ArbBuilderTest, SettersKeepTheirRanges) {
    const struct {
        int32_t (*set)(int32_t);
        int32_t lowest, highest;
    } cases[] = {
        {ArbBuild_SetArbNo, 1, 253},        {ArbBuild_SetCf1, 11, 100},
        {ArbBuild_SetDIPSweep, 451, 1719},  {ArbBuild_SetLFRingDecay, -100, 100},
        {ArbBuild_SetLFRingEnd, 601, 3599},
    };
    for (const auto& c : cases) {
        const int32_t kept = c.set(c.lowest);
        EXPECT_EQ(c.set(c.lowest - 1), kept) << c.lowest;
        EXPECT_EQ(c.set(c.highest), c.highest) << c.lowest;
        EXPECT_EQ(c.set(c.highest + 1), c.highest) << c.lowest;
        ArbBuilderReset();
    }
}

TEST_F(ArbBuilderTest, StoringARB17FillsSlot19WritesItsFileAndReachesRegister275) {
    ASSERT_EQ(test::RunUntilReady() < 2000, true);
    {
        TaskStepper task;
        ArbBuild_SetArbNo(17);
        EXPECT_EQ(ArbBuild_Store(), 4096);
    }
    EXPECT_TRUE(SlotIs(19, Committed([](uint16_t* o) { return ShapeTriangle(4096, 32767, 50, o); })));
    EXPECT_EQ(PopupText(), "Saved To ARB17");
    EXPECT_EQ(env_.env.root.Read("/mnt/tst/ARB/ARB17.ARB").size(), 8260u);
    test::ClearTrace();
    for (int i = 0; i < 100 && test::WritesTo(275).size() < 4096; ++i)
        test::Poll();
    const auto writes = test::WritesTo(275);
    ASSERT_EQ(writes.size(), 4096u);
    for (int i = 0; i < 4096; ++i)
        ASSERT_EQ(static_cast<int16_t>(writes[i].raw), g_ArbMem[19][i]) << i;
}

TEST_F(ArbBuilderTest, AStoreRightAfterAParameterChangeHoldsTheNewShape) {
    TaskStepper task;
    ArbBuild_SetArbNo(3);
    const struct {
        int32_t type, clip;
        std::vector<int16_t> want;
    } cases[] = {
        {kShapeClip, 0, std::vector<int16_t>(4096, 0)},
        {kShapeClip, 100, Committed([](uint16_t* o) { return ShapeClip(4096, 32767, 100, o); })},
        {kShapeDstFirst + 4, 100, std::vector<int16_t>(&g_DstShapes[4 * 4096], &g_DstShapes[5 * 4096])},
        {kShapeClip, 30, Committed([](uint16_t* o) { return ShapeClip(4096, 32767, 30, o); })},
    };
    for (const auto& c : cases) {
        ArbBuild_SetType(c.type);
        ArbBuild_SetClip(c.clip);
        ArbBuild_SetBuildPending();
        EXPECT_EQ(ArbBuild_Store(), 4096);
        EXPECT_TRUE(SlotIs(2, c.want)) << "type " << c.type << " clip " << c.clip;
    }
}

TEST_F(ArbBuilderTest, AStoreThatTheTaskNeverAcknowledgesFailsInBoundedTime) {
    {
        TaskStepper task;
        ArbBuild_SetArbNo(5);
        ASSERT_EQ(ArbBuild_Store(), 4096);  // the task built the triangle once
    }
    std::memset(g_ArbMem[4], 0x11, sizeof g_ArbMem[4]);
    g_CalState.mode.store(1);  // the task refuses to run in calibration mode
    TaskStepper task;
    plat::SetTimeScale(50);
    const uint64_t t0 = plat::NowMs();
    EXPECT_EQ(ArbBuild_Store(), -1);
    const uint64_t waited = plat::NowMs() - t0;
    g_CalState.mode.store(0);
    EXPECT_GE(waited, kArbStoreWaitMs);
    EXPECT_EQ(g_ArbMem[4][0], 0x1111);  // nothing committed
    EXPECT_EQ(PopupText(), "Saved To ARB Fail");
}

// A store whose ticket is drawn just as the task takes up a rebuild is still built and acknowledged; the
// varying delay lands the ticket anywhere in the task's passes.
TEST_F(ArbBuilderTest, StoresRacingTheTaskTakingUpARebuildAreNeverLost) {
    constexpr int kStores = 400;
    std::atomic<bool> stop{false};
    std::thread task([&stop] {
        while (!stop.load())
            ArbBuild_TaskRun();
    });
    ArbBuild_SetArbNo(7);
    int stored = 0, lost = 0;
    std::thread menu([&] {
        for (int i = 0; i < kStores && lost == 0; ++i) {
            ArbBuild_SetType(kShapeDstFirst + (i & 1));
            for (std::atomic<int> spin{0}; spin.load(std::memory_order_relaxed) < (i * 7) % 97;)
                spin.fetch_add(1, std::memory_order_relaxed);
            if (ArbBuild_Store() == 4096)
                ++stored;
            else
                ++lost;  // each lost store waited its second: stop at the first
        }
    });
    menu.join();
    stop.store(true);
    task.join();
    EXPECT_EQ(lost, 0) << "after " << stored << " stores";
}

TEST_F(ArbBuilderTest, ACommitNeverWritesPastItsSlot) {
    const std::vector<uint16_t> big(10000, 40000);
    ArbBuild_SetArbNo(16);  // slot 15, followed by the built-in sine's slot
    EXPECT_EQ(ArbBuild_Commit(20000, big.data()), 4096);
    EXPECT_EQ(g_ArbMem[15][4095], 40000 - 32767);
    EXPECT_EQ(g_ArbMem[16][0], 0);
    EXPECT_EQ(ArbBuild_Commit(8192, nullptr), -1);
}

TEST_F(ArbBuilderTest, ApplyStoresAndSetsThePhaseUp) {
    TaskStepper task;
    ArbBuild_SetArbNo(20);  // slot 22
    const struct {
        const char* what;
        int32_t type;
        int32_t (*apply)(int);
        int32_t acv, dcv, freq;
    } cases[] = {
        // 15 % of 48 V: 7.2 Vpp on 48.0 V (0.01 V units).
        {"ripple at its defaults", kShapeRipple, ArbBuild_ApplyRipple, 720, 4800, -1},
        // An LF-ring voltage of 0 passes the peak check; the base frequency of 50.0 Hz in 0.01 Hz.
        {"LF ring at voltage 0", kShapeLFRing, ArbBuild_ApplyLFRing, 0, 0, 5000},
    };
    for (const auto& c : cases) {
        ArbBuild_SetType(c.type);
        ArbBuild_SetBuildPending();
        EXPECT_EQ(c.apply(0), 1) << c.what;
        EXPECT_EQ(GetOutputMode(), 0u) << c.what;
        EXPECT_EQ(GetWaveform(0), 22) << c.what;
        EXPECT_EQ(GetAcvUnit(), 1) << c.what;
        EXPECT_EQ(GetAcv(0), c.acv) << c.what;
        EXPECT_EQ(GetDcv(0), c.dcv) << c.what;
        if (c.freq >= 0) {
            EXPECT_EQ(GetFrequency(0), c.freq) << c.what;
        }
        EXPECT_EQ(env_.env.root.Read("/mnt/tst/ARB/ARB20.ARB").size(), 8260u) << c.what;
    }
}

TEST_F(ArbBuilderTest, ApplyIsRefusedWithTheOutputOnAndStopsWhenTheStoreFails) {
    const int32_t wave = GetWaveform(0);
    OutputFlagSet(kOutFlagOutputOn);
    EXPECT_EQ(ArbBuild_ApplyRipple(0), 0);
    EXPECT_EQ(PopupText(), "Invalid with Output ON, \nTurn OFF the Output First");
    OutputFlagClear(kOutFlagOutputOn);
    g_CalState.mode.store(1);  // no task: the store fails
    plat::SetTimeScale(50);
    EXPECT_EQ(ArbBuild_ApplyRipple(0), -1);
    g_CalState.mode.store(0);
    EXPECT_EQ(GetWaveform(0), wave);
    EXPECT_EQ(GetAcvUnit(), 0);
}

// The preview against the shape drawn with the parameter it must pass, with its end-mark clean-ups.
TEST_F(ArbBuilderTest, PreviewCleanUpsFollowTheirRules) {
    using Gen = std::function<int(uint16_t*)>;
    constexpr int n = kPreviewPoints;
    constexpr int32_t a = kPreviewAmplitude;
    const struct {
        const char* what;
        int32_t type;
        std::function<void()> set;
        Gen raw;  // the shape with the parameters the preview passes
        std::function<void(std::vector<int16_t>&)> clean;
    } cases[] = {
        {"triangle 5", kShapeTriangle, [] { ArbBuild_SetTriangle(5); },
         [](uint16_t* o) { return ShapeTriangle(n, a, 5, o); },
         [](std::vector<int16_t>& w) { w[0] = -1, w[n - 1] = 1; }},
        {"triangle 98", kShapeTriangle, [] { ArbBuild_SetTriangle(98); },
         [](uint16_t* o) { return ShapeTriangle(n, a, 100, o); }, [](std::vector<int16_t>&) {}},
        {"stairs 5", kShapeStairs, [] { ArbBuild_SetStairs(5); },
         [](uint16_t* o) { return ShapeStairs(n, a, 5, o); },
         [](std::vector<int16_t>& w) {
             EXPECT_LT(w[0], -5) << "the first point is cleaned";
             w[0] = -1;
             if (w[n - 1] > 5) w[n - 1] = 1;
         }},
        {"stairs 60", kShapeStairs, [] { ArbBuild_SetStairs(60); },
         [](uint16_t* o) { return ShapeStairs(n, a, 40, o); },
         [](std::vector<int16_t>& w) {
             if (w[0] < -5) w[0] = -1;
             if (w[n - 1] > 5) w[n - 1] = 1;
         }},
        {"CF1 14", kShapeCf1, [] { ArbBuild_SetCf1(14); }, [](uint16_t* o) { return ShapeCf1(n, a, 14, o); },
         [](std::vector<int16_t>& w) {
             EXPECT_NE(w[0], 0) << "the first point is cleaned";
             w[0] = 0;
         }},
        {"dip square 50/100", kShapeSurgeDip,
         [] { ArbBuild_SetSdMode(0), ArbBuild_SetSdAcv(50), ArbBuild_SetSdSite(100); },
         [](uint16_t* o) { return ShapeSurgeDip(n, a, 0, 50, 100, o); },
         [](std::vector<int16_t>& w) {
             EXPECT_LT(w[0], -20);
             EXPECT_GT(w[n - 1], 20);
             w[0] = -1, w[n - 1] = 1;
         }},
        {"surge 4/3", kShapeSurgeDip,
         [] { ArbBuild_SetSdMode(1), ArbBuild_SetSdAcv(4), ArbBuild_SetSdSite(3); },
         [](uint16_t* o) { return ShapeSurgeDip(n, a, 1, 5, 4, o); },
         [](std::vector<int16_t>& w) {
             if (w[0] < -20) w[0] = -1;
             if (w[n - 1] > 20) w[n - 1] = 1;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ArbBuilderReset();
        for (int i = 0; i < 3; ++i)
            ArbBuild_TaskRun();
        // The start-up curve is published for the editor's first frame; the page takes it.
        ASSERT_NE(ArbBuild_GetPreview(), nullptr);
        ASSERT_NE(ArbBuild_PreviewChanged(), 0);
        ArbBuild_ClearPreviewChanged();
        ASSERT_EQ(ArbBuild_SetType(c.type), c.type);
        c.set();
        ArbBuild_RequestPreview();
        for (int i = 0; i < 200 && ArbBuild_PreviewChanged() == 0; ++i)
            ArbBuild_TaskRun();
        const int16_t* shown = ArbBuild_GetPreview();
        ASSERT_NE(shown, nullptr);
        std::vector<uint16_t> raw(n);
        ASSERT_EQ(c.raw(raw.data()), n);
        std::vector<int16_t> want(raw.begin(), raw.end());
        c.clean(want);
        EXPECT_EQ(std::vector<int16_t>(shown, shown + n), want);
    }
}

}  // namespace
