// The save before a restart, and what a fresh process on the same root gets back from it: the phase
// settings, the identity, the presets and the configuration text.
#include "panel/restart_save.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/params/presets/preset_recall.h"
#include "core/params/presets/preset_store.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/config/model_table.h"
#include "core/system/messaging/msg_queue.h"
#include "core/system/state/seqsim_slots.h"
#include "core/system/state/sys_status.h"
#include "drivers/panel_link.h"
#include "drivers/spi_nvm.h"
#include "panel/menu_thread.h"
#include "platform/devices/panel_sim.h"
#include "platform/devices/spi.h"
#include "platform/host/clock.h"
#include "platform/host/stop_signal.h"
#include "storage/nv/settings_backup.h"
#include "sysadmin/firmware/fw_update.h"
#include "tests/panel/menu_start_fixture.h"
#include "tests/support/controller_process.h"
#include "tests/support/default_store.h"

using namespace core;

namespace {

int32_t& Acv(uint32_t unit) {
    return g_ParamStore.unit[unit].mode[1].volt[1].acv[0][16].value;
}

// Every case starts on factory settings with a blank memory and an empty message queue.
class RestartSave : public ::testing::Test {
  protected:
    void SetUp() override {
        paneltest::OpenPanelAndQueues();
        SpiDevClose(&g_NvSpi);
        plat::NvmSimReset();
    }
    void TearDown() override {
        core::MsgQueueRemove();
        SpiDevClose(&g_NvSpi);
        // A reboot's save closes the set commands and asks the program to start again.
        panel::StopSaveReset();
        plat::StopReset();
    }
    test::DefaultStore env;
};

// Saved once per request (GPIB reset line re-armed, request handled); the next start gets the phase
// settings back. Without a reboot request nothing reboots.
TEST_F(RestartSave, SettingsComeBackAfterTheSaveAndAFreshStart) {
    FactoryUnitRequest(2);
    paneltest::StartMenuThread();
    g_PhaseMode = 2;  // 1P3W: blocks 5 and 6
    Acv(0) = 11100;
    Acv(1) = 22200;
    g_ParamStore.global[kGlbBuzzer].value = 0;
    ASSERT_EQ(PresetRangeCheckRun(1, 3), 0);
    uint8_t presets[sizeof g_PresetStore];
    std::memcpy(presets, g_PresetStore, sizeof presets);
    g_LanCfg.PORT = 5100;
    g_SeqSimSlots.seq = 4;
    plat::NvmSimClearLog();
    MenuThread_Pass();
    EXPECT_TRUE(plat::NvmSimLog().empty()) << "nothing saved without a pending restart";
    SysStatusSet(kSysRestartPending);
    MenuThread_Pass();
    ASSERT_TRUE(SysStatusTest(kSysRestartHandled));
    EXPECT_EQ(env.root.Read("/sys/class/leds/gpib_rst/brightness"), "1\n");
    plat::NvmSimClearLog();
    MenuThread_Pass();
    EXPECT_TRUE(plat::NvmSimLog().empty()) << "saved once";

    paneltest::RestartOnSameRoot();
    EXPECT_EQ(g_ModelId.load(), 2u);
    EXPECT_EQ(g_PhaseMode.load(), 2u);
    EXPECT_EQ(Acv(0), 11100);
    EXPECT_EQ(Acv(1), 22200);
    EXPECT_EQ(g_ParamStore.global[kGlbBuzzer].value, 0);  // its default is 1
    EXPECT_EQ(std::memcmp(g_PresetStore, presets, sizeof presets), 0);
    EXPECT_EQ(g_LanCfg.PORT, 5100u);
    EXPECT_EQ(g_SeqSimSlots.seq, 4);

    // The settings a reset leaves are saved when the reset asks for it.
    Acv(1) = 33300;
    SysStatusSet(kSysResetSaveRequest);
    MenuThread_Pass();
    EXPECT_FALSE(SysStatusTest(kSysResetSaveRequest));
    paneltest::RestartOnSameRoot();
    EXPECT_EQ(Acv(1), 33300);

    EXPECT_EQ(env.root.Read("/var/log/commands.log").find("reboot"), std::string::npos);
}


// A reboot asked twice before the services run saves and reboots once: the save, the GPIB reset, the USB
// memory unmounted, a second's wait, the panel controller told the application stopped, then "reboot".
TEST_F(RestartSave, ARebootAskedTwiceSavesAndRebootsOnce) {
    FactoryUnitRequest(1);
    paneltest::StartMenuThread();
    SpiAuxWrite1(1);  // as the supervisor leaves it once the program runs
    ASSERT_EQ(plat::PanelSimAppRunning(), 1);
    const size_t before = env.root.Read("/var/log/commands.log").size();
    sysRebootRequest();
    sysRebootRequest();
    EXPECT_TRUE(SysStatusTest(kSysSetCommandsBarred));
    plat::NvmSimClearLog();
    plat::SetTimeScale(10);
    MenuThread_Pass();
    plat::SetTimeScale(1);
    EXPECT_FALSE(plat::NvmSimLog().empty());
    plat::NvmSimClearLog();
    MenuThread_Pass();
    MenuThread_Pass();
    EXPECT_TRUE(plat::NvmSimLog().empty()) << "saved once";
    EXPECT_EQ(plat::PanelSimAppRunning(), 0);
    const std::string log = env.root.Read("/var/log/commands.log").substr(before);
    EXPECT_EQ(testsupport::CountOf(log, "echo 1 > /sys/class/leds/gpib_rst/brightness"), 1u) << log;
    EXPECT_EQ(testsupport::CountOf(log, "reboot"), 1u) << log;
    const size_t gpib = log.find("gpib_rst"), umount = log.find("umount"), reboot = log.find("reboot");
    EXPECT_LT(gpib, umount) << log;
    ASSERT_LT(umount, reboot) << log;
    // The log's lines start with the wall-clock time of the command (to the millisecond).
    const auto stamp = [&log](size_t at) {
        const size_t line = log.rfind('\n', at) == std::string::npos ? 0 : log.rfind('\n', at) + 1;
        int h = 0, m = 0, sec = 0, ms = 0;
        std::sscanf(log.c_str() + line + 11, "%d:%d:%d.%d", &h, &m, &sec, &ms);
        return ((h * 60 + m) * 60 + sec) * 1000 + ms;
    };
    // The unmount's last step waits its own second after its "sync"; the reboot waits one more (at a
    // tenth of the time here).
    const int gap = (stamp(reboot) - stamp(log.rfind("sync", reboot)) + 86400000) % 86400000;
    EXPECT_GE(gap, 200) << "the unmounted memory gets its second\n" << log;
}

// A stop of the program is the unit's power-off: the menu thread runs the restart's save once, also after
// a restart that was already handled (what changed since would be lost otherwise).
TEST_F(RestartSave, AStopSavesOnceOnTheMenuPassWhateverTheRestartBitsSay) {
    panel::StopSaveReset();
    FactoryUnitRequest(1);
    paneltest::StartMenuThread();
    SysStatusSet(kSysRestartPending);
    MenuThread_Pass();
    ASSERT_TRUE(SysStatusTest(kSysRestartHandled));
    EXPECT_FALSE(StopSaveDone());

    // The restart's save, whose every part the first case reads back; one setting shows it ran.
    Acv(0) = 12340;
    StopSaveRequest();
    EXPECT_FALSE(StopSaveDone()) << "saved by the menu pass, not by the request";
    plat::NvmSimClearLog();
    MenuThread_Pass();
    EXPECT_TRUE(StopSaveDone());
    EXPECT_FALSE(plat::NvmSimLog().empty());
    plat::NvmSimClearLog();
    MenuThread_Pass();
    EXPECT_TRUE(plat::NvmSimLog().empty()) << "saved once";

    paneltest::RestartOnSameRoot();
    EXPECT_EQ(Acv(0), 12340);
    panel::StopSaveReset();
}

// An update that ends in a reboot after a restart of the same run (a LAN restart, an alarm's restart)
// still reboots: the earlier request was handled, the update's is new. Remote set commands are refused
// from the update's request on.
TEST_F(RestartSave, AnUpdatesRebootAfterAnEarlierRestartReboots) {
    FactoryUnitRequest(1);
    paneltest::StartMenuThread();
    SysStatusSet(kSysRestartPending);
    MenuThread_Pass();
    ASSERT_TRUE(SysStatusTest(kSysRestartHandled));
    ASSERT_EQ(env.root.Read("/var/log/commands.log").find("reboot"), std::string::npos);
    EXPECT_FALSE(SysStatusTest(kSysSetCommandsBarred));

    FwUpd_Reboot();
    EXPECT_TRUE(SysStatusTest(kSysSetCommandsBarred));
    plat::SetTimeScale(1000);
    MenuThread_Pass();
    plat::SetTimeScale(1);
    const std::string log = env.root.Read("/var/log/commands.log");
    EXPECT_NE(log.find("reboot"), std::string::npos) << log;
    EXPECT_TRUE(SysStatusTest(kSysSetCommandsBarred));
}

}  // namespace
