#include "app/supervisor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <thread>
#include <vector>

#include "app/thread_table.h"
#include "core/control/sys_event.h"
#include "core/system/config/iface_card_detect.h"
#include "core/system/messaging/msg_queue.h"
#include "core/system/state/sys_status.h"
#include "panel/restart_save.h"
#include "platform/host/clock.h"
#include "platform/host/options.h"
#include "remote/fieldbus.h"
#include "scpi/channels/scpi_threads.h"
#include "tests/support/temp_root.h"

namespace {

// Fake thread operations: threads are numbered, nothing runs, joins fail as scripted.
struct FakeThreads {
    std::vector<ThreadEntry> created;
    std::vector<pthread_t> joined;
    std::vector<pthread_t> cancelled;
    std::map<pthread_t, int> joinFailures;  // remaining failures per handle
    pthread_t next = 1;
};
FakeThreads* g_fake = nullptr;

int FakeCreate(pthread_t* t, const pthread_attr_t*, ThreadEntry entry, void*) {
    *t = g_fake->next++;
    g_fake->created.push_back(entry);
    return 0;
}
int FakeCancel(pthread_t t) {
    g_fake->cancelled.push_back(t);
    return 0;
}
int FakeJoin(pthread_t t, void**) {
    auto it = g_fake->joinFailures.find(t);
    if (it != g_fake->joinFailures.end() && it->second > 0) {
        --it->second;
        return 3;  // ESRCH
    }
    g_fake->joined.push_back(t);
    return 0;
}

class SupervisorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plat::SetTimeScale(1000);  // the restart's 100 ms waits
        g_fake = &fake;
        core::g_ThreadOps =
            core::ThreadOps{FakeCreate, FakeCancel, FakeJoin, [](pthread_t) { return 0; }, nullptr};
        core::SysEventReset();
        core::SysStatusReset();
        StartThread(LanConnThread, kPolicyRr, 9);    // handle 1
        StartThread(LanAcceptThread, kPolicyRr, 2);  // handle 2
        fake.created.clear();
    }
    void TearDown() override {
        core::ResetThreadOps();
        g_fake = nullptr;
        g_LanRestartReq.store(0);
    }
    FakeThreads fake;
};

TEST_F(SupervisorTest, LanRestartRejoinsOnlyTheThreadWhoseJoinFailed) {
    fake.joinFailures[2] = 1;  // the accept thread's first join fails
    g_LanRestartReq.store(1);
    SupervisorPass();
    EXPECT_EQ(fake.joined, std::vector<pthread_t>{1});
    EXPECT_TRUE(fake.created.empty());
    EXPECT_EQ(g_LanRestartReq.load(), 1u);  // retried on the next pass

    SupervisorPass();
    // The connection thread was joined already: it is neither cancelled nor joined again.
    EXPECT_EQ(fake.joined, (std::vector<pthread_t>{1, 2}));
    EXPECT_EQ(fake.cancelled, (std::vector<pthread_t>{1, 2, 2}));
    EXPECT_EQ(fake.created, (std::vector<ThreadEntry>{LanConnThread, LanAcceptThread, LanRestartThread}));
    EXPECT_EQ(g_LanRestartReq.load(), 0u);
    // The new threads are joinable again for the next restart.
    EXPECT_FALSE(core::g_LanConnThread.joined);
    EXPECT_FALSE(core::g_LanAcceptThread.joined);
}

