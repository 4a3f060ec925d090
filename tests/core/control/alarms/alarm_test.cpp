// The alarm monitor on the simulated stage: alarm bits injected into the stage's words become popups
// (posted when the listed bits change, not on every pass), the beep, the latch and the clear with its bus
// holds, the limiter texts and the system errors that the message hold paces.
#include <atomic>
#include <string>
#include <thread>

#include "core/control/alarms/alarm_monitor.h"
#include "core/control/alarms/alarm_state.h"
#include "core/control/alarms/alarms.h"
#include "core/control/hooks/core_services.h"
#include "core/control/parallel/parallel_frame.h"
#include "core/control/parallel/parallel_objects.h"
#include "core/regbus/bus_transfer.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/service_flags.h"
#include "core/system/state/stage_status.h"
#include "platform/host/clock.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/support/popup_passes.h"

namespace {

using test::Stage;

int g_beepOn = 0, g_beepOff = 0;

class AlarmTest : public test::CtrlTest {
  protected:
    void SetUp() override {
        g_beepOn = g_beepOff = 0;
        CoreServices services{};
        services.beepOn = [] { ++g_beepOn; };
        services.beepOff = [] { ++g_beepOff; };
        CoreServices_Set(services);
        Pass(80);  // the start delay, the monitor switched on, its 20 passes
        MsgQueue_Clear();
        test::ClearTrace();
    }
    void TearDown() override { CoreServices_Set({}); }
    static void Pass(int n = 1) {
        for (int i = 0; i < n; ++i)
            AlarmService();
    }
    // A pass after the timer thread's message hold ran out.
    static void PassUnheld() { g_AlarmMsgHold = 0, Pass(); }
    // The texts posted since the last call, oldest first.
    static std::vector<std::string> Posted() {
        std::vector<std::string> texts;
        uint32_t id = 0;
        while (MsgQueue_Pop(&id) == 0) {
            char text[256];
            MsgQueue_CopyText(text, sizeof text);
            texts.push_back(text);
        }
        return texts;
    }
};

TEST_F(AlarmTest, OverRmsCurrentOnL2IsShownOnceWithABeepThatAKeyAcknowledges) {
    Stage().InjectBit(2087, 2, true);
    Pass();
    EXPECT_EQ(Posted(), std::vector<std::string>{" Over RMS Current,\nPress Shift+6 Will Clear"});
    EXPECT_EQ(g_beepOn, 1);
    Pass(50);
    EXPECT_TRUE(Posted().empty()) << "reposted while the alarm lasts";
    EXPECT_EQ(g_beepOn, 1);
    EXPECT_EQ(AlarmBeepActive(), 1);
    AlarmBeepAck();  // a key that only acknowledges (the copy key): the monitor's next pass stops the tone
    Pass();
    EXPECT_EQ(AlarmBeepActive(), 0);
    EXPECT_EQ(g_beepOff, 1);  // once, when the sounding tone stops
    EXPECT_EQ(g_beepOn, 1);
    // A second alarm bit changes the list: shown again (each text replaces the one before).
    Stage().InjectBit(2086, 0, true);
    Pass();
    EXPECT_EQ(Posted().size(), 1u);
}

// At start the object waits 50 passes, switches the monitor on and waits 20 more: the 72nd pass is the
// first that looks. Switched off, the monitor holds the summary at 0 until it is on again.
TEST_F(AlarmTest, MonitorStartsAfterItsDelaysAndHoldsOffWhileSwitchedOff) {
    core::AlarmObjReset();
    AlarmMonitorOff();
    Stage().InjectBit(2086, 2, true);
    int passes = 0;
    while (Posted().empty() && passes < 200)
        Pass(), ++passes;
    EXPECT_EQ(passes, 72);
    EXPECT_EQ(IsAlarmMonitorOn(), 1);
    AlarmMonitorOff();
    Pass();  // the pass that sees it off still looks; the next ones hold
    for (int pass = 0; pass < 10; ++pass) {
        Pass();
        EXPECT_EQ(IsAlarmActive(), 0) << pass;
    }
    AlarmMonitorOn();
    Pass(2);
    EXPECT_EQ(g_AlarmState.summary.load(), 1u << 2);
}

// Every bit 0-20 of each phase word (L1-L3) and of the system word: the phase words make the summary, and
// each bit is shown with its own text, the two words' tables differing where their bits differ.
TEST_F(AlarmTest, EveryBitOfEveryWordIsSummedAndShownWithItsText) {
    const char* const phaseTexts[21] = {
        "Over Ipeak+ Current,\nPress Shift+6 Will Clear", "Over Ipeak- Current,\nPress Shift+6 Will Clear",
        "Over RMS Current,\nPress Shift+6 Will Clear", "Over Voltage(1),\nPress Shift+6 Will Clear",
        "Over Power Protect,\nPress Shift+6 Will Clear", "Output Short(1),\nPress Shift+6 Will Clear",
        "Over Temperature Protect\n(1)", "Fan Failure", "PFC Power Unit Error", "Power Input Anomaly", "Error2",
        "Error2", "Startup_Alarm", "Sensing Voltage Error", "Calibration data Error", "DCDC ERR", "PFC_OTP",
        "Local Communication\nError", "Over Voltage(2),\nPress Shift+6 Will Clear",
        "Over Temperature Protect\n(2)", "Output Short(2),\nPress Shift+6 Will Clear",
    };
    struct Word {
        uint32_t reg;
        int phase;  // -1: the system word
    };
    ASSERT_EQ(IsAlarmMonitorOn(), 1);
    for (const Word w : {Word{2086, 0}, Word{2087, 1}, Word{2088, 2}, Word{2091, -1}}) {
        for (uint32_t bit = 0; bit <= 20; ++bit) {
            SCOPED_TRACE(testing::Message() << "register " << w.reg << " bit " << bit);
            std::string text = phaseTexts[bit];
            if (w.phase < 0 && bit == 6) text = "Over Temperature Protect";
            if (w.phase < 0 && bit == 11) text = "External Sync Frequency \nError";
            if (w.phase < 0 && bit == 16) text = "System Error(6)";
            Stage().InjectBit(w.reg, bit, true);
            Pass();
            const uint32_t summary = w.phase < 0 ? 0u : 1u << bit;
            EXPECT_EQ(g_AlarmState.summary.load(), summary);
            // The protection bits latch in either word, bit 16 in the phase words only; every alarm beeps.
            const bool protection = bit == 6 || bit == 7 || bit == 8 || bit == 9 || bit == 12 || bit == 15 ||
                                    bit == 17 || bit == 19 || (bit == 16 && w.phase >= 0);
            EXPECT_EQ(SysStatusTest(kSysAlarmLatched), protection);
            EXPECT_EQ(AlarmBeepActive(), 1);
            // Before the all-data file work only a power input or start-up alarm of a phase latches.
            SysStatusClear(kSysAlarmLatched);
            EXPECT_EQ(AlarmStatusUpdate(), summary);
            EXPECT_EQ(SysStatusTest(kSysAlarmLatched), w.phase >= 0 && (bit == 9 || bit == 12));
            EXPECT_EQ(IsAlarmActive(), w.phase < 0 ? 0 : 1);
            EXPECT_EQ(Posted(), std::vector<std::string>{" " + text});
            Stage().InjectBit(w.reg, bit, false);
            SysStatusClear(kSysAlarmLatched);
            Pass();
            EXPECT_EQ(AlarmBeepActive(), 0) << "the beep ends with the alarm";
            Posted();
        }
    }
}

// In service mode the phase text names the phase whose word is largest, and an active master names the
// unit: itself, or the slave whose word it took. A master whose system word says slave copies are present
// (bit 21) takes every word of every slave into its own: the phase words into the summary, the system word
// into its own, bit 21 dropped.
TEST_F(AlarmTest, ServiceTextsNameThePhaseAndTheUnit) {
    g_ServiceFlags.detailAlarm = 1;
    const char* const prefixes[3] = {"L1\n ", "L2\n", "L3\n"};
    for (int unit = -1; unit <= 5; ++unit) {  // -1 a unit on its own, 0 the master itself, 1-5 its slaves
        g_ParallelActive = unit >= 0 ? 1 : 0;
        SetParallelPosition(unit >= 0 ? 1 : 0);
        Stage().InjectBit(2091, 21, unit > 0);
        for (int w = 0; w < 4; ++w) {  // L1-L3, the system word
            SCOPED_TRACE(testing::Message() << "unit " << unit << " word " << w);
            const uint32_t reg = w < 3 ? 2086 + w : 2091;
            std::atomic<uint32_t>* copy = nullptr;  // the slave's word in the master
            if (unit > 0)
                copy = w < 3 ? &g_AlarmState.slave[unit].phase[w] : &g_AlarmState.slave[unit].system;
            if (copy) {
                copy->store(1u << 2);
            } else {
                Stage().InjectBit(reg, 2, true);
            }
            Pass();
            const std::string name = unit < 0 ? "" : unit == 0 ? "Master" : "Slave" + std::to_string(unit);
            const std::string text =
                w < 3 ? std::string(prefixes[w]) + "Over RMS Current(SW) " : " Over RMS Current(SW)";
            EXPECT_EQ(g_AlarmState.summary.load(), w < 3 ? 1u << 2 : 0u);
            EXPECT_EQ(g_AlarmState.system.load(), w < 3 ? 0u : 1u << 2);
            EXPECT_EQ(Posted(), std::vector<std::string>{unit < 0 ? text
                                                         : w < 3 ? name + " " + text + " "
                                                                 : name + "\n " + text + " "});
            if (copy) copy->store(0);
            Stage().InjectBit(reg, 2, false);
            Pass();
            Posted();
        }
    }
}

TEST_F(AlarmTest, LatchedFanFailRefusesTheClearAndListsOnlyProtectionBits) {
    Stage().InjectBit(2086, 7, true);
    Stage().InjectBit(2086, 2, true);
    Pass();
    EXPECT_TRUE(SysStatusTest(kSysAlarmLatched));
    EXPECT_EQ(Posted(), std::vector<std::string>{" Fan Failure"});
    test::ClearTrace();
    AlarmClear();
    EXPECT_TRUE(test::WritesTo(2345).empty());
    EXPECT_EQ(core::g_AlarmClearCountdown.load(), 0u);
}

TEST_F(AlarmTest, ClearWithTheOverrideHoldsTheBusWhileThePowerUnitRestarts) {
    struct Case {
        uint32_t bit;
        uint64_t holdMs, belowMs;  // the hold, and the next longer one it must not reach
    };
    for (const Case c : {Case{8, 6000, UINT64_MAX}, Case{15, 2000, 6000}, Case{2, 0, 2000}}) {
        SCOPED_TRACE(c.bit);
        test::Rebuild();
        g_PowerStageBootStatus = 1;
        Stage().InjectBit(2086, c.bit, true);
        g_ServiceFlags.clearHwAlarm = 1;
        Pass(81);
        MsgQueue_Clear();
        test::ClearTrace();
        test::HoldPopup("Held");
        // The holds last 0.2 s and 0.6 s of real time here: a loaded host's scheduling delays stay well
        // below the 0.4 s that tell one hold from the next.
        SysStatusSet(kSysAlarmLatched);  // latched before the override was switched on: the clear ends it
        plat::SetTimeScale(10.0);
        const uint64_t start = plat::NowMs();
        std::atomic<bool> done{false};
        bool held = false;  // the bus, while the power unit restarts
        std::thread clear([&done] { AlarmClear(), done.store(true); });
        while (!done.load())
            held = held || g_BusHold.load() != 0;
        clear.join();
        const uint64_t took = plat::NowMs() - start;
        EXPECT_EQ(held, c.holdMs != 0);
        plat::SetTimeScale(1000.0);
        EXPECT_FALSE(SysStatusTest(kSysAlarmLatched));
        EXPECT_EQ(test::OnlyWriteTo(2345).raw, 1u);
        EXPECT_GE(took, c.holdMs);
        EXPECT_LT(took, c.belowMs);
        EXPECT_EQ(g_BusHold.load(), 0u);
        EXPECT_EQ(core::g_AlarmClearCountdown.load(), core::kAlarmClearStart);
        const auto posted = Posted();
        EXPECT_EQ(posted.empty() ? "" : posted.back(), c.holdMs ? "Alarm Clear\nPlease Wait..." : "");
        // A clear that waited closes the held popup; one that did not leaves it to the countdown.
        testsupport::PopupPasses(1);
        EXPECT_EQ(MsgPopup_IsPersistent(), c.holdMs ? 0 : 1);
        MsgPopup_Close();
        Stage().InjectBit(2086, c.bit, false);
        MsgQueue_Clear();
        testsupport::PopupPasses(10);
    }
}

TEST_F(AlarmTest, LimiterAndSensingTextsOfTheOutputStatus) {
    struct Case {
        std::vector<uint32_t> bits;
        const char* text;
    };
    const Case cases[] = {
        {{6}, "Power\nLimiter Operations"},
        {{5}, "IRMS\nLimiter Operations"},
        {{9}, "IPK\nLimiter Operations"},
        {{5, 6}, "IRMS, Power \nLimiter Operations"},
        {{6, 8}, " Power, IPK\nLimiter Operations"},
        {{19}, "Remote Sensing  L2, \nVoltage Out of Range"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        for (uint32_t bit : c.bits)
            Stage().InjectBit(2085, bit, true);
        PassUnheld();
        const auto posted = Posted();
        EXPECT_EQ(posted.empty() ? "" : posted.back(), c.text);
        EXPECT_EQ(g_AlarmMsgHold.load(), 2u);
        EXPECT_EQ(LimiterMsgActive(), 1);
        for (uint32_t bit : c.bits)
            Stage().InjectBit(2085, bit, false);
    }
    PassUnheld();
    EXPECT_EQ(LimiterMsgActive(), 0);
}

// An over-current alarm brings the rms limiter with it: the alarm's text stays until the alarm is gone.
TEST_F(AlarmTest, TheLimiterTextNeverReplacesALastingAlarm) {
    Stage().InjectBit(2087, 2, true);
    Stage().InjectBit(2085, 5, true);
    PassUnheld();
    EXPECT_EQ(Posted(), std::vector<std::string>{" Over RMS Current,\nPress Shift+6 Will Clear"});
    for (int step = 0; step < 5; ++step) {
        g_AlarmMsgHold = 0;  // the timer thread's hold has run out
        Pass(3);
        EXPECT_TRUE(Posted().empty()) << "the alarm's text was replaced";
    }
    Stage().InjectBit(2087, 2, false);
    PassUnheld();
    EXPECT_EQ(Posted(), std::vector<std::string>{"IRMS\nLimiter Operations"});
}

// Bit 0 of the list: the list of shown popups must be empty after the clear, not merely changed.
TEST_F(AlarmTest, ClearCountdownEmptiesTheRingAfterSixtyPasses) {
    Stage().InjectBit(2087, 0, true);
    Pass();
    ASSERT_EQ(Posted().size(), 1u);
    AlarmClear();
    EXPECT_EQ(test::OnlyWriteTo(2345).raw, 1u);
    EXPECT_EQ(core::g_AlarmClearCountdown.load(), 0x8000u | 60u);
    Pass(59);
    EXPECT_TRUE(Posted().empty());
    EXPECT_EQ(core::g_AlarmClearCountdown.load(), 0x8000u | 1u);
    ShowMessage(2, "waiting");  // a message still pending when the count runs out
    Pass();
    EXPECT_EQ(core::g_AlarmClearCountdown.load(), 0u);
    EXPECT_EQ(Posted(), std::vector<std::string>{" Over Ipeak+ Current,\nPress Shift+6 Will Clear"});
    Pass(5);
    EXPECT_TRUE(Posted().empty());

    // An alarm the clear removed: what is still pending when the count runs out goes with the ring, and a
    // held popup is closed then, not by a clear that did not wait.
    test::HoldPopup("Held");
    AlarmClear();
    testsupport::PopupPasses(1);
    EXPECT_EQ(MsgPopup_IsPersistent(), 1);
    Stage().InjectBit(2087, 0, false);
    Pass(59);
    ASSERT_EQ(MsgQueue_PostId(3), 0);
    EXPECT_EQ(MsgQueue_Count(), 1u);
    Pass();
    EXPECT_EQ(MsgQueue_Count(), 0u);
    testsupport::PopupPasses(1);
    EXPECT_EQ(MsgPopup_IsPersistent(), 0);
}

// In service mode the master of an active system names the unit of a system error.
TEST_F(AlarmTest, ServiceMasterNamesTheUnitOfASystemError) {
    g_ServiceFlags.detailAlarm = 1;
    g_ParallelActive = 1;
    SetParallelPosition(1);
    g_PowerStageBootStatus = 1;
    g_PhaseFault = 1;
    PassUnheld();
    EXPECT_EQ(Posted(), std::vector<std::string>{"Master\n System Error(1) "});
    g_PhaseFault = 0;
    g_ParallelLink.slave[2].sysError1 = 1;
    PassUnheld();
    EXPECT_EQ(Posted(), std::vector<std::string>{"Slave2\n System Error(1) "});
    g_ParallelLink.slave[2].sysError1 = 0;
    Stage().SetRead(2090, 0, 0xFFFFFu & ~(1u << 2));  // start-up check bit 2 failed
    PassUnheld();
    EXPECT_EQ(Posted(), std::vector<std::string>{"Master\n HW Model Startup Error \n(Bit: 2)"});
}

// The system errors in their order, each with its text (service mode: the index errors name the phases),
// its message hold (shown again once it ran out), and what a slave of an active system sends the master
// instead.
TEST_F(AlarmTest, EverySystemErrorWithItsTextAndHold) {
    using Frames = std::vector<uint32_t>;
    const auto item = [](uint32_t i, uint32_t v) { return core::LinkFrame(2, i, v); };
    const struct {
        const char* what;
        void (*set)();
        const char *text, *serviceText;
        uint32_t hold;
        Frames slave;
    } cases[] = {
        {"phase fault", [] { g_PhaseFault = 1, g_ModuleErrMask = 3; }, "System Error(1)",
         "System Error(1)", 5, {item(20, 1)}},
        {"module", [] { g_ModuleErrMask = 3, g_FwErrMask = 1; }, "Module Error", "Module Error \nL1.L2",
         5, {item(34, 3)}},
        {"firmware", [] { g_FwErrMask = 5, g_PowerStageBootStatus = 0; }, "FW Error", "FW Error \nL1.L3",
         5, {item(35, 5)}},
        {"stage not ready", [] { g_PowerStageBootStatus = 0, Stage().SetRead(2090, 0, 0); },
         "System Error(4)", "System Error(4)", 5, {item(22, 1)}},
        {"start-up fault", [] { Stage().SetRead(2090, 0, 0x5000Fu & ~(1u << 3)), g_ModelId = 0; },
         "HW Model Startup Error \n (Bit: 3)", "HW Model Startup Error \n (Bit: 3)", 1,
         {item(21, 1), item(24, 0x0007), item(23, 5)}},
        {"settings memory", [] { SysStatusSet(kSysNvMemFailure), SysStatusSet(kSysStorageError); },
         "System Error(3)", "System Error(3)", 10, {}},
        {"storage", [] { SysStatusSet(kSysStorageError), g_ModelId = 0; }, "System Error(5)",
         "System Error(5)", 10, {}},
        {"no model", [] { g_ModelId = 0; }, "System Error(2)", "System Error(2)", 5, {}},
    };
    const uint32_t model = g_ModelId.load();
    for (const auto& c : cases) {
        for (int unit = 0; unit < 3; ++unit) {  // 0 user, 1 service, 2 slave
            SCOPED_TRACE(testing::Message() << c.what << " unit " << unit);
            g_ServiceFlags.detailAlarm = unit == 1 ? 1 : 0;
            g_ParallelActive = unit == 2 ? 1 : 0;
            SetParallelPosition(0);
            Stage().SetLinkOwnAddress(2);
            c.set();
            test::ClearTrace();
            PassUnheld();
            const auto posted = Posted();
            const bool sent = unit == 2 && !c.slave.empty();
            EXPECT_EQ(posted, sent ? std::vector<std::string>{}
                                   : std::vector<std::string>{unit == 1 ? c.serviceText : c.text});
            EXPECT_EQ(test::RawsTo(2481), sent ? c.slave : Frames{});
            EXPECT_EQ(g_AlarmMsgHold.load(), c.hold);  // in 400 ms steps of the timer thread
            Pass(20);
            EXPECT_TRUE(Posted().empty()) << "shown again within its hold";
            PassUnheld();
            EXPECT_EQ(Posted(), posted) << "not shown again once its hold ran out";
            g_PhaseFault = 0, g_ModuleErrMask = 0, g_FwErrMask = 0;
            g_PowerStageBootStatus = 1, g_ModelId = model;
            Stage().ClearRead(2090, 0);
            SysStatusClear(kSysNvMemFailure), SysStatusClear(kSysStorageError);
            PassUnheld();
            Posted();
        }
    }
    g_ServiceFlags.detailAlarm = 0;
    g_ParallelActive = 0;
    // Without a model the alarms are not listed; with one again they are.
    g_ModelId = 0;
    Stage().InjectBit(2086, 2, true);
    PassUnheld();
    EXPECT_EQ(Posted(), std::vector<std::string>{"System Error(2)"});
    g_ModelId = model;
    PassUnheld();  // the pass that finds the model known lists from the next one on
    Pass();
    EXPECT_EQ(Posted(), std::vector<std::string>{" Over RMS Current,\nPress Shift+6 Will Clear"});
}

TEST_F(AlarmTest, PowerStageRestartAsksForTheRestartAndHoldsMessages) {
    Stage().InjectBit(2085, 4, true);
    Pass();
    EXPECT_TRUE(SysStatusTest(kSysRestartPending));
    EXPECT_EQ(g_AlarmMsgHold.load(), 1u);
}

// Link status bits 24-29 of an active system: the first of 25-29 names the error (1-5), bit 24 alone error 0;
// bit 24 also switches a lit output off and marks the link fault. Each is shown once while it lasts.
TEST_F(AlarmTest, LinkErrorBitsOfAnActiveSystem) {
    g_ParallelActive = 1;
    const struct {
        uint32_t bits;
        int number;  // -1: nothing shown
    } cases[] = {{1u << 24, 0}, {1u << 25, 1}, {1u << 26, 2},  {1u << 27, 3}, {1u << 28, 4},
                 {1u << 29, 5}, {0, -1},       {3u << 27, 3}, {1u << 24 | 1u << 26, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.bits);
        OutputFlagSet(kOutFlagOutputOn);
        g_CtrlTaskObj.rows[core::kCtrlRowRun].msg = 0;
        Stage().SetLinkErrorBits(c.bits);
        Pass();
        const std::string text = "Parallel Communication \nError(" + std::to_string(c.number) + ")";
        EXPECT_EQ(Posted(), c.number < 0 ? std::vector<std::string>{} : std::vector<std::string>{text});
        Pass(10);
        EXPECT_TRUE(Posted().empty());
        if (c.number >= 0) {
            EXPECT_EQ(g_ParallelLink.errorNumber.load(), static_cast<uint32_t>(c.number));
        }
        const bool fault = (c.bits & 1u << 24) != 0;
        EXPECT_EQ(SysStatusTest(kSysParallelLinkFault), fault);
        EXPECT_EQ(g_CtrlTaskObj.rows[core::kCtrlRowRun].msg.load() == core::kCtrlMsgOutputOff, fault);
        Stage().SetLinkErrorBits(0);
        Pass();
    }
}

TEST_F(AlarmTest, SlaveReportsItsAlarmWordsToTheMasterOnceInsteadOfShowingThem) {
    g_ParallelActive = 1;
    SetParallelPosition(0);
    Stage().SetLinkOwnAddress(2);
    Stage().InjectBit(2087, 0, true);
    Stage().InjectBit(2087, 17, true);
    Pass(5);
    auto frames = test::WritesTo(2481);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].raw, (2u << 1) | (6u << 4) | (1u << 16));  // L2 low half first
    EXPECT_EQ(frames[1].raw, (2u << 1) | (5u << 4) | (2u << 16));  // then the high half
    EXPECT_TRUE(Posted().empty());
    Stage().InjectBit(2087, 0, false);
    Stage().InjectBit(2087, 17, false);
    test::ClearTrace();
    Pass();
    frames = test::WritesTo(2481);
    ASSERT_EQ(frames.size(), 2u);  // the system word items 10 and 9, value 0: the alarm is gone
    EXPECT_EQ(frames[0].raw, (2u << 1) | (10u << 4));
    EXPECT_EQ(frames[1].raw, (2u << 1) | (9u << 4));
}

TEST_F(AlarmTest, TwoSlavesReportingAtOnceKeepTheirHalvesApart) {
    // Slave 1 sends L1 = 0x00050003, slave 2 L1 = 0x00010007, their frames interleaved.
    const struct {
        int slave;
        uint32_t item, value;
    } frames[] = {{1, 4, 3}, {2, 4, 7}, {1, 3, 5}, {2, 3, 1}};
    uint32_t index = 0;
    for (const auto& f : frames) {
        ++index;
        Stage().Poke(98 + f.slave, index,
                     (static_cast<uint32_t>(f.slave) << 1) | (f.item << 4) | (f.value << 16));
        g_ParallelLink.slave[f.slave].rxCount = static_cast<int32_t>(index);
        ParallelRelay(f.slave);
    }
    EXPECT_EQ(g_AlarmState.slave[1].phase[0].load(), 0x50003u);
    EXPECT_EQ(g_AlarmState.slave[2].phase[0].load(), 0x10007u);
}

}  // namespace
