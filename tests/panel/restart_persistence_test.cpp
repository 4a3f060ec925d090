// The settings of a unit survive the save before a restart and a start of a fresh process on the same
// root: only the non-volatile memory carries them across.
#include <gtest/gtest.h>

#include "core/params/param_access.h"
#include "core/params/param_store.h"
#include "core/system/model_table.h"
#include "core/system/msg_queue.h"
#include "core/system/sys_status.h"
#include "panel/menu_thread.h"
#include "platform/panel_sim.h"
#include "platform/spi.h"
#include "src/dev/panel_link.h"
#include "src/dev/spi_nvm.h"
#include "storage/nv_blocks.h"
#include "storage/settings_backup.h"
#include "tests/support/default_store.h"

using namespace core;

namespace {

void Start() {
    g_SysStatus.store(0);
    panel::MenuThreadReset();
    MenuThread_Start();
}

// What a killed process loses: everything but the memory's file.
void Kill() {
    SpiDevClose(&g_NvSpi);
    NvBlocksReset();
    ParamStoreReset();
    g_ModelId = 0;
    g_PhaseMode = 0;
}

TEST(RestartPersistence, PhaseSettingsComeBackAfterTheSaveAndAFreshStart) {
    test::DefaultStore env;
    plat::PanelSimReset();
    SpiPanelOpen();
    ASSERT_EQ(MsgQueueInit(), 0);
    IpcSemInit();
    SpiDevClose(&g_NvSpi);
    plat::NvmSimReset();
    FactoryUnitRequest(2);
    Start();
    ASSERT_EQ(g_ModelId.load(), 2u);

    auto acv = [](uint32_t unit) -> int32_t& {
        return g_ParamStore.unit[unit].mode[1].volt[1].acv[0][16].value;
    };
    g_PhaseMode = 2;  // 1P3W: blocks 5 and 6
    acv(0) = 11100;
    acv(1) = 22200;
    g_ParamStore.unit[1].mode[1].freq.value = 6000;
    g_ParamStore.global[kGlbBuzzer].value = 0;
    SysStatusSet(kSysRestartPending);  // without a reboot request
    MenuThread_Pass();
    ASSERT_TRUE(SysStatusTest(kSysRestartHandled));

    Kill();
    Start();
    EXPECT_EQ(g_ModelId.load(), 2u);
    EXPECT_EQ(g_PhaseMode.load(), 2u);
    EXPECT_EQ(acv(0), 11100);
    EXPECT_EQ(acv(1), 22200);
    EXPECT_EQ(g_ParamStore.unit[1].mode[1].freq.value, 6000);
    EXPECT_EQ(g_ParamStore.global[kGlbBuzzer].value, 0);
    EXPECT_EQ(g_ParamStore.global[kGlbBuzzer].defaultValue, 1);
    core::MsgQueueRemove();
    SpiDevClose(&g_NvSpi);
}

}  // namespace
