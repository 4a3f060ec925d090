// Key events stepped through the menu/control thread's pass: the remote, key-lock, OUTPUT, PRESET and
// SHIFT rules, the lamps and the panel controller's start word.
#include <gtest/gtest.h>

#include <vector>

#include "core/control/alarms/alarm_state.h"
#include "core/control/ctrl_task_state.h"
#include "core/control/sys_event.h"
#include "core/params/access/param_access.h"
#include "core/params/defaults/param_init.h"
#include "core/params/param_store.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/config/model_table.h"
#include "core/system/links/remote_state.h"
#include "core/system/links/usb_state.h"
#include "core/system/messaging/msg_queue.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/sys_status.h"
#include "drivers/panel_link.h"
#include "engine/seqsim/seqsim_data.h"
#include "panel/hardcopy/hardcopy.h"
#include "panel/keys/key_filters.h"
#include "panel/keys/key_thread.h"
#include "panel/menu_thread.h"
#include "panel/panel_lamps.h"
#include "panel/runtime_init.h"
#include "platform/devices/panel_sim.h"
#include "platform/sandbox/sandbox_events.h"
#include "sysadmin/usb/usb_memory.h"
#include "tests/panel/menu_start_fixture.h"
#include "tests/support/temp_root.h"

namespace {

std::vector<uint32_t> g_dispatched;
void Record(uint32_t* ev) {
    g_dispatched.push_back(*ev);
}

uint32_t Key(uint8_t code, uint8_t cls = 5) {
    return KeyEventPack(0, code, cls);
}

class MenuKeys : public ::testing::Test {
  protected:
    void SetUp() override {
        paneltest::StartModelOneUnit();
        MenuThread_SetKeyDispatch(Record);
        // A single unit, the master of itself: every rule applies.
        ASSERT_EQ(GetParallelPosition(), 1);
        MsgQueue_Clear();
        g_dispatched.clear();
    }
    void TearDown() override {
        MenuThread_SetKeyDispatch(nullptr);
        paneltest::StopModelOneUnit();
    }
    // Passes one key and returns the message it posted (0 for none).
    static uint32_t Press(uint32_t ev) {
        MsgQueue_Clear();
        EXPECT_EQ(KeyEventPost(ev), 0);
        MenuThread_Pass();
        uint32_t id = 0;
        MsgQueue_Pop(&id);
        return id;
    }
    static bool OffRequested() {
        return g_CtrlTaskObj.rows[core::kCtrlRowRun].msg.load() == core::kCtrlMsgOutputOff;
    }
    static void OutputOn() {
        g_CtrlTaskObj.rows[core::kCtrlRowRun].msg.store(0);
        OutputFlagSet(kOutFlagOutputOn);
    }
    static bool Flag(uint32_t bit) { return (g_ParamFlags.load() & bit) != 0; }
};

TEST_F(MenuKeys, RemoteOutputKeySwitchesOffOrIsRefused) {
    RemoteStateSet(kRemoteRemote);
    OutputOn();
    EXPECT_EQ(Press(Key(kKeyOutput)), 0u);
    EXPECT_TRUE(OffRequested());
    OutputFlagClear(kOutFlagOutputOn);
    EXPECT_EQ(Press(Key(kKeyOutput)), 13u);
    EXPECT_EQ(Press(Key(kKeyEnter)), 13u);
    EXPECT_TRUE(g_dispatched.empty());
}

TEST_F(MenuKeys, RemoteShiftThenAKeyOnlyClearsShiftButLocalReturns) {
    RemoteStateSet(kRemoteRemote);
    OutputFlagSet(kOutFlagRemote);
    EXPECT_EQ(Press(Key(kKeyShift)), 0u);
    EXPECT_TRUE(Flag(core::kFlagShiftLatched));
    EXPECT_EQ(Press(Key(65, 1)), 0u);
    EXPECT_FALSE(Flag(core::kFlagShiftLatched));
    EXPECT_EQ(RemoteStateGet(), kRemoteRemote);
    EXPECT_TRUE(g_dispatched.empty());
    for (uint8_t local : {'N', '@'}) {
        RemoteStateSet(kRemoteRemote);
        OutputFlagSet(kOutFlagRemote);
        Press(Key(kKeyShift));
        EXPECT_EQ(Press(Key(local)), 0u);
        EXPECT_EQ(RemoteStateGet(), kRemoteLocal);
        EXPECT_FALSE(OutputFlagTest(kOutFlagRemote));
        EXPECT_FALSE(Flag(core::kFlagShiftLatched));
    }
    RemoteStateSet(kRemoteRwLock);
    Press(Key(kKeyShift));
    EXPECT_FALSE(Flag(core::kFlagShiftLatched));
}

// In SEQUENCE/SIMULATE, with or without a run, OUTPUT switches a live output off (a run is stopped too);
// with the output off the remote and key-lock refusals stand and nothing asks for the output on.
TEST_F(MenuKeys, OutputKeySwitchesOffInSequenceAndSimulate) {
    OutputFlagSet(kOutFlagSeqSimActive);
    for (const bool running : {false, true}) {
        g_SeqSimBlock[0].runWord = kRunReady << 9;
        g_SeqSimBlock[0].flags = static_cast<uint8_t>(running ? kRunFlagRunning : 0);
        OutputOn();
        EXPECT_EQ(Press(Key(kKeyOutput)), 0u);
        EXPECT_TRUE(OffRequested()) << "run " << running;
        EXPECT_EQ((g_SeqSimBlock[0].runWord.load() >> 9) & 0xFFFFu, uint32_t{running ? kRunStop : kRunReady});
    }
    EXPECT_TRUE(g_dispatched.empty());
    g_SeqSimBlock[0].flags = 0;
    g_SeqSimBlock[0].runWord = 0;
    OutputFlagClear(kOutFlagOutputOn);
    const struct {
        RemoteStateValue remote;
        uint32_t flags;
        uint32_t msg;
    } refused[] = {{kRemoteRemote, 0, 13}, {kRemoteLocal, core::kFlagKeysLocked, 0}};
    for (const auto& r : refused) {
        RemoteStateSet(r.remote);
        g_ParamFlags.store(r.flags);
        g_CtrlTaskObj.rows[core::kCtrlRowRun].msg.store(0);
        EXPECT_EQ(Press(Key(kKeyOutput)), r.msg);
        EXPECT_EQ(g_CtrlTaskObj.rows[core::kCtrlRowRun].msg.load(), 0u) << r.msg;
    }
    EXPECT_TRUE(g_dispatched.empty());
    OutputFlagClear(kOutFlagSeqSimActive);
}

// With the keys locked only OUTPUT-off, the long LOCK key and (in remote) SHIFT act.
TEST_F(MenuKeys, LockedKeysAreDroppedWithTheirMessage) {
    struct Case {
        uint32_t ev;
        bool remoteIndication;
        uint32_t state;
        uint32_t msg;
    };
    const Case cases[] = {
        {Key(kKeyVoltage, 2), false, 1, 11},
        {KeyEventPack(1, kKeyKnob, 4), false, 1, 11},
        {Key(kKeyVoltage, 2), true, 1, 13},
        {Key(kKeyShift), true, 1, 0},
        {Key(kKeyPreset), false, 1, 11},
        // Silent in the calibration states 316-328 only.
        {Key(kKeyVoltage, 2), false, 315, 11},
        {Key(kKeyVoltage, 2), false, 316, 0},
        {Key(kKeyVoltage, 2), false, 328, 0},
        {Key(kKeyVoltage, 2), false, 329, 11},
    };
    for (const Case& c : cases) {
        SysStatusClear(kSysCaliProcessing);  // set by a pass in a calibration state; it holds later keys
        g_MsgPopup.hold.store(0);            // a repeated message is a popup of its own
        g_ParamFlags.store(core::kFlagKeysLocked);
        g_MenuState.store(c.state);
        c.remoteIndication ? OutputFlagSet(kOutFlagRemote) : OutputFlagClear(kOutFlagRemote);
        EXPECT_EQ(Press(c.ev), c.msg) << KeyEventCode(c.ev) << " in " << c.state;
        EXPECT_EQ(g_ParamFlags.load(), core::kFlagKeysLocked) << KeyEventCode(c.ev);
    }
    EXPECT_TRUE(g_dispatched.empty());
    g_MenuState.store(1);
    SysStatusClear(kSysCaliProcessing);
    OutputOn();
    EXPECT_EQ(Press(Key(kKeyOutput)), 0u);
    EXPECT_TRUE(OffRequested());
    EXPECT_EQ(Press(Key(193)), 12u);
    EXPECT_FALSE(Flag(core::kFlagKeysLocked));
    EXPECT_EQ(Press(Key(kKeyLock)), 11u);
    EXPECT_TRUE(Flag(core::kFlagKeysLocked));
    // In remote, SHIFT still latches (the way back to local).
    RemoteStateSet(kRemoteRemote);
    EXPECT_EQ(Press(Key(kKeyShift)), 0u);
    EXPECT_TRUE(Flag(core::kFlagShiftLatched));
}

// SHIFT then a key: the shifted shortcut codes, the keys that keep the latch and the ones consumed.
TEST_F(MenuKeys, ShiftTranslatesTheNextKey) {
    struct Case {
        uint8_t key;
        uint32_t dispatched;  // 0: consumed
        bool latchKept;
    };
    const Case cases[] = {
        {'A', Key(236, 2), false},
        {'D', Key(237, 2), false},
        {'G', Key(232, 2), false},
        {'H', Key(238, 2), false},
        {'O', Key(228, 2), false},
        {'P', Key(229, 2), false},
        {'Q', Key(230, 2), false},
        {'R', Key(233, 2), false},
        {'J', Key(kKeyPoint), true},
        {'Y', Key(kKeySoft1), false},
        {'B', 0, false},
        {'N', 0, false},
        {'U', 0, false},
        {'I', 0, false},
    };
    for (const Case& c : cases) {
        g_ParamFlags.store(0);
        g_ShiftedYWord.store(0);
        g_OutputShadow[0][core::kShwPeakClear].store(0);
        Press(Key(kKeyShift));
        ASSERT_TRUE(Flag(core::kFlagShiftLatched));
        g_dispatched.clear();
        Press(Key(c.key));
        EXPECT_EQ(g_dispatched.empty() ? 0u : g_dispatched.back(), c.dispatched) << c.key;
        EXPECT_EQ(Flag(core::kFlagShiftLatched), c.latchKept) << c.key;
        EXPECT_EQ(g_ShiftedYWord.load(), c.key == 'Y' ? 1u : 0u) << c.key;
        EXPECT_EQ(g_OutputShadow[0][core::kShwPeakClear].load(), c.key == 'I' ? 1u : 0u)
            << "peak-hold clear " << c.key;
        EXPECT_FALSE(Flag(core::kFlagPresetMode)) << c.key;
    }
    g_ParamFlags.store(0);
    Press(Key(kKeyShift));
    Press(Key(kKeyShift));
    EXPECT_FALSE(Flag(core::kFlagShiftLatched));
}

// With an alarm present the keys can be unlocked (by the long LOCK key only) but not locked.
TEST_F(MenuKeys, AnAlarmLeavesOnlyTheUnlock) {
    g_AlarmState.summary.store(1);
    EXPECT_EQ(Press(Key(kKeyLock)), 0u);
    EXPECT_FALSE(Flag(core::kFlagKeysLocked));
    EXPECT_EQ(Press(Key(193)), 0u) << "nothing to unlock";
    g_ParamFlags.store(core::kFlagKeysLocked);
    EXPECT_EQ(Press(Key(kKeyVoltage, 2)), 0u);
    EXPECT_TRUE(Flag(core::kFlagKeysLocked));
    EXPECT_EQ(Press(Key(193)), 12u);
    EXPECT_FALSE(Flag(core::kFlagKeysLocked));
    g_AlarmState.summary.store(0);
}

// SHIFT then C asks for a screen copy (refused here: no USB memory), F clears the alarms, ] starts the
// factory default only while its one-shot arming says so.
TEST_F(MenuKeys, ShiftedActionKeys) {
    const auto shifted = [](uint8_t key) {
        g_ParamFlags.store(0);
        Press(Key(kKeyShift));
        g_dispatched.clear();  // SHIFT itself goes on to the state's handler
        g_MsgFreeText[0] = '\0';
        return Press(Key(key));
    };
    EXPECT_EQ(shifted('C'), 5u);
    EXPECT_STREQ(g_MsgFreeText, "USB Memory Unconnected");
    core::g_AlarmClearCountdown.store(0);
    shifted('F');
    EXPECT_NE(core::g_AlarmClearCountdown.load(), 0u);
    EXPECT_EQ(shifted(']'), 0u) << "never armed";
    KeyFilters_SetFactoryArmCheck([] { return int32_t{0}; });
    EXPECT_EQ(shifted(']'), 0u) << "not armed";
    KeyFilters_SetFactoryArmCheck([] { return int32_t{1}; });
    EXPECT_EQ(shifted(']'), 5u);
    EXPECT_STREQ(g_MsgFreeText, "Resetting...");
    KeyFilters_SetFactoryArmCheck(nullptr);
    core::SysEventReset();  // the reset is the system state object's, not run here
    EXPECT_TRUE(g_dispatched.empty());
}

TEST_F(MenuKeys, PresetKeyTogglesOnlyOnTheHomeStates) {
    // Each toggle also clears bit 1 of the second flag byte, and only that bit.
    constexpr uint32_t kSecondByteBit1 = 1u << 9, kNeighbours = 1u << 8 | 1u << 11;
    for (const bool on : {true, false}) {
        g_ParamFlags.fetch_or(kSecondByteBit1 | kNeighbours);
        EXPECT_EQ(Press(Key(kKeyPreset)), 0u);
        EXPECT_EQ(Flag(core::kFlagPresetMode), on);
        EXPECT_FALSE(Flag(kSecondByteBit1)) << on;
        EXPECT_EQ(g_ParamFlags.load() & kNeighbours, kNeighbours) << on;
    }
    g_ParamFlags.store(0);
    g_MenuState.store(94);
    EXPECT_EQ(Press(Key(kKeyPreset)), 15u);
    g_MenuState.store(93);
    EXPECT_EQ(Press(Key(kKeyPreset)), 0u);
    EXPECT_TRUE(Flag(core::kFlagPresetMode));
    g_ParamFlags.store(0);
    g_MenuState.store(2);
    g_HomePage.harmonicView.store(1);
    EXPECT_EQ(Press(Key(kKeyPreset)), 15u);
    g_MenuState.store(1);  // the harmonic view is the simple screen's only
    EXPECT_EQ(Press(Key(kKeyPreset)), 0u);
    EXPECT_TRUE(Flag(core::kFlagPresetMode));
    g_ParamFlags.store(0);
    g_HomePage.harmonicView.store(0);
    g_ParamFlags.store(core::kFlagMeterHold);
    EXPECT_EQ(Press(Key(kKeyPreset)), 14u);
    EXPECT_EQ(g_ParamFlags.load(), core::kFlagMeterHold);
}

// While a screen is copied the pass takes the key at once: OUTPUT switches off, anything else is dropped.
TEST_F(MenuKeys, OutputKeyActsDuringAScreenCopy) {
    SysStatusSet(kSysScreenCopyPending);
    OutputOn();
    ASSERT_EQ(KeyEventPost(Key(kKeyOutput)), 0);
    MenuThread_Pass();
    EXPECT_TRUE(OffRequested());
    uint32_t left = 1;
    KeyEventTake(&left);
    EXPECT_EQ(left, 0u);
    SysStatusClear(kSysScreenCopyPending);
}

// Each lamp that changes is sent once, whatever else changed with it; nothing is sent when none did.
TEST_F(MenuKeys, EachChangedLampIsSentOnce) {
    const uint32_t before = plat::PanelSimLampWrites();
    OutputFlagSet(kOutFlagOutputOn);
    g_ParamFlags.store(core::kFlagShiftLatched | core::kFlagPresetMode);
    SyncPanelIndicators();
    EXPECT_EQ(plat::PanelSimLampWrites() - before, 3u);
    EXPECT_EQ(plat::PanelSimLamps(), 0x7u);
    SyncPanelIndicators();
    EXPECT_EQ(plat::PanelSimLampWrites() - before, 3u);
    g_ParamFlags.store(core::kFlagPresetMode);
    SyncPanelIndicators();
    EXPECT_EQ(plat::PanelSimLampWrites() - before, 4u);
    EXPECT_EQ(plat::PanelSimLamps(), 0x5u);
}

// A long MENU press copies the screen and nothing else: the key, still held once the copy has ended, opens
// no MENU page when it is let go. The key thread and the menu/control thread step pass by pass; the
// supervisor writes the copy while the key thread goes on (and refuses the held key meanwhile).
TEST_F(MenuKeys, LongMenuPressCopiesTheScreenOnly) {
    testsupport::TempRoot root;
    std::string error;
    UsbMemSmReset();
    ASSERT_EQ(plat::SandboxUsbEvent("insert sda1", &error), 0) << error;
    for (int i = 0; i < 40 && !UsbMemoryMounted(); ++i)
        UsbMem_MountCheck();
    ASSERT_TRUE(UsbMemoryMounted());
    g_HardcopyLongPressEnable.store(1);
    SysStatusSet(kSysReady);
    KeyThread_Init();
    int pendingPasses = 0;
    auto pass = [&pendingPasses] {
        KeyThread_Pass();
        MenuThread_Pass();
        pendingPasses = Hardcopy_IsPending() ? pendingPasses + 1 : 0;
        if (pendingPasses == 10) Hardcopy_Run();
    };
    plat::PanelSimHold(kKeyMenu);
    for (int i = 0; i < 450; ++i)  // the panel channel's "hold"
        pass();
    plat::PanelSimRelease();
    for (int i = 0; i < 5; ++i)
        pass();
    EXPECT_EQ(root.Read("/mnt/sd1/QXDIMC000.bmp").size(), 1152054u) << "the screen copied";
    EXPECT_TRUE(g_dispatched.empty()) << "the release reached the menu as a MENU key";
    EXPECT_EQ(g_MenuState.load(), 1u);
    g_HardcopyLongPressEnable.store(0);
    ASSERT_EQ(plat::SandboxUsbEvent("remove", &error), 0) << error;
    for (int i = 0; i < 40 && UsbMemoryMounted(); ++i)
        UsbMem_MountCheck();
}

class StartWord : public MenuKeys {
  protected:
    void SetUp() override {
        MenuKeys::SetUp();
        SetParallelEnable(1);
        g_IfaceCfg.rs232Baud = 6;
        g_IfaceCfg.rs232DataBits = 0;
        g_IfaceCfg.rs232Parity = 2;
        g_IfaceCfg.rs232StopBits = 1;
        g_LanCfg.DHCP = 0;
        paramPutValue(kParamBuzzer, 1, 0);
    }
    testsupport::TempRoot root_;
};

TEST_F(StartWord, ZeroResetsTheCommunicationSettingsButASingleUnitKeepsItsRole) {
    plat::PanelSimSetStatus(0);
    PanelCommStartup();
    EXPECT_EQ(g_IfaceCfg.rs232Baud, 3);
    EXPECT_EQ(g_IfaceCfg.rs232DataBits, 1);
    EXPECT_EQ(g_IfaceCfg.rs232Parity, 0);
    EXPECT_EQ(g_IfaceCfg.rs232StopBits, 0);
    EXPECT_EQ(LanCfgRead().DHCP, 1);
    EXPECT_EQ(paramGetValue(kParamBuzzer, 0), 0);
    EXPECT_EQ(GetParallelPosition(), 1);
    EXPECT_EQ(GetParallelEnable(), 1);
}

TEST_F(StartWord, OneChangesNothingAndASilentControllerIsAskedTenTimes) {
    PanelCommStartup();
    EXPECT_EQ(g_IfaceCfg.rs232Baud, 6);
    EXPECT_EQ(g_IfaceCfg.rs232Parity, 2);
    EXPECT_EQ(LanCfgRead().DHCP, 0);
    EXPECT_EQ(paramGetValue(kParamBuzzer, 0), 1);
    plat::PanelSimSetUnresponsive(true);
    const uint32_t before = plat::PanelSimStatusTries();
    PanelCommStartup();
    EXPECT_EQ(plat::PanelSimStatusTries() - before, 10u);
    plat::PanelSimSetUnresponsive(false);
}

// A parallel system model is the master of its fixed number of units (the unit-count record takes 2-3).
TEST_F(StartWord, ParallelModelsSetTheirUnitCount) {
    const std::pair<uint32_t, int32_t> cases[] = {{3, 2}, {7, 2}, {4, 3}, {8, 3}};
    for (auto [type, units] : cases) {
        g_ModelId.store(type);
        SetDefaultAll();
        SetParallelPosition(0);
        SetParallelNumber(1);
        PanelCommStartup();
        EXPECT_EQ(GetParallelNumber(), units) << type;
        EXPECT_EQ(GetParallelPosition(), 1) << type;
    }
}

}  // namespace
