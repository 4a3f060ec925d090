#include "screens/output/startup_screen.h"

#include <gtest/gtest.h>

#include "core/regbus/regbus.h"
#include "core/system/stage_status.h"
#include "platform/power_stage_sim.h"
#include "platform/reg_map.h"

namespace {

using namespace regmap;

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
    Stage().SetRead(kStatus, 0, 0x0231);
    EXPECT_EQ(StartupScreen(0, 0), 0);
    EXPECT_EQ(g_StartupFailed.load(), 0u);
    EXPECT_EQ(g_PowerStageBootStatus.load(), 7);
    EXPECT_EQ(g_PowerStageStatus.load(), 0x0231u);
    auto boot = Writes(kBootCtrl);
    ASSERT_EQ(boot.size(), 1u);
    EXPECT_EQ(boot[0].raw, 4u);
    EXPECT_FALSE(Writes(kLoopbackWrite).empty());  // the loop-back test ran (its words: regbus tests)
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
        EXPECT_EQ(Writes(kBootCtrl).empty(), !bootStored);
    };
    Stage().InjectReadXor(kLoopbackRead, 0, 0x100);  // a broken link
    expectFailed(false);
    SetUp();
    Stage().SetRead(kFaultWord, 0, 0xFFFFC);  // firmware not started; a faulty module would be found
    Stage().SetRead(kModuleWord.at(1), 0, 0);
    expectFailed(false);
    SetUp();
    Stage().SetRead(kFaultWord, 0, 0x3F);  // module 3 not up
    Stage().SetRead(kModuleWord.at(2), 0, 0);
    expectFailed(true);
}

TEST_F(StartupScreenTest, PhaseCheckFlagsModuleWordsOutsideTheirRange) {
    const struct {
        uint32_t word;
        uint32_t fault;
    } cases[] = {{0, 1}, {1, 0}, {399999, 0}, {400000, 1}, {0xFFFFFFFF, 1}};
    for (const auto& c : cases) {
        Stage().SetRead(kModuleWord.at(1), 0, c.word);  // phase L2
        PhaseFaultCheck();
        EXPECT_EQ(g_PhaseFaultWord[1].load(), c.fault) << c.word;
        EXPECT_EQ(g_PhaseFaultWord[0].load(), 0u);
        EXPECT_EQ(g_PhaseFault.load(), c.fault) << c.word;
    }
}

}  // namespace
