#include "panel/keys/key_thread.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <utility>

#include "core/control/barcode_table.h"
#include "core/control/ctrl_task_state.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/params/presets/preset_recall.h"
#include "core/params/presets/preset_store.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/sys_status.h"
#include "drivers/panel_link.h"
#include "drivers/spi_device.h"
#include "engine/seqsim/seqsim_data.h"
#include "panel/keys/scanned_line.h"
#include "panel/statusbar/status_bar.h"
#include "platform/devices/hid.h"
#include "platform/devices/panel_sim.h"
#include "platform/panel_channel/panel_channel.h"
#include "tests/support/default_store.h"
#include "tests/support/temp_root.h"

namespace {

class KeyThreadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plat::PanelSimReset();
        SpiPanelOpen();
        g_SysStatus.store(1u << kSysReady);
        g_OutputFlags.store(0);
        KeyThread_Init();
    }
    static void Passes(int n) {
        for (int i = 0; i < n; ++i)
            KeyThread_Pass();
    }
    // Takes the pending event, 0 when none.
    static uint32_t Take() {
        uint32_t ev = 0;
        KeyEventTake(&ev);
        return ev;
    }
    // Holds a key for `passes` passes, then releases it and runs one more pass.
    static void PressFor(uint8_t code, int passes) {
        plat::PanelSimHold(code);
        Passes(passes);
        plat::PanelSimRelease();
        Passes(1);
    }
};

// A key held for 400 passes posts nothing (and the next press counts from 0); held past them it posts its
// long-press code once, and nothing on release.
TEST_F(KeyThreadTest, LongPressIsPostedOnceAfter400Passes) {
    PressFor('K', 400);
    EXPECT_EQ(Take(), 0u);
    PressFor('K', 3);
    EXPECT_EQ(Take(), KeyEventPack(0, 'K', 5));
    plat::PanelSimHold('K');
    Passes(401);
    EXPECT_EQ(Take(), KeyEventPack(0, 0xC1, 0));  // 0xC1 has no class of its own
    Passes(300);
    plat::PanelSimRelease();
    Passes(2);
    EXPECT_EQ(Take(), 0u);
}

// Whatever key is pressed, short or long, the event posted already carries the class of the code it
// posts, so the menu can dispatch every key by its class.
TEST_F(KeyThreadTest, EveryPostedKeyCarriesItsClass) {
    for (int code = 1; code < 256; ++code) {
        if (code == kKeyKnobOther || code == kKeyKnob) continue;
        for (int passes : {3, 401}) {
            PressFor(static_cast<uint8_t>(code), passes);
            const uint32_t ev = Take();
            EXPECT_NE(ev, 0u) << code << " for " << passes;
            EXPECT_EQ(KeyCode_SetClass(ev), ev) << code << " for " << passes;
        }
    }
}

// Keys are refused until the system is ready, while they are blocked or set commands barred, and during a
// screen copy, which only the output key passes, with the output on.
TEST_F(KeyThreadTest, KeysAreRefusedUntilReadyWhileBlockedOrDuringAScreenCopy) {
    // {status bit (kSysReady: cleared, the others set), output on, key, posted}
    const std::tuple<SysStatusBit, bool, uint8_t, bool> cases[] = {
        {kSysKeysBlocked, false, 'U', false},
        {kSysSetCommandsBarred, false, 'U', false},
        {kSysReady, false, 'U', false},
        {kSysScreenCopyPending, false, 'X', false},
        {kSysScreenCopyPending, true, 'U', false},
        {kSysScreenCopyPending, true, 'X', true},
    };
    for (const auto& [bit, on, key, posted] : cases) {
        g_SysStatus.store(1u << kSysReady);
        bit == kSysReady ? SysStatusClear(bit) : SysStatusSet(bit);
        on ? OutputFlagSet(kOutFlagOutputOn) : OutputFlagClear(kOutFlagOutputOn);
        PressFor(key, 3);
        EXPECT_EQ(Take(), posted ? KeyEventPack(0, key, 5) : 0u) << key << " bit " << bit << " on " << on;
    }
}

