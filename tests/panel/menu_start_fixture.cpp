#include "tests/panel/menu_start_fixture.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/params/access/wiring_state.h"
#include "core/params/defaults/param_init.h"
#include "core/params/param_store.h"
#include "core/params/presets/preset_store.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/config/model_table.h"
#include "core/system/links/remote_state.h"
#include "core/system/messaging/msg_queue.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/seqsim_slots.h"
#include "core/system/state/stage_status.h"
#include "core/system/state/sys_status.h"
#include "drivers/spi_nvm.h"
#include "engine/seqsim/seqsim_data.h"
#include "panel/menu_thread.h"
#include "platform/devices/panel_sim.h"
#include "storage/nv/nv_blocks.h"

namespace paneltest {

void OpenPanelAndQueues() {
    plat::PanelSimReset();
    SpiPanelOpen();
    ASSERT_EQ(MsgQueueInit(), 0);
    IpcSemInit();
}

void StartMenuThread() {
    g_SysStatus.store(0);
    panel::MenuThreadReset();
    MenuThread_Start();
}

void RestartOnSameRoot() {
    SpiDevClose(&g_NvSpi);
    NvBlocksReset();
    core::ParamStoreReset();
    std::memset(g_PresetStore, 0, sizeof g_PresetStore);
    std::memset(g_SeqStepTable, 0, sizeof g_SeqStepTable);
    std::memset(g_SimStepTable, 0, sizeof g_SimStepTable);
    g_LanCfg = {};
    g_SeqSimSlots = {};
    g_ModelId = 0;
    g_PhaseMode = 0;
    StartMenuThread();
}

void StartModelOneUnit() {
    OpenPanelAndQueues();
    StartMenuThread();
    // A stage that booted: else the alarm notices of a later pass post a system error into the keys' replies.
    g_PowerStageBootStatus.store(1);
    g_ModelId.store(1);
    SetDefaultAll();
    g_MenuState.store(1);
}

void StopModelOneUnit() {
    g_ParamFlags.store(0);
    g_OutputFlags.store(0);
    RemoteStateSet(kRemoteLocal);
    g_ModelId.store(0);
    SetDefaultAll();
    core::MsgQueueRemove();
}

}  // namespace paneltest
