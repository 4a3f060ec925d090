// The system event object: its ring, the operation-complete wait, resets and the busy and ready tests.
#include "core/control/sys_event.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "app/layer_hooks.h"
#include "core/params/defaults/param_init.h"
#include "core/params/limits/limit_checks.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/state/edit_state.h"
#include "drivers/panel_link.h"
#include "drivers/spi_device.h"
#include "panel/menu_thread.h"
#include "platform/devices/panel_sim.h"
#include "platform/host/clock.h"
#include "scpi/channels/ports/uart_channel.h"
#include "tests/core/ctrl_fixture.h"

namespace {

class SysEventTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WireLayerHooks();
        core::SysEventReset();
        core::SysStatusReset();
        // The control task runs: a reset's output-off request reaches it without the start-up wait.
        core::CtrlTaskReset();
        g_CtrlTaskObj.state.store(core::kCtrlRowRun);
        SysEvent_Run();  // state 1: initialise the ring and ask for state 2
        ASSERT_EQ(g_SysEventObj.state.load(), 1u);
        plat::PanelSimReset();
        SpiPanelOpen();
        plat::SetTimeScale(1000);  // a reset's 1 s steps of waiting for the settings save
        // The menu/control thread's side of the settings save.
        saver_ = std::thread([this] {
            while (!stop_.load(std::memory_order_acquire)) {
                SettingsSaveRequestTake();
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    }
    void TearDown() override {
        stop_.store(true, std::memory_order_release);
        saver_.join();
        core::CtrlTaskReset();
        OutputFlagClear(kOutFlagOutputOn);
        plat::SetTimeScale(1);
    }
    // The output on, as the control task's row would carry out a request; whether a request to switch it
    // off has been posted since.
    static void OutputOn() {
        OutputFlagSet(kOutFlagOutputOn);
        g_CtrlTaskObj.rows[core::kCtrlRowRun].msg.store(0);
    }
    static bool OffRequested() {
        return g_CtrlTaskObj.rows[core::kCtrlRowRun].msg == core::kCtrlMsgOutputOff;
    }
    static std::vector<uint8_t> StoreBytes() {
        const auto* p = reinterpret_cast<const uint8_t*>(&g_ParamStore);
        return {p, p + sizeof g_ParamStore};
    }
    test::CtrlEnv env_;  // model type 1
    std::thread saver_;
    std::atomic<bool> stop_{false};
};

// An event pushed behind the read index waits for the index to come round.
TEST_F(SysEventTest, RingOverwritesItsOldestSlotsAndEmptyPopsMoveOn) {
    for (uint32_t e = 1; e <= 10; ++e)
        SysEvent_Push(100 + e);
    for (uint32_t e : {109, 110, 103, 104, 105, 106, 107, 108, 0})  // slots 0 and 1 were overwritten
        EXPECT_EQ(SysEvent_Pop(), e);
    core::SysEventReset();
    SysEvent_Run();
    EXPECT_EQ(SysEvent_Pop(), 0u);
    EXPECT_EQ(SysEvent_Pop(), 0u);
    SysEvent_Push(5);  // lands in slot 0, behind the read index
    int pops = 1;
    for (; SysEvent_Pop() == 0 && pops < 8; ++pops) {
    }
    EXPECT_EQ(pops, 7);  // slots 2..7 empty, then slot 0
}

// Waits requested again while one counts keep one tick in the ring: a queued reset is not overwritten.
TEST_F(SysEventTest, OperationCompleteWaitsKeepOneTickAndLoseNoReset) {
    EXPECT_EQ(OpcWaitStart(), 1u);
    int steps = 0;
    for (; IsOpcPending() && steps < 100; ++steps)
        SysEvent_Run();
    EXPECT_EQ(steps, 21);
    EXPECT_EQ(g_SysEventObj.state.load(), 2u);

    for (int i = 0; i < 20; ++i)
        OpcWaitStart();
    ResetDefaultStart();
    bool reset = false;
    for (steps = 0; (IsOpcPending() || !reset) && steps < 100; ++steps) {
        SysEvent_Run();
        reset |= g_SysEventRing.lastEvent.load() == kSysEventResetOutput;
    }
    EXPECT_TRUE(reset);
    EXPECT_LE(steps, 23);
}

// An operation a command started (a SEQ/SIM preparation) holds *OPC? and a *WAI past their 20 ticks until
// it ends, and no longer than a bounded count when it never does; the stage's busy test ignores it.
TEST_F(SysEventTest, PendingOperationHoldsTheOperationCompleteWait) {
    static std::atomic<bool> pending{true};
    pending.store(true);
    SysEvent_SetHooks({nullptr, nullptr, nullptr, [] { return pending.load(); }});
    EXPECT_EQ(IsSystemBusy(), 0u);
    EXPECT_EQ(IsOpcBusy(0), 1u);
    OpcWaitStart();
    for (int i = 0; i < 200; ++i)
        SysEvent_Run();
    EXPECT_EQ(IsOpcPending(), 1u);
    pending.store(false);
    int steps = 0;
    for (; IsOpcPending() && steps < 100; ++steps)
        SysEvent_Run();
    EXPECT_LE(steps, 2);
    EXPECT_EQ(IsOpcBusy(0), 0u);

    pending.store(true);
    OpcWaitStart();
    for (steps = 0; IsOpcPending() && steps < 200000; ++steps)
        SysEvent_Run();
    EXPECT_EQ(IsOpcPending(), 0u) << "a *WAI holds its channels for a bounded time";
    WireLayerHooks();
}

// Only a factory default restores the LAN settings.
TEST_F(SysEventTest, RemoteResetHandshakeEndsWithResetDone) {
    OutputOn();
    g_SysStatus.fetch_or(1u << kSysRemoteResetLow);  // requested by a remote reset command
    ResetDefaultStart();
    g_LanCfg.PORT = 6000;
    SysEvent_Run();  // event 2: the reset runs
    EXPECT_TRUE(OffRequested());
    EXPECT_EQ((g_SysStatus.load() >> kSysRemoteResetLow) & 3u, 2u);
    EXPECT_EQ(IsSystemReady(), 0u);
    EXPECT_EQ(g_LanCfg.PORT, 6000u);  // only a factory default restores the LAN settings
    SysEvent_Run();                   // no event: the reset is over
    EXPECT_EQ((g_SysStatus.load() >> kSysRemoteResetLow) & 3u, 0u);
    EXPECT_TRUE(SysStatusTest(kSysResetDone));
}

// The host name is kept.
TEST_F(SysEventTest, FactoryDefaultRestartsRs232AndClearsKeys) {
    plat::SetTimeScale(1000);  // the wait for the output to go off
    OutputOn();
    SpiAuxWrite4(0xF);
    KeyEventBoxInit();
    KeyEventPost(KeyEventPack(0, kKeyEnter, 1));
    g_LanCfg.PORT = 6000;
    g_LanCfg.HOSTNAME[0] = 'h';
    g_IfaceCfg.gpibAddress = 3;
    FactoryDefaultStart();
    SysEvent_Run();
    EXPECT_TRUE(OffRequested());
    EXPECT_EQ(g_LanCfg.PORT, 5025u);  // the SCPI port
    EXPECT_EQ(g_LanCfg.HOSTNAME[0], 'h');
    EXPECT_EQ(g_IfaceCfg.gpibAddress, 10u);
    EXPECT_EQ(scpi::UartPollState(), 2);
    EXPECT_EQ(plat::PanelSimLamps(), 0);
    uint32_t ev = 1;
    EXPECT_EQ(KeyEventTake(&ev), -1);
}

// On this model the crest-factor ceiling lowers AC-voltage maxima.
TEST_F(SysEventTest, ResetsLeaveTheDefaultsWithinTheirLimitChecks) {
    SetDefaultAll();
    const std::vector<uint8_t> plain = StoreBytes();
    ArbAcvLimitUpdateAll();
    for (uint32_t mode = 0; mode < 10; ++mode) {
        FreqLimitCheck(mode);
        VoltSettingCheckAll(mode, 0);
        VoltSettingCheckAll(mode, 1);
    }
    const std::vector<uint8_t> checked = StoreBytes();
    ASSERT_NE(plain, checked);
    for (void (*start)() : {FactoryDefaultStart, ResetDefaultStart}) {
        SetDefaultAll();  // the settings as a user left them: unchecked, one voltage changed
        SetAcv(5000, 1);
        g_IfaceCfg.lcd[1] = 80;
        start();
        SysEvent_Run();
        EXPECT_TRUE(StoreBytes() == checked);
        EXPECT_EQ(g_IfaceCfg.lcd[1], 50);
        EXPECT_FALSE(SysStatusTest(kSysResetSaveRequest));
    }
    EXPECT_EQ(g_MenuResetWords[0].load(), 1u);
}

TEST_F(SysEventTest, StageNotReadyMakesTheSystemBusyAndNotReady) {
    core::g_OutputStatusMirror.store(0x81);  // output on, stage not ready
    EXPECT_EQ(IsSystemReady(), 0u);
    EXPECT_EQ(IsSystemBusy(), 1u);
    core::g_OutputStatusMirror.store(0);
}

}  // namespace
