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

// A passing stage is started (boot control 4) with its boot status stored. A failing step stops the
// self-test where it is found: no module test runs after a firmware failure, and the boot status is
// stored and the stage started only once the firmware test passed.
TEST_F(StartupScreenTest, StartsAPassingStageAndStopsWhereAFailureIsFound) {
    auto expect = [](bool bootStored, uint32_t failed = 1) {
        StartupScreen(0, 0);
        EXPECT_EQ(g_StartupFailed.load(), failed);
        EXPECT_EQ(g_PowerStageBootStatus.load(), bootStored ? 7 : 0);
        EXPECT_EQ(g_PhaseFault.load(), 0u);
        auto boot = Writes(kBootCtrl);
        EXPECT_EQ(boot.empty() ? 0u : boot[0].raw, bootStored ? 4u : 0u);
    };
    expect(true, 0);
    SetUp();
    Stage().InjectReadXor(kLoopbackRead, 0, 0x100);  // a broken link
    expect(false);
    SetUp();
    Stage().SetRead(kFaultWord, 0, 0xFFFFC);  // firmware not started; a faulty module would be found
    Stage().SetRead(kModuleWord.at(1), 0, 0);
    expect(false);
    SetUp();
    Stage().SetRead(kFaultWord, 0, 0x3F);  // module 3 not up
    Stage().SetRead(kModuleWord.at(2), 0, 0);
    expect(true);
}

TEST_F(StartupScreenTest, PhaseCheckFlagsModuleWordsOutsideTheirRange) {
    const std::pair<uint32_t, uint32_t> cases[] = {{0, 1}, {1, 0}, {399999, 0}, {400000, 1}, {0xFFFFFFFF, 1}};
    for (const auto& [word, fault] : cases) {
        Stage().SetRead(kModuleWord.at(1), 0, word);  // phase L2
        PhaseFaultCheck();
        EXPECT_EQ(g_PhaseFaultWord[1].load(), fault) << word;
        EXPECT_EQ(g_PhaseFaultWord[0].load(), 0u);
        EXPECT_EQ(g_PhaseFault.load(), fault) << word;
    }
}

}  // namespace
