// Set commands handed over to the menu/control thread through the message queue.
#include "panel/menu_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <initializer_list>
#include <thread>
#include <vector>

#include "core/control/hooks/screen_request.h"
#include "core/control/sync/output_pending.h"
#include "core/params/param_store.h"
#include "core/system/messaging/msg_queue.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/sys_status.h"
#include "drivers/spi_device.h"
#include "drivers/spi_nvm.h"
#include "panel/menu/edit_follow.h"
#include "panel/menu_entries.h"
#include "panel/panel_services.h"
#include "panel/restart_save.h"
#include "platform/devices/spi.h"
#include "platform/host/clock.h"
#include "scpi/channels/set_command_handover.h"
#include "tests/panel/menu_start_fixture.h"
#include "tests/support/temp_root.h"

namespace {

// The test's stand-in for a channel context: only its address travels through the queue.
struct FakeChannel {
    uint32_t channelId;
    std::atomic<int> runs;
    std::atomic<std::thread::id> ranOn;
    int32_t completesLater;
    int sent = 0;              // the channel's number of the command it hands over
    std::vector<int> ranSent;  // the numbers in the order the menu/control thread ran them
};

int32_t RunHandler(ScpiInterface* ifc) {
    auto* ch = reinterpret_cast<FakeChannel*>(ifc);
    ch->runs.fetch_add(1);
    ch->ranOn.store(std::this_thread::get_id());
    ch->ranSent.push_back(ch->sent);
    return ch->completesLater;
}

// A channel's wait for the completion of its command, as a channel loop does it: 1 done, -1 failed or
// given up.
int AwaitCompletion(uint32_t channelId) {
    uint32_t result = 0;
    for (;;) {
        const int taken = ScpiHandoverPoll(channelId, &result);
        if (taken != 0) return taken > 0 && result == 0 ? 1 : -1;
        ScpiHandoverWaitCompletion(channelId, 20);
    }
}
const ScpiHandoverOps kOps{RunHandler};

class HandoverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        paneltest::OpenPanelAndQueues();
        previousOps_ = g_ScpiHandoverOps.exchange(&kOps);
        paneltest::StartMenuThread();
    }
    void TearDown() override {
        g_ScpiHandoverOps.store(previousOps_);
        core::MsgQueueRemove();
    }
    const ScpiHandoverOps* previousOps_ = nullptr;
    static void Post(FakeChannel* fake) {
        auto* ifc = reinterpret_cast<ScpiInterface*>(fake);
        // Posted from another thread, as a channel thread does.
        std::thread channel([ifc, fake] { ASSERT_EQ(ScpiHandoverPost(ifc, fake->channelId), 0); });
        channel.join();
    }
    static bool Completion(uint32_t channel, uint32_t result = 0) {
        SysMsg reply{};
        return MsgQueueRecv(&reply, kMsgCompletionBase + channel) == static_cast<int>(kSysMsgPayload) &&
               reply.word0 == result;
    }
};

// Set commands run on the menu thread, one at a time: the next is taken only once the completion of the
// previous one is sent (a command may complete later, at the next reconfiguration), so none is lost.
TEST_F(HandoverTest, SetCommandsRunOnTheMenuThreadOneAfterTheOther) {
    FakeChannel a{9, {0}, {}, 1, 0, {}}, b{4, {0}, {}, 0, 0, {}};
    Post(&a);
    Post(&b);
    std::thread menu([] {
        MenuThread_Pass();
        MenuThread_Pass();
    });
    const std::thread::id menuId = menu.get_id();
    menu.join();
    EXPECT_EQ(a.runs.load(), 1);
    EXPECT_EQ(a.ranOn.load(), menuId);
    EXPECT_FALSE(Completion(9));
    EXPECT_EQ(b.runs.load(), 0);
    g_PendingReconfig.store(1);
    core::NotePartsTakenUp(core::SettingsChangesIssued(), ~uint64_t{0});  // the control task has caught up
    MenuThread_Pass();
    MenuThread_Pass();
    EXPECT_EQ(g_PendingReconfig.load(), 0u);
    EXPECT_EQ(b.runs.load(), 1);
    EXPECT_TRUE(Completion(9));
    EXPECT_TRUE(Completion(4));
    EXPECT_FALSE(Completion(4));  // one completion per command
}

