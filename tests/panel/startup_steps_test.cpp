// The menu/control thread's start and the run-time re-initialisation: preset records held in range, the
// SEQ and SIM memories used last loaded again, the interface bytes and the power stage's wiring, and the
// hold a staged remote interface change starts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/control/calibration/cal_state.h"
#include "core/control/sys_event.h"
#include "core/params/access/wiring_state.h"
#include "core/params/param_store.h"
#include "core/params/presets/preset_store.h"
#include "core/regbus/bus_transfer.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/lan_pending.h"
#include "core/system/messaging/msg_queue.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/seqsim_slots.h"
#include "core/system/state/sys_status.h"
#include "drivers/spi_nvm.h"
#include "engine/run/seqsim_run.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_remote.h"
#include "engine/seq/seq_setters.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mem_slots.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/seqsim/seqsim_names.h"
#include "engine/seqsim/seqsim_validate.h"
#include "panel/menu_thread.h"
#include "panel/panel_services.h"
#include "panel/runtime_init.h"
#include "platform/devices/spi.h"
#include "platform/stage/power_stage_sim.h"
#include "screens/seqsim/seq/seq_mem_reload.h"
#include "screens/seqsim/sim/memory/sim_memory.h"
#include "storage/nv/config_text.h"
#include "storage/nv/nv_blocks.h"
#include "storage/nv/preset_backup.h"
#include "storage/nv/settings_backup.h"
#include "tests/panel/menu_start_fixture.h"
#include "tests/support/default_store.h"

