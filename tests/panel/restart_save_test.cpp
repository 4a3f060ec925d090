#include "panel/restart_save.h"

#include <gtest/gtest.h>

#include <set>

#include "core/params/param_access.h"
#include "core/system/sys_status.h"
#include "platform/clock.h"
#include "platform/spi.h"
#include "src/dev/spi_nvm.h"
#include "storage/nv_blocks.h"
#include "tests/support/default_store.h"

namespace {

// A restart request saves the blocks of the phase mode and block 0 once, re-arms the GPIB reset line and
// marks the request handled; only with a reboot request does the unit unmount USB memory and reboot.
TEST(RestartSave, SavesOnceAndRebootsOnlyWhenAsked) {
    test::DefaultStore store;
    SpiDevClose(&g_NvSpi);
    plat::NvmSimReset();
    ASSERT_EQ(SpiNvmInit(), 0);
    ASSERT_EQ(plat::NvmSimErase(), 0);
    plat::SetTimeScale(1000);
    for (bool reboot : {false, true}) {
        SCOPED_TRACE(reboot);
        g_PhaseMode = 2;
        g_SysStatus.store(0);
        store.root.Write("/var/log/commands.log", "");
        RestartSaveStep();
        EXPECT_TRUE(plat::NvmSimLog().empty()) << "nothing pending";
        SysStatusSet(kSysRestartPending);
        if (reboot) SysStatusSet(kSysRebootRequest);
        RestartSaveStep();
        RestartSaveStep();
        std::multiset<uint32_t> offsets;
        for (const auto& cmd : plat::NvmSimLog())
            if (cmd.command == 0x02) offsets.insert(cmd.address);
        EXPECT_EQ(offsets, (std::multiset<uint32_t>{0, 0, NvBlockOffset(5), NvBlockOffset(5) + 2048,
                                                    NvBlockOffset(5) + 4096, NvBlockOffset(5) + 6144,
                                                    NvBlockOffset(6), NvBlockOffset(6) + 2048,
                                                    NvBlockOffset(6) + 4096, NvBlockOffset(6) + 6144}));
        EXPECT_TRUE(SysStatusTest(kSysRestartHandled));
        EXPECT_EQ(store.root.Read("/sys/class/leds/gpib_rst/brightness"), "1\n");
        const std::string log = store.root.Read("/var/log/commands.log");
        EXPECT_EQ(log.find("umount /mnt/sd1") != std::string::npos, reboot) << log;
        EXPECT_EQ(log.find("reboot") != std::string::npos, reboot) << log;
        plat::NvmSimClearLog();
    }
    plat::SetTimeScale(1);
    SpiDevClose(&g_NvSpi);
    plat::NvmSimReset();
}

}  // namespace