// A command waiting for a system that never becomes ready is reported as failed after the longest wait;
// its reconfiguration hand-shake ends with it, so the next command is done at once.
TEST_F(HandoverTest, CommandThatNeverCompletesIsReportedAsFailed) {
    FakeChannel usb{6, {0}, {}, 1, 0, {}}, next{6, {0}, {}, 0, 0, {}};
    plat::SetTimeScale(1000);
    g_SysStatus.fetch_or(2u << kSysReconfigLow | 1u << kSysRemoteResetLow);  // applied; a reset never ends
    Post(&usb);
    MenuThread_Pass();
    plat::SleepMs(5000);
    MenuThread_Pass();
    plat::SetTimeScale(1);
    EXPECT_TRUE(Completion(6, 1));
    Post(&next);
    MenuThread_Pass();
    EXPECT_TRUE(Completion(6, 0));
}

// A set command handed over after a pass runs while the thread waits for its next pass, not at that
// pass: one posted before the wait begins, and one posted during it, whose channel the completion wakes.
// The wait still lasts until the next pass is due.
TEST_F(HandoverTest, SetCommandHandedOverBetweenPassesRunsBeforeTheNextPass) {
    constexpr uint64_t kPeriodUs = 300000;  // long enough that no stall of a loaded host reaches it
    FakeChannel early{4, {0}, {}, 0, 0, {}}, during{9, {0}, {}, 0, 0, {}};
    MenuThread_Pass();
    Post(&early);
    std::atomic<bool> waitOver{false};
    std::thread menu([&waitOver] {
        const uint64_t nextPass = plat::NowUs() + kPeriodUs;
        MenuThread_WaitForPass(nextPass);
        EXPECT_GE(plat::NowUs(), nextPass);
        waitOver.store(true);
    });
    std::thread channel([&] {
        ASSERT_EQ(ScpiHandoverPost(reinterpret_cast<ScpiInterface*>(&during), during.channelId), 0);
        EXPECT_EQ(AwaitCompletion(during.channelId), 1);
        EXPECT_FALSE(waitOver.load());  // done and reported within the wait
    });
    channel.join();
    menu.join();
    EXPECT_EQ(early.runs.load(), 1);
    EXPECT_EQ(during.runs.load(), 1);
    EXPECT_TRUE(Completion(4));
}

// A command whose setting the control task's pass answers (by rewriting other settings) completes once
// the task has run a pass with nothing left to take up, even when it was taken between passes; meanwhile
// no other command runs.
TEST_F(HandoverTest, CommandAnsweredByTheControlPassCompletesAfterThatPass) {
    FakeChannel balance{4, {0}, {}, kScpiRunAfterPass, 0, {}}, other{9, {0}, {}, 0, 0, {}};
    MenuThread_Pass();
    Post(&balance);
    EXPECT_TRUE(MenuThread_TakeSetCommand());
    EXPECT_EQ(balance.runs.load(), 1);
    Post(&other);
    EXPECT_FALSE(MenuThread_TakeSetCommand());
    EXPECT_FALSE(Completion(4));
    EXPECT_EQ(other.runs.load(), 0);
    MenuThread_Pass();  // the task is still in its start-up wait
    EXPECT_FALSE(Completion(4));
    core::NotePartsTakenUp(core::SettingsChangesIssued(), ~uint64_t{0});
    MenuThread_Pass();
    EXPECT_TRUE(Completion(4));
}

