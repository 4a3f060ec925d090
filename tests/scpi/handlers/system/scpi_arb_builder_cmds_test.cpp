// The waveform builder's remote commands where the socket cannot reach: a store whose file cannot be
// written, and the editor entered again only while the panel shows it.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "core/control/calibration/calibration.h"
#include "core/control/hooks/screen_request.h"
#include "core/system/state/edit_state.h"
#include "engine/arb/arb_builder.h"
#include "platform/host/clock.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_handlers.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/scpi/scpi_channel_fixture.h"

namespace {

using namespace scpi;
namespace fs = std::filesystem;

std::atomic<int> g_reentered{0};

class ArbBuilderCmds : public test::CtrlTest {
  protected:
    void SetUp() override {
        plat::SetTimeScale(1.0);
        engine::ArbBuilderReset();
        g_CalState.mode.store(0);
        for (int i = 0; i < 3; ++i)
            ArbBuild_TaskRun();
        g_reentered.store(0);
        ScreenRequestRunners hooks{};
        hooks.arbitraryMode = [] {
            g_reentered.fetch_add(1);
            return int32_t{1};
        };
        ScreenRequest_SetRunners(hooks);
    }
    void TearDown() override { ScreenRequest_SetRunners({}); }
    scpitest::FakeChannel ch{kChanLan};
};

// The timer thread's part: the builder's task stepped every millisecond while a store waits for it.
struct TaskStepper {
    std::atomic<bool> stop{false};
    std::thread thread{[this] {
        for (; !stop.load(); plat::SleepMs(1))
            ArbBuild_TaskRun();
    }};
    ~TaskStepper() { stop.store(true), thread.join(); }
};

TEST_F(ArbBuilderCmds, AStoreThatCannotWriteItsFileIsAnExecutionError) {
    TaskStepper task;
    // A plain file where the waveform folder belongs: the save cannot make the folder.
    const std::string folder = env_.env.root.path() + "/mnt/tst/ARB";
    fs::remove_all(folder);
    env_.env.root.Write("/mnt/tst/ARB", "x");
    EXPECT_EQ(ch.Call(CmdSystArbEditStor, false, kItemInt, 17), "|41");
    fs::remove(folder);
    EXPECT_EQ(ch.Call(CmdSystArbEditStor, false, kItemInt, 17), "|0");
    EXPECT_EQ(env_.env.root.Read("/mnt/tst/ARB/ARB17.ARB").size(), 8260u);
}

TEST_F(ArbBuilderCmds, TheEditorIsEnteredAgainOnlyWhileItIsShown) {
    const struct {
        uint32_t state;
        int reentered;
    } cases[] = {{1, 0}, {494, 0}, {495, 1}, {544, 1}};
    for (const auto& c : cases) {
        g_reentered.store(0);
        g_MenuState.store(c.state);
        EXPECT_EQ(ch.Call<double>(CmdSystArbEditClip, false, kItemReal, 0.3), "|0") << c.state;
        EXPECT_EQ(g_reentered.load(), c.reentered) << c.state;
    }
    // A refused value changes nothing and enters nothing.
    g_reentered.store(0);
    EXPECT_EQ(ch.Call<double>(CmdSystArbEditClip, false, kItemReal, 1.5), "|53");
    EXPECT_EQ(g_reentered.load(), 0);
    EXPECT_EQ(ArbBuild_GetClip(), 30);
}

}  // namespace
