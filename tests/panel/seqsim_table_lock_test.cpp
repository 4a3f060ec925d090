// The SEQ/SIM step tables between the runner thread and the menu/control thread: set commands and panel
// keys that select the tables and store into a step, run beside the runner's prepare passes that select and
// validate them. ThreadSanitizer reports the pair when either side runs without the tables' lock.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/system/messaging/msg_queue.h"
#include "core/system/state/sys_status.h"
#include "drivers/panel_link.h"
#include "engine/run/seqsim_run.h"
#include "engine/seq/seq_setters.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "panel/menu_thread.h"
#include "scpi/channels/set_command_handover.h"
#include "tests/panel/menu_start_fixture.h"

namespace {

constexpr uint32_t kChannel = 5;
constexpr int kEdits = 40;
constexpr int kRunnerPassLimit = 20000;  // the runner stops by itself should the test never ask it to

std::atomic<int> g_edits{0};
ScpiInterface* const g_context = reinterpret_cast<ScpiInterface*>(&g_edits);

// What a step editor does: the tables of the range in force, then a value into the current step.
void EditTables() {
    SeqSimSelectTables();
    SeqStoreAcv(1000 + g_edits.fetch_add(1) % 100, 0);
}
int32_t RunEdit(ScpiInterface*) {
    EditTables();
    return 0;
}
void KeyEdit(uint32_t*) {
    EditTables();
}
const ScpiHandoverOps kEditOps{RunEdit};

class SeqSimTableLock : public ::testing::Test {
  protected:
    void SetUp() override {
        previousOps_ = g_ScpiHandoverOps.exchange(&kEditOps);
        paneltest::StartModelOneUnit();
        MenuThread_SetKeyDispatch(KeyEdit);
        engine::SeqSimDataReset();
        g_SeqSimMode.store(1);
        g_edits.store(0);
    }
    void TearDown() override {
        StopRunner();
        MenuThread_SetKeyDispatch(nullptr);
        g_ScpiHandoverOps.store(previousOps_);
        engine::SeqSimDataReset();
        paneltest::StopModelOneUnit();
    }

    // The runner thread's passes: every fourth from the prepare state (select, validate, point at the
    // tables), the others polling the stage and pointing at the current step's record.
    void StartRunner() {
        runner_ = std::thread([this] {
            for (int i = 0; i < kRunnerPassLimit && !stop_.load(std::memory_order_acquire); ++i) {
                if (i % 4 == 0) SeqSimResetEngine(kEngineSeq);
                if (SeqSimRunControl() == 0) passes_.fetch_add(1, std::memory_order_relaxed);
                std::this_thread::sleep_for(std::chrono::microseconds(500));
            }
        });
        // Edits start once the runner is under way.
        for (int i = 0; i < 2000 && passes_.load(std::memory_order_relaxed) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    void StopRunner() {
        stop_.store(true, std::memory_order_release);
        if (runner_.joinable()) runner_.join();
    }
    static bool Completed(uint32_t channel) {
        SysMsg reply{};
        return MsgQueueRecv(&reply, kMsgCompletionBase + channel) == static_cast<int>(kSysMsgPayload) &&
               reply.word0 == 0;
    }

    const ScpiHandoverOps* previousOps_ = nullptr;
    std::thread runner_;
    std::atomic<bool> stop_{false};
    std::atomic<int> passes_{0};
};

TEST_F(SeqSimTableLock, SetCommandsAndPanelKeysEditTheTablesBesideTheRunnersPasses) {
    StartRunner();
    ASSERT_GT(passes_.load(), 0);
    int completed = 0;
    for (int i = 0; i < kEdits; ++i) {
        // The context's address only travels; the handler never looks at it.
        std::thread([] { ASSERT_EQ(ScpiHandoverPost(g_context, kChannel), 0); }).join();
        ASSERT_TRUE(MenuThread_TakeSetCommand());
        completed += Completed(kChannel) ? 1 : 0;
        ASSERT_EQ(KeyEventPost(KeyEventPack(0, kKeyPoint, 5)), 0);
        MenuThread_Pass();
    }
    StopRunner();
    EXPECT_EQ(g_edits.load(), 2 * kEdits);
    EXPECT_EQ(completed, kEdits);
}

// A runner pass that finds the tables taken leaves the run state where it was (prepare) and says so; the
// holder's own thread steps through, as a test or helper holding the lock does.
TEST_F(SeqSimTableLock, RunnerPassSkipsWhileTheMenuHoldsTheTables) {
    SeqSimResetEngine(kEngineSeq);
    std::atomic<int32_t> result{0};
    g_SeqSimTableLock.lock();
    std::thread([&result] { result.store(SeqSimRunControl()); }).join();
    EXPECT_EQ(result.load(), -2);
    EXPECT_EQ(SeqSimRunControl(), 0);  // prepare -> reset
    EXPECT_EQ(SeqSimRunStateIsStop(), 0);
    g_SeqSimTableLock.unlock();
    std::thread after([&result] { result.store(SeqSimRunControl()); });  // reset -> ready
    after.join();
    EXPECT_EQ(result.load(), 0);
    EXPECT_EQ(SeqSimRunStateIsStop(), 1);
}

}  // namespace