// Two channels hand over 500 set commands each, every one as soon as the previous one completed, while
// the thread runs its passes: every command runs once, in the order its channel sent them.
TEST_F(HandoverTest, StormOfSetCommandsFromTwoChannelsLosesNoneAndKeepsEachChannelsOrder) {
    constexpr int kPerChannel = 500;
    FakeChannel usb{4, {0}, {}, 0, 0, {}}, lan{9, {0}, {}, 0, 0, {}};
    std::atomic<bool> stop{false};
    std::thread menu([&stop] {
        while (!stop.load())
            MenuThread_Cycle();
    });
    auto storm = [](FakeChannel* ch) {
        for (int i = 0; i < kPerChannel; ++i) {
            ch->sent = i;
            ASSERT_EQ(ScpiHandoverPost(reinterpret_cast<ScpiInterface*>(ch), ch->channelId), 0);
            ASSERT_EQ(AwaitCompletion(ch->channelId), 1) << "command " << i;
        }
    };
    std::thread a(storm, &usb), b(storm, &lan);
    a.join();
    b.join();
    stop.store(true);
    menu.join();
    std::vector<int> inOrder(kPerChannel);
    for (int i = 0; i < kPerChannel; ++i)
        inOrder[i] = i;
    EXPECT_EQ(usb.ranSent, inOrder);
    EXPECT_EQ(lan.ranSent, inOrder);
    EXPECT_FALSE(Completion(4));
    EXPECT_FALSE(Completion(9));
}

// What the GUI thread paints of the edit words after the menu/control thread changed them, in a copy taken
// on the GUI thread itself.
panel::EditView ShownOnTheGuiThread() {
    panel::EditView shown{};
    std::thread gui([&shown] {
        panel::EditSnapshotTake();
        shown = g_EditShown;
    });
    gui.join();
    return shown;
}

// Set commands change the edit words on the menu/control thread (a calibration reading does), in a pass
// or between passes: either way the GUI thread's next copy shows them, with no step of their own.
TEST_F(HandoverTest, EditWordsChangedOnTheMenuThreadReachTheGuiThreadsCopy) {
    static const ScpiHandoverOps kEditing{[](ScpiInterface* ifc) -> int32_t {
        const int32_t n = static_cast<int32_t>(reinterpret_cast<FakeChannel*>(ifc)->sent);
        g_EditBuf.choiceValue = static_cast<uint32_t>(n);
        g_EditBuf.entryLength = 3;
        g_EditParam.workValue.store(n * 10, std::memory_order_relaxed);
        g_EditParam.cursor = 2;
        return 0;
    }};
    g_ScpiHandoverOps.store(&kEditing);
    FakeChannel ch{4, {0}, {}, 0, 41, {}};
    Post(&ch);
    std::thread([] { EXPECT_TRUE(MenuThread_TakeSetCommand()); }).join();
    panel::EditView shown = ShownOnTheGuiThread();
    EXPECT_EQ(shown.buf.choiceValue, 41u);
    EXPECT_EQ(shown.buf.entryLength, 3);
    EXPECT_EQ(shown.workValue, 410);
    EXPECT_EQ(shown.cursor, 2u);
    EXPECT_TRUE(Completion(4));

    ch.sent = 42;
    Post(&ch);
    std::thread([] { MenuThread_Pass(); }).join();
    shown = ShownOnTheGuiThread();
    EXPECT_EQ(shown.buf.choiceValue, 42u);
    EXPECT_EQ(shown.workValue, 420);
    EXPECT_TRUE(Completion(4));

    g_EditBuf = panel::EditBuf{};
    g_EditParam.workValue.store(0);
    g_EditParam.cursor = 0;
    panel::EditPublish();
}

// A value the GUI thread posted for the open editor is in the working value after the next pass, and in
// the GUI thread's copy of the edit words.
TEST_F(HandoverTest, FollowRequestPostedByTheGuiThreadIsAppliedByTheNextMenuPass) {
    const uint32_t state = g_MenuState.load();
    g_MenuState.store(196);
    g_EditParam.workValue.store(0);
    ScreenRequest_SetRunners({.editFollow = EditFollow_Apply});
    std::thread([] { ScreenRequest_Ask(ScreenRequest::kEditFollow, 196, 321); }).join();
    EXPECT_EQ(g_EditParam.workValue.load(), 0);
    std::thread([] { MenuThread_Pass(); }).join();
    EXPECT_EQ(ShownOnTheGuiThread().workValue, 321);
    ScreenRequest_SetRunners({});
    g_EditParam.workValue.store(0);
    panel::EditPublish();
    g_MenuState.store(state);
}

