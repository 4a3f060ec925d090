#include "screens/output/startup_screen.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/regbus/regbus.h"
#include "core/system/stage_status.h"
#include "platform/power_stage_sim.h"

namespace {

class StartupScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Stage().Reset();
        BusMapInit();
        regbus::BusReset();
        core::StageStatusReset();
        g_StartupFailed.store(0);
        Stage().SetBootStatus(7);
    }
    static plat::PowerStageSim& Stage() { return plat::PowerStage(); }
    static std::vector<plat::BusTransfer> Writes(uint16_t reg) {
        std::vector<plat::BusTransfer> out;
        for (const auto& t : Stage().Trace())
            if (t.write && t.reg == reg) out.push_back(t);
        return out;
    }
};

TEST_F(StartupScreenTest, PassingStageStoresItsBootStatusAndStartsIt) {
    Stage().SetRead(2048, 0, 0x0231);
    EXPECT_EQ(StartupScreen(0, 0), 0);
    EXPECT_EQ(g_StartupFailed.load(), 0u);
    EXPECT_EQ(g_PowerStageBootStatus.load(), 7);
    EXPECT_EQ(g_PowerStageStatus.load(), 0x0231u);
    auto boot = Writes(2447);
    ASSERT_EQ(boot.size(), 1u);
    EXPECT_EQ(boot[0].raw, 4u);
    // The loop-back writes 0x55555555, a pattern from 10 to 1009 and 0xAAAAAAAA.
    std::vector<uint32_t> loop;
    for (const auto& t : Writes(2559))
        loop.push_back(t.raw);
    ASSERT_EQ(loop.size() % 3, 0u);
    ASSERT_GE(loop.size(), 3u);
    EXPECT_EQ(loop[0], 0x55555555u);
    EXPECT_GE(loop[1], 10u);
    EXPECT_LE(loop[1], 1009u);
    EXPECT_EQ(loop[2], 0xAAAAAAAAu);
    EXPECT_EQ(g_PhaseFault.load(), 0u);
}

// A failing step stops the self-test where it is found: no module test runs after a firmware failure,
// and the boot status is stored and the stage started only once the firmware test passed.
TEST_F(StartupScreenTest, FailuresStopTheSelfTestWhereTheyAreFound) {
    auto expectFailed = [](bool bootStored) {
        StartupScreen(0, 0);
        EXPECT_EQ(g_StartupFailed.load(), 1u);
        EXPECT_EQ(g_PowerStageBootStatus.load() != 0, bootStored);
        EXPECT_EQ(g_PhaseFault.load(), 0u);
        EXPECT_EQ(Writes(2447).empty(), !bootStored);
    };
    Stage().InjectReadXor(2303, 0, 0x100);  // a broken link
    expectFailed(false);
    SetUp();
    Stage().SetRead(2090, 0, 0xFFFFC);  // firmware not started; a faulty module would be found
    Stage().SetRead(2082, 0, 0);
    expectFailed(false);
    SetUp();
    Stage().SetRead(2090, 0, 0x3F);  // module 3 not up
    Stage().SetRead(2083, 0, 0);
    expectFailed(true);
}

TEST_F(StartupScreenTest, PhaseCheckFlagsModuleWordsOutsideTheirRange) {
    const struct {
        uint32_t word;
        uint32_t fault;
    } cases[] = {{0, 1}, {1, 0}, {399999, 0}, {400000, 1}, {0xFFFFFFFF, 1}};
    for (const auto& c : cases) {
        Stage().SetRead(2082, 0, c.word);  // phase L2
        PhaseFaultCheck();
        EXPECT_EQ(g_PhaseFaultWord[1].load(), c.fault) << c.word;
        EXPECT_EQ(g_PhaseFaultWord[0].load(), 0u);
        EXPECT_EQ(g_PhaseFault.load(), c.fault) << c.word;
    }
}

}  // namespace
