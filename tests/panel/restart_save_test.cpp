// What the restart path saves comes back at the next start of the menu/control thread on the same
// memory: the presets and the configuration text. The process's end is played by wiping them in memory.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/params/param_access.h"
#include "core/params/preset_recall.h"
#include "core/params/preset_store.h"
#include "core/system/lan_cfg.h"
#include "core/system/seqsim_slots.h"
#include "core/system/sys_status.h"
#include "panel/menu_thread.h"
#include "panel/sys_service.h"
#include "src/dev/spi_nvm.h"
#include "tests/support/default_store.h"

namespace {

void Restart() {
    SpiDevClose(&g_NvSpi);
    std::memset(g_PresetStore, 0, sizeof g_PresetStore);
    g_LanCfg = {};
    g_SeqSimSlots = {};
    core::SysStatusReset();
    MenuThread_Start();
}

TEST(RestartSave, PresetsAndConfigurationComeBackAfterARestart) {
    test::DefaultStore store;
    Restart();
    EXPECT_EQ(g_LanCfg.PORT, 5025u);  // nothing stored yet: the default
    g_LanCfg.PORT = 5100;
    sysServiceStep();
    Restart();
    EXPECT_EQ(g_LanCfg.PORT, 5025u) << "saved without a pending restart";

    ASSERT_EQ(SetAcv(12340, 0), 12340);
    ASSERT_EQ(PresetRangeCheckRun(1, 3), 0);
    uint8_t presets[sizeof g_PresetStore];
    std::memcpy(presets, g_PresetStore, sizeof presets);
    g_LanCfg.PORT = 5100;
    std::strcpy(g_LanCfg.HOSTNAME, "bench-7");
    g_SeqSimSlots.seq = 4;
    SysStatusSet(kSysRestartPending);
    sysServiceStep();
    EXPECT_TRUE(SysStatusTest(kSysRestartHandled));
    const std::string log = store.root.Read("/var/log/commands.log");
    EXPECT_NE(log.find("echo 1 > /sys/class/leds/gpib_rst/brightness"), std::string::npos) << log;
    EXPECT_EQ(log.find("reboot"), std::string::npos) << log;
    SysStatusSet(kSysRebootRequest);
    SysStatusClear(kSysRestartHandled);
    sysServiceStep();
    EXPECT_NE(store.root.Read("/var/log/commands.log").find("reboot"), std::string::npos);

    Restart();
    EXPECT_EQ(std::memcmp(g_PresetStore, presets, sizeof presets), 0);
    EXPECT_EQ(g_LanCfg.PORT, 5100u);
    EXPECT_STREQ(g_LanCfg.HOSTNAME, "bench-7");
    EXPECT_EQ(g_SeqSimSlots.seq, 4);
    SpiDevClose(&g_NvSpi);
}

}  // namespace