namespace {

class StartupSteps : public ::testing::Test {
  protected:
    void SetUp() override {
        paneltest::OpenPanelAndQueues();
        SpiDevClose(&g_NvSpi);
        plat::NvmSimReset();
        FactoryUnitRequest(2);
        // A new process: the working tables as the program starts, the front panel's defaults wired.
        engine::SeqSimDataReset();
        MenuThread_SetSeqSimDefaults({.seq = SeqMem_ReloadAtStart, .sim = Sim_LoadLastOrDefault});
        paneltest::StartMenuThread();
    }
    void TearDown() override {
        MenuThread_SetSeqSimDefaults({});
        core::OutputFlagsReset();
        engine::SeqSimDataReset();
        core::MsgQueueRemove();
        SpiDevClose(&g_NvSpi);
    }
    test::DefaultStore env;
};

// A record whose sum matches but whose values this model does not take is held in range at start; the
// values it does take stay.
TEST_F(StartupSteps, PresetRecordsAreHeldInRangeAtStart) {
    struct Case {
        uint32_t preset, phase, byte;
        uint8_t stored, atStart;
    };
    const Case cases[] = {
        {3, 0, kPresetOutputMode, 20, 0},  // output modes 0-9, default 0
        {4, 1, 2, 5, 1},                   // a 0/1 switch, default 1
        {5, 2, kPresetOutputMode, 4, 4},   // in range: kept
    };
    for (const Case& c : cases)
        PresetRecord(c.preset, c.phase)[c.byte] = c.stored;
    for (int32_t p = 0; p < 3; ++p)
        ASSERT_EQ(PresetBackupSave(p), kNvSaved);
    paneltest::RestartOnSameRoot();
    for (const Case& c : cases)
        EXPECT_EQ(PresetRecord(c.preset, c.phase)[c.byte], c.atStart) << "M" << c.preset << " L" << c.phase + 1;
}

// The memories named in the configuration text come back into the working tables; a memory without a file
// (or a number outside 0-9) gives the tables what its cleared memory holds: the default step (50.00 Hz) or,
// for SEQ6-SEQ9, its template in the AC+DC tables; the SIM sets the default state (100.0 ms).
TEST_F(StartupSteps, TheSeqAndSimMemoriesUsedLastComeBack) {
    constexpr int32_t kSeqMark = 1234;
    constexpr uint32_t kSimMark = 4321;
    g_SeqStepTable[0][0][0].dcv = kSeqMark;
    g_SimStepTable[0][0][0].time = kSimMark;
    ASSERT_GT(SeqMem_Save(3), 0);
    ASSERT_GT(SimMem_Save(6), 0);
    struct Case {
        uint16_t seq, sim;
        bool seqLoaded, simLoaded;
    };
    const Case cases[] = {
        {3, 6, true, true}, {4, 6, false, true}, {3, 7, true, false}, {12, 99, false, false}};
    for (const Case& c : cases) {
        g_SeqSimSlots = {c.seq, c.sim};
        ASSERT_GT(SaveSystemConfig(), 0);
        paneltest::RestartOnSameRoot();
        ASSERT_EQ(g_SeqSimSlots.seq, c.seq);
        for (int p = 0; p < 3; ++p) {
            const SeqStepRecord& step = g_SeqStepTable[0][p][0];
            EXPECT_EQ(step.dcv, p == 0 && c.seqLoaded ? kSeqMark : 0) << "SEQ" << c.seq << " L" << p + 1;
            EXPECT_EQ(step.fset, 5000u) << "SEQ" << c.seq << " L" << p + 1;
            EXPECT_EQ(step.time, 1000u) << "SEQ" << c.seq << " L" << p + 1;
            EXPECT_EQ(g_SimStepTable[0][p][0].time, p == 0 && c.simLoaded ? kSimMark : 1000u)
                << "SIM" << c.sim << " L" << p + 1;
            EXPECT_EQ(g_SimStepTable[1][p][kSimNormal2].freq, 5000u) << "SIM" << c.sim << " L" << p + 1;
        }
    }
    // SEQ7 without its file: step 2 of its template (12.00 V - 0.60 V for 1.0000 s) in both AC+DC tables.
    g_SeqSimSlots = {7, 0};
    ASSERT_GT(SaveSystemConfig(), 0);
    paneltest::RestartOnSameRoot();
    for (int table : {0, 1}) {
        EXPECT_EQ(g_SeqStepTable[table][2][2].dcv, 1140) << table;
        EXPECT_EQ(g_SeqStepTable[table][2][2].time, 10000u) << table;
        EXPECT_EQ(g_SeqStepTable[table + 2][2][2].dcv, 0) << table + 2;
    }
    // A power cut ended a loan of memory 9: the copy of what the user stored there (SEQ3's steps) is put
    // back before memory 9, the memory used last, is loaded. The names come back from their file.
    env.root.Write("/mnt/tst/seq/SEQ9_tmp.SEQ", env.root.Read("/mnt/tst/seq/SEQ3.SEQ"));
    env.root.Write("/mnt/tst/seq/SEQ9.SEQ", "present");
    ASSERT_EQ(SeqSimSetMode(1), 1u);
    ASSERT_EQ(SeqSetMemName("Inrush", 9), 0);
    g_SeqSimSlots = {9, 0};
    ASSERT_GT(SaveSystemConfig(), 0);
    std::memset(g_SeqMemName, 0, sizeof g_SeqMemName);
    paneltest::RestartOnSameRoot();
    EXPECT_EQ(g_SeqStepTable[0][0][0].dcv, kSeqMark);
    EXPECT_EQ(env.root.Read("/mnt/tst/seq/SEQ9_tmp.SEQ"), "");
    EXPECT_EQ(std::string(g_SeqMemName[9]), "Inrush");
}

// SEQ mode on the tables a fresh root starts with (ACDC-INT, 3P4W): the records of L1 alone are written.
class FreshRootSeqSim : public StartupSteps {
  protected:
    void SetUp() override {
        StartupSteps::SetUp();
        ASSERT_EQ(SeqSimSetMode(1), 1u);
        SeqSimSelectTables();
        g_SeqSimRemoteSel[0].store(0);
    }
};

// Steps written remotely on L1 carry their step-global values in L1 only; the other phases keep the
// default step, so the table in use validates and RUN starts it.
TEST_F(FreshRootSeqSim, RunTakesStepsWrittenOnL1) {
    EXPECT_EQ(SeqValidateAll(5), 1);
    EXPECT_EQ(SimValidateAll(4), 1);
    for (int32_t step = 0; step < 3; ++step) {
        SeqSetCurStep(step);
        ASSERT_EQ(SeqSetStepCommonParams(100000, 0, 0, 0, 0, step == 2 ? kTermEnd : kTermConti, 0, 0, 0, 0, 0,
                                         0, 0, 0),
                  0)
            << step;
        ASSERT_EQ(SeqSetStepPhaseParams(10000, kTypeCT, 0, kTypeCT, 5000, kTypeCT, kWaveCodeSin, 500, 0), 0)
            << step;
    }
    SeqSetCurStep(0);
    OutputFlagSet(kOutFlagOutputOn);
    EXPECT_EQ(SeqSimRunStopToggle(), 0);
    EXPECT_NE(SeqSimIsRunning(), 0);
    EXPECT_EQ(SeqSimRunStopToggle(), 0) << "the stop";
}

// The working tables of a fresh root stored in a memory are recalled as they were stored, not as data out
// of range (-202). SEQ:SPAR has no duty of its own and hands the step's stored one on: on a fresh root that
// is 50.0 %, which the duty setter takes also after another step left a live duty behind.
TEST_F(FreshRootSeqSim, TablesRecallAsStoredAndAPhaseWriteWithTheStoredDutyIsTaken) {
    ASSERT_GT(SeqMem_Save(2), 0);
    EXPECT_EQ(SeqMem_Recall(1, 2), 1);
    EXPECT_EQ(g_SeqSimBlock[0].invalid, 0u);
    SeqSetCurStep(0);
    ASSERT_EQ(SeqSetStepPhaseParams(10000, kTypeCT, 0, kTypeCT, 5000, kTypeCT, kWaveCodeSqu, 250, 0), 0);
    SeqSetCurStep(1);
    EXPECT_EQ(SeqGetDuty(0), 500);
    EXPECT_EQ(SeqSetStepPhaseParams(10000, kTypeCT, 0, kTypeCT, 5000, kTypeCT, kWaveCodeSin, SeqGetDuty(0), 0),
              0);
    EXPECT_EQ(SeqGetDuty(0), 500);
    ASSERT_EQ(SeqSimSetMode(2), 2u);
    ASSERT_GT(SimMem_Save(2), 0);
    EXPECT_EQ(SimMem_Recall(1, 2), 1);
}

class RuntimeInit : public StartupSteps {
  protected:
    void SetUp() override {
        StartupSteps::SetUp();
        plat::PowerStage().Reset();
        BusMapInit();
        regbus::BusReset();
    }
    static std::vector<uint32_t> PhaseModeWrites() {
        std::vector<uint32_t> values;
        for (const plat::BusTransfer& t : plat::PowerStage().Trace())
            if (t.write && t.reg == 2355) values.push_back(t.raw);
        return values;
    }
};

// The stage is told the restored wiring only when the wiring it reads back differs; the mirror then
// carries the restored wiring in bits 14-15 beside the stage's other bits.
TEST_F(RuntimeInit, TheStageTakesTheRestoredWiringWhenItReadsBackAnother) {
    struct Case {
        uint32_t phaseMode, stageWiring;
        bool written;
    };
    const Case cases[] = {{2, 0, true}, {1, 1, false}, {0, 2, true}, {1, 2, true}, {0, 0, false}};
    for (const Case& c : cases) {
        g_PhaseMode = c.phaseMode;
        plat::PowerStage().SetRead(2085, 0, (c.stageWiring << 14) | 0x81u);
        plat::PowerStage().ClearTrace();
        InitRuntimeState();
        const std::vector<uint32_t> writes = PhaseModeWrites();
        if (c.written) {
            ASSERT_EQ(writes.size(), 1u) << c.phaseMode << "/" << c.stageWiring;
            EXPECT_EQ(writes[0], c.phaseMode);
        } else {
            EXPECT_TRUE(writes.empty()) << c.phaseMode << "/" << c.stageWiring;
        }
        EXPECT_EQ(core::g_OutputStatusMirror.load(), (c.phaseMode << 14) | 0x81u);
    }
}

TEST_F(RuntimeInit, InterfaceBytesLongPressEnableAndKeyBlockAreSet) {
    IfaceUsbByteSet(0, 0x02);  // USB speed 1: kept
    IfaceUsbByteSet(2, 0x10);  // USB class CDC: kept
    g_HardcopyLongPressEnable.store(3);
    g_IfaceCfg.rs232Enable = 0;
    SysStatusSet(kSysKeysBlocked);
    InitRuntimeState();
    EXPECT_EQ(IfaceUsbByte(0), 0x12);
    EXPECT_EQ(IfaceUsbByte(2), 0x16);
    EXPECT_EQ(g_HardcopyLongPressEnable.load(), 1u);
    EXPECT_EQ(g_IfaceCfg.rs232Enable, 1);
    EXPECT_FALSE(SysStatusTest(kSysKeysBlocked));
}

// Each new change mask of the staged interface record restarts the 20-tick hold (40 in the countdown's
// half ticks); a mask seen already does not.
TEST_F(StartupSteps, AStagedInterfaceChangeRestartsTheHoldCountdown) {
    struct Step {
        uint32_t mask, countdown;
    };
    const Step steps[] = {{0, 0}, {1u << 8, 40}, {1u << 8, 0}, {(1u << 8) | (1u << 17), 40}, {0, 40}, {0, 0}};
    for (const Step& s : steps) {
        g_LanPending.mask = s.mask;
        g_HoldCountdown.store(0);
        MenuThread_Pass();
        EXPECT_EQ(g_HoldCountdown.load(), s.countdown) << std::hex << s.mask;
    }
    // Calibration leaves a change unseen until it ends.
    g_CalState.mode.store(1u << 4);
    g_LanPending.mask = 1u << 1;
    MenuThread_Pass();
    EXPECT_EQ(g_HoldCountdown.load(), 0u);
    g_CalState.mode.store(0);
    MenuThread_Pass();
    EXPECT_EQ(g_HoldCountdown.load(), 40u);
    g_LanPending.mask = 0;
}

}  // namespace
