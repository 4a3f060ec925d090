#include "screens/output/startup/startup_screen.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <string>
#include <vector>

#include "core/regbus/bus_transfer.h"
#include "core/system/state/stage_status.h"
#include "platform/host/clock.h"
#include "platform/host/stop_signal.h"
#include "platform/stage/power_stage_sim.h"
#include "platform/stage/reg_map.h"
#include "tests/GUI/screen_fixture.h"

namespace {

using namespace regmap;

class StartupScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        guitest::FreshScreen();
        plat::SetTimeScale(1000);  // the self-test's fifteen seconds in fifteen milliseconds
        Stage().Reset();
        BusMapInit();
        regbus::BusReset();
        core::StageStatusReset();
        g_StartupFailed.store(0);
        Stage().SetBootStatus(7);
    }
    void TearDown() override { plat::SetTimeScale(1); }
    static plat::PowerStageSim& Stage() { return plat::PowerStage(); }
    static std::vector<plat::BusTransfer> Transfers(uint16_t reg, bool write) {
        std::vector<plat::BusTransfer> out;
        for (const auto& t : Stage().Trace())
            if (t.write == write && t.reg == reg) out.push_back(t);
        return out;
    }
};

// A passing stage is started (boot control 4) with its boot status stored. A failing step stops the
// self-test where it is found: no module test runs after a firmware failure, and the boot status is
// stored and the stage started only once the firmware test passed.
TEST_F(StartupScreenTest, StartsAPassingStageAndStopsWhereAFailureIsFound) {
    auto expect = [this](bool bootStored, uint32_t failed = 1) {
        StartupScreen(0, 0);
        EXPECT_EQ(g_StartupFailed.load(), failed);
        EXPECT_EQ(g_PowerStageBootStatus.load(), bootStored ? 7 : 0);
        EXPECT_EQ(g_PhaseFault.load(), 0u);
        auto boot = Transfers(kBootCtrl, true);
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

// The status word as the stage reports it on each read: the firmware test's, the twelve start-up
// rounds', then modules 1-3 one each (the last value stays). What the four lines show in the end.
TEST_F(StartupScreenTest, EachLineShowsItsOwnVerdict) {
    constexpr uint32_t kAll = 0xFFFFFF, kNotUp = 0xFFFF03;
    std::vector<uint32_t> lateUp(12, kNotUp);
    lateUp.push_back(kAll);  // up only in the twelfth round, and not seen so again
    lateUp.push_back(kNotUp);
    struct Case {
        const char* what;
        std::vector<uint32_t> reads;
        uint32_t failed;
        size_t statusReads;
        const char* golden;  // "Pass" in green or "Fail" in red right of each line's label, or nothing
    } cases[] = {
        {"all up", {kAll}, 0, 16, "startup_pass"},
        {"firmware never up", {0xFFFFFC}, 1, 1, "startup_firmware_fail"},
        {"modules up in the last round", lateUp, 0, 16, "startup_pass"},
        {"modules up in the first round only", {kNotUp, kAll, kNotUp}, 0, 16, "startup_pass"},
        {"module 1 down", {kAll & ~0x4000u}, 1, 16, "startup_module1_fail"},
        {"module 2 down", {kAll & ~0x020000u}, 1, 16, "startup_module2_fail"},
        {"module 3 down", {kAll & ~0x1000u}, 1, 16, "startup_module3_fail"},
    };
    for (const Case& c : cases) {
        SetUp();
        Stage().ScriptRead(kFaultWord, 0, c.reads);
        StartupScreen(0, 0);
        EXPECT_EQ(g_StartupFailed.load(), c.failed) << c.what;
        EXPECT_EQ(Transfers(kFaultWord, false).size(), c.statusReads) << c.what;
        guitest::ExpectGolden(c.golden, GUI_BOX{0, 0, 799, 479});
    }
}

// A stop (the host's power switch) ends the self-test in the round it comes in: no further status read,
// no verdict for the modules, no failure recorded.
TEST_F(StartupScreenTest, AStopEndsTheRoundsWithoutAVerdict) {
    Stage().SetRead(kFaultWord, 0, 0xFFFFFF);
    plat::RequestStop(SIGTERM);
    StartupScreen(0, 0);
    plat::StopReset();
    EXPECT_EQ(Transfers(kFaultWord, false).size(), 2u);  // the firmware test's and the first round's
    EXPECT_EQ(g_StartupFailed.load(), 0u);
    guitest::ExpectGolden("startup_stopped", GUI_BOX{0, 0, 799, 479});
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