std::atomic<bool> g_releaseBusy{false};
void* BusyLanThread(void*) {
    while (!g_releaseBusy.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return nullptr;
}
void* EndedLanThread(void*) {
    return nullptr;
}

// A LAN thread busy with a command that waits for the supervisor (an *OPC? during a screen copy) does
// not stop the supervisor: the pass goes on, and the thread is joined once it has ended.
TEST_F(SupervisorTest, LanRestartDoesNotWaitForABusyThread) {
    // The fakes with the real join (the fake threads have no name to carry).
    const core::ThreadOps fakes = core::g_ThreadOps;
    core::ResetThreadOps();
    core::g_ThreadOps = {fakes.create, fakes.cancel, core::g_ThreadOps.join, fakes.detach, nullptr};
    g_releaseBusy.store(false);
    pthread_t busy, ended;
    ASSERT_EQ(pthread_create(&busy, nullptr, BusyLanThread, nullptr), 0);
    ASSERT_EQ(pthread_create(&ended, nullptr, EndedLanThread, nullptr), 0);
    core::g_LanConnThread = core::KeptThread{busy, true, false};
    core::g_LanAcceptThread = core::KeptThread{ended, true, false};
    SysStatusSet(kSysScreenCopyPending);
    g_LanRestartReq.store(1);
    SupervisorPass();
    EXPECT_EQ(g_LanRestartReq.load(), 1u);
    EXPECT_FALSE(core::g_LanConnThread.joined);
    EXPECT_FALSE(SysStatusTest(kSysScreenCopyPending));  // the pass went on to write the screen copy
    EXPECT_TRUE(fake.created.empty());

    g_releaseBusy.store(true);
    for (int i = 0; i < 1000 && g_LanRestartReq.load() == 1; ++i)
        SupervisorPass();
    EXPECT_EQ(g_LanRestartReq.load(), 0u);
    EXPECT_EQ(fake.created, (std::vector<ThreadEntry>{LanConnThread, LanAcceptThread, LanRestartThread}));
}

// The stop's save is the menu thread's: the supervisor asks for it and keeps passing until the menu
// thread has run it, or gives up at the bound (a menu thread that never comes does not hang the stop).
TEST_F(SupervisorTest, AStopWaitsForTheMenuThreadsSaveAtMostTheBound) {
    testsupport::TempRoot root;  // the save writes the phase mode's file copy
    panel::StopSaveReset();
    EXPECT_FALSE(SupervisorStopSave(5000));  // no menu thread

    panel::StopSaveReset();
    plat::SetTimeScale(1);
    std::thread menu([] {
        for (int i = 0; i < 10000 && !StopSaveDone(); ++i) {
            RestartSaveStep();
            plat::SleepMs(1);
        }
    });
    EXPECT_TRUE(SupervisorStopSave(30000));
    menu.join();
    panel::StopSaveReset();
}

// With real threads: a start request brings the interface threads up, a stop request lets them end by
// themselves and is acknowledged once every running word is clear.
TEST(SupervisorThreads, InterfaceThreadsFollowStartAndStopRequests) {
    testsupport::TempRoot root;  // the fieldbus thread's card detection reads the rooted GPIO lines
    plat::SetTimeScale(20);
    core::ResetThreadOps();
    // The LAN connection thread listens: on this test's own ports, not the instrument's.
    plat::Options options = plat::GetOptions();
    options.portOffset = testsupport::TestPortOffset();
    plat::SetOptions(options);
    StartThread(LanConnThread, kPolicyRr, 9);  // clears its serving word on a stop request
    g_ThreadCtl.control.store(kIfaceStart);
    SupervisorPass();
    EXPECT_EQ(g_ThreadCtl.control.load(), static_cast<uint32_t>(kIfaceIdle));
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    auto running = [](int w) { return g_ThreadCtl.running[w].load() == 1; };
    // The fieldbus thread may still be detecting its card when the others are up: wait for it to end.
    while (!(running(kRunUsbDev) && running(kRunWeb80) && running(kRunWeb81) && !running(kRunFieldbus)) &&
           std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(running(kRunUsbDev) && running(kRunWeb80) && running(kRunWeb81));
    EXPECT_FALSE(running(kRunUsbGpib));   // no GPIB driver module on the disk: no adapter to serve
    EXPECT_FALSE(running(kRunFieldbus));  // no card: the fieldbus thread ended at once
    EXPECT_TRUE(running(kRunModbus));
    EXPECT_TRUE(running(kRunRs232));

    g_ThreadCtl.control.store(kIfaceStop);
    while (g_ThreadCtl.control.load() != kIfaceIdle && std::chrono::steady_clock::now() < until)
        SupervisorPass();
    EXPECT_EQ(g_ThreadCtl.control.load(), static_cast<uint32_t>(kIfaceIdle));
    for (const auto& w : g_ThreadCtl.running)
        EXPECT_EQ(w.load(), 0u);
    plat::SetTimeScale(1);
}

// The fieldbus thread on this machine: with a card detected it asks for the CAN interface, finds none
// and ends, clearing its running word; the supervisor's stop request is still acknowledged afterwards.
TEST(FieldbusCard, CardWithoutInterfaceEndsAndStopIsAcknowledged) {
    testsupport::TempRoot root;
    root.Write("/sys/class/gpio/gpio106/value", "1\n");
    ASSERT_EQ(IfaceCardDetect(), 3);
    MsgQueueInit();
    SysStatusSet(kSysMenuThreadRunning);
    testing::internal::CaptureStdout();
    FieldbusThread(nullptr);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "FieldbusThread: CAN card 3\nFieldbusThread: no CAN interface, ending\n");
    EXPECT_EQ(g_ThreadCtl.running[kRunFieldbus].load(), 0u);

    g_ThreadCtl.control.store(kIfaceStop);
    SupervisorPass();
    EXPECT_EQ(g_ThreadCtl.control.load(), static_cast<uint32_t>(kIfaceIdle));
    SysStatusClear(kSysMenuThreadRunning);
    root.Write("/sys/class/gpio/gpio106/value", "0\n");
    IfaceCardDetect();
}

}  // namespace