// The scanner, plugged in through the panel channel, reaches the key thread: a scanned code runs its
// action, a line scanned in a barcode teach state becomes that state's code, and the keypad's Enter with
// nothing scanned is the accept key.
TEST_F(KeyThreadTest, ScannedCodesRunTheirActionAndEnterAloneIsAccept) {
    test::DefaultStore store;
    // The other tests of this program find the presets as they were.
    struct KeptPresets {
        decltype(g_PresetStore) kept;
        KeptPresets() { std::memcpy(kept, g_PresetStore, sizeof kept); }
        ~KeptPresets() { std::memcpy(g_PresetStore, kept, sizeof kept); }
    } presets;
    ASSERT_EQ(SetAcv(12000, 0), 12000);
    ASSERT_EQ(PresetRangeCheckRun(1, 3), 0);
    ASSERT_EQ(SetAcv(5000, 0), 5000);
    MsgQueue_Clear();
    std::string error;
    ASSERT_EQ(plat::PanelChannelCommand("scan Recall M3", &error), 0) << error;
    KeyThread_Init();
    Passes(600);
    // The key thread only collects the line: the recall changes the settings, which the control task
    // reads in the menu/control thread's pass, so that thread runs it between two control passes.
    uint32_t id = 0;
    EXPECT_NE(MsgQueue_Pop(&id), 0) << "recalled in the key thread";
    g_HomePage.presetSel = 0;
    g_ParamFlags = 0;
    ScannedLineStep();
    EXPECT_EQ(MsgQueue_Pop(&id), 0);
    EXPECT_EQ(id, 16u);  // "Recalled From M%d"
    EXPECT_EQ(GetAcv(0), 12000);
    EXPECT_EQ(g_HomePage.recallIndex.load(), 3u);
    EXPECT_EQ(statusbar::ShownPreset(), 3u) << "the status bar names the scanned preset";
    EXPECT_NE(g_ParamFlags.load() & core::kFlagPresetRecalled, 0u);
    EXPECT_EQ(Take(), 0u);

    g_MenuState = 297;  // the editor of the third code ("Recall M2")
    ASSERT_EQ(plat::PanelChannelCommand("scan Taught", &error), 0) << error;
    Passes(600);
    ScannedLineStep();
    g_MenuState = 0;
    EXPECT_STREQ(g_BarcodeTable.rows[3], "Taught");
    EXPECT_NE(MsgQueue_Pop(&id), 0) << "a taught line runs nothing";
    EXPECT_EQ(Take(), 0u);
    const uint8_t enter[8] = {0, 0, 40, 0, 0, 0, 0, 0}, up[8] = {};
    plat::HidSimQueueReport(enter, 8);
    plat::HidSimQueueReport(up, 8);
    Passes(30);
    EXPECT_EQ(Take(), KeyEventPack(0, 'U', 1));
    EXPECT_EQ(plat::PanelChannelCommand("scan \x01", &error), -1);  // no key types it
    plat::HidSimPlug(false);
}

// A scanned "Output OFF" in SEQUENCE/SIMULATE switches the output off without a run and stops a run.
TEST_F(KeyThreadTest, ScannedOutputOffActsInSequenceAndSimulate) {
    testsupport::TempRoot root;
    StepRow& ctrl = g_CtrlTaskObj.rows[core::kCtrlRowRun];
    for (const bool running : {false, true}) {
        g_OutputFlags.store(0);
        OutputFlagSet(kOutFlagSeqSimActive);
        OutputFlagSet(kOutFlagOutputOn);
        g_SeqSimBlock[0].runWord = kRunReady << 9;
        g_SeqSimBlock[0].flags = static_cast<uint8_t>(running ? kRunFlagRunning : 0);
        ctrl.msg.store(0);
        std::string error;
        ASSERT_EQ(plat::PanelChannelCommand("scan Output OFF", &error), 0) << error;
        KeyThread_Init();
        Passes(600);
        ScannedLineStep();
        EXPECT_EQ(ctrl.msg.load(), running ? 0u : uint32_t{core::kCtrlMsgOutputOff});
        EXPECT_EQ((g_SeqSimBlock[0].runWord.load() >> 9) & 0xFFFFu, uint32_t{running ? kRunStop : kRunReady});
    }
    g_SeqSimBlock[0].flags = 0;
    g_SeqSimBlock[0].runWord = 0;
    g_OutputFlags.store(0);
    plat::HidSimPlug(false);
}

TEST(ScannerKeys, UsageCodesBecomeKeyEvents) {
    EXPECT_EQ(core::ScanCodeKeyEvent(40), KeyEventPack(0, 'U', 0));  // Enter
    EXPECT_EQ(core::ScanCodeKeyEvent(87), KeyEventPack(1, 213, 0));  // keypad + and - turn the knob
    EXPECT_EQ(core::ScanCodeKeyEvent(86), KeyEventPack(-1, 213, 0));
    EXPECT_EQ(core::ScanCodeKeyEvent(4), 0u);  // a letter: dropped
    // The knob's raw code is posted as the knob; an unknown code keeps the class it had.
    EXPECT_EQ(KeyCode_SetClass(KeyEventPack(-1, 212, 0)), KeyEventPack(-1, 213, 4));
    EXPECT_EQ(KeyCode_SetClass(KeyEventPack(0, 0xC1, 7)), KeyEventPack(0, 0xC1, 7));
    // The last key of a run takes the run's class; a key held long posts its long code, {key, code}.
    for (auto [key, cls] : {std::pair<uint8_t, uint8_t>{74, 1}, {82, 2}, {96, 3}})
        EXPECT_EQ(KeyCode_SetClass(KeyEventPack(0, key, 0)), KeyEventPack(0, key, cls)) << int{key};
    for (auto [key, held] :
         {std::pair<int, int>{73, 0xF9}, {74, 0xFD}, {76, 0xFE}, {82, 0xFA}, {96, 0xC9}, {77, 77}})
        EXPECT_EQ(core::LongPressCode(static_cast<uint8_t>(key)), held) << key;
}

}  // namespace