// A reset run by the supervisor loop, and the parallel link on the timer thread, leave the menu state and
// the edit words to the menu/control thread: its next pass enters the advance screen (with the AC voltage
// to edit after the reset, in the GUI thread's copy), not the posting thread.
TEST_F(HandoverTest, ResetOrScreenRequestOfAnotherThreadRunsAtTheNextMenuPass) {
    ScreenRequest_SetRunners({.advanceScreen = menuGoAdvenceScreen});
    for (const bool reset : {true, false}) {
        SCOPED_TRACE(reset);
        g_MenuState.store(47);
        g_EditBuf.choiceValue = 0xBEEFu;
        panel::EditPublish();
        if (reset)
            std::thread([] { InitRuntimeStateForReset(); }).join();
        else
            std::thread([] { ScreenRequest_Ask(ScreenRequest::kAdvanceScreen); }).join();
        EXPECT_EQ(g_MenuState.load(), 47u);
        EXPECT_EQ(g_EditBuf.choiceValue, 0xBEEFu);
        std::thread([] { MenuThread_Pass(); }).join();
        EXPECT_EQ(g_MenuState.load(), 1u);
        const auto acv = static_cast<uint32_t>(paramGetValue(kParamAcv, core::SelectedPhase()));
        EXPECT_EQ(ShownOnTheGuiThread().buf.choiceValue, acv);
        MenuThread_Pass();
        EXPECT_EQ(g_MenuState.load(), 1u);
    }
    ScreenRequest_SetRunners({});
    g_EditBuf = panel::EditBuf{};
    panel::EditPublish();
}

// The stop's save runs on this thread's pass after the pass's set command: that command is kept and
// acknowledged; one handed over after the save is refused without running, since the process ends with
// the save and would lose it.
TEST_F(HandoverTest, NoSetCommandRunsAfterTheSaveOfAStop) {
    testsupport::TempRoot root;
    panel::StopSaveReset();
    FakeChannel kept{4, {0}, {}, 0, 0, {}}, late{9, {0}, {}, 0, 0, {}};
    Post(&kept);
    StopSaveRequest();
    MenuThread_Pass();
    ASSERT_TRUE(StopSaveDone());
    EXPECT_EQ(kept.runs.load(), 1);
    EXPECT_TRUE(Completion(4, 0));
    Post(&late);
    MenuThread_Pass();
    EXPECT_EQ(late.runs.load(), 0);
    EXPECT_TRUE(Completion(9, 1));
    panel::StopSaveReset();
}

// A memory that reads back only ones fails its self-test at start; a sound one leaves the bit clear.
TEST_F(HandoverTest, NonVolatileMemoryFailureAtStartSetsItsStatusBit) {
    testsupport::TempRoot root;
    for (bool dead : {true, false}) {
        SpiDevClose(&g_NvSpi);
        plat::NvmSimSetReadsAllOnes(dead);
        g_SysStatus.store(0);
        MenuThread_Start();
        EXPECT_EQ(SysStatusTest(kSysNvMemFailure), dead);
    }
    SpiDevClose(&g_NvSpi);
    plat::NvmSimReset();
}

}  // namespace

namespace {
// The values the painters show clamped are put back by the menu/control thread: once each pass, and
// after a set command taken between passes, before the GUI thread is handed the edit words.
TEST_F(HandoverTest, EveryPassAndEveryCommandBetweenPassesFitsTheShownValues) {
    static std::atomic<int> fits{0};
    fits.store(0);
    MenuThread_SetValueFit([] { fits.fetch_add(1); });
    MenuThread_Pass();
    EXPECT_EQ(fits.load(), 1);
    FakeChannel a{9, {0}, {}, 0, 0, {}};
    Post(&a);
    EXPECT_TRUE(MenuThread_TakeSetCommand());
    EXPECT_EQ(a.runs.load(), 1);
    EXPECT_EQ(fits.load(), 2);
    EXPECT_TRUE(Completion(9));
    MenuThread_SetValueFit(nullptr);
    MenuThread_Pass();
    EXPECT_EQ(fits.load(), 2);
}
}  // namespace
