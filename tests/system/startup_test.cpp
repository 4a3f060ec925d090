#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <thread>

#include "tests/system/startup_fixture.h"

namespace {

using startup_test::RunningController;

int QueueIdOf(const std::string& output) {
    std::smatch m;
    std::regex re("message queue: id (\\d+)");
    return std::regex_search(output, m, re) ? std::stoi(m[1]) : -1;
}

bool QueueExists(int id) {
    auto ids = startup_test::HostQueueIds();
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

TEST(Startup, FourteenThreadsStartInTableOrderWithTheirPolicies) {
    RunningController c;
    ASSERT_TRUE(c.Start());
    ASSERT_TRUE(c.WaitForOutput("thread ModbusThread:"));
    const char* expected[] = {
        "thread GuiThread: policy RR priority 13",         "thread TimerThread: policy RR priority 15",
        "thread WebServerThread80: policy RR priority 12", "thread WebServerThread81: policy RR priority 12",
        "thread SeqSimThread: policy RR priority 11",      "thread UsbDevThread: policy RR priority 6",
        "thread LanRestartThread: policy RR priority 8",   "thread LanConnThread: policy RR priority 9",
        "thread LanAcceptThread: policy RR priority 2",    "thread UsbGpibThread: policy RR priority 4",
        "thread KeyThread: policy FIFO priority 1",        "thread MenuThread: policy FIFO priority 10",
        "thread FieldbusThread: policy RR priority 11",    "thread ModbusThread: policy RR priority 3",
    };
    std::string out = c.Output();
    size_t at = 0;
    for (const char* line : expected) {
        size_t found = out.find(line, at);
        ASSERT_NE(found, std::string::npos) << line << "\n" << out;
        at = found + 1;
    }
    EXPECT_NE(out.find("FieldbusThread: no CAN card, ending"), std::string::npos);
    EXPECT_EQ(c.Stop(SIGTERM), 0);
}

TEST(Startup, NoMessageQueueIsLeftAfterSigtermOrSigint) {
    for (int sig : {SIGTERM, SIGINT}) {
        RunningController c;
        ASSERT_TRUE(c.Start());
        ASSERT_TRUE(c.WaitForOutput("panel channel:"));
        int id = QueueIdOf(c.Output());
        ASSERT_GE(id, 0);
        EXPECT_TRUE(QueueExists(id));
        int status = c.Stop(sig);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_FALSE(QueueExists(id));
    }
}

TEST(Startup, KeyThroughThePanelChannelReachesTheMenuThread) {
    RunningController c;
    ASSERT_TRUE(c.Start());
    ASSERT_TRUE(c.WaitForOutput("panel channel:"));
    ASSERT_TRUE(c.PanelCommand("key U"));
    EXPECT_TRUE(c.WaitForOutput("MenuThread: key code 85 'U' class 1 knob 0"));
    ASSERT_TRUE(c.PanelCommand("hold K"));
    EXPECT_TRUE(c.WaitForOutput("MenuThread: key code 193"));  // the long press of 'K'
    ASSERT_TRUE(c.PanelCommand("knob -4"));
    EXPECT_TRUE(c.WaitForOutput("MenuThread: key code 213 '?' class 4 knob -4"));
    ASSERT_TRUE(c.PanelCommand("key"));
    EXPECT_TRUE(c.WaitForOutput("panel channel: key: key must be"));
    EXPECT_EQ(c.Stop(SIGTERM), 0);
}

}  // namespace

namespace {

// Processor time (user + system) of a process, in clock ticks.
long CpuTicks(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream s(stat.substr(stat.rfind(')') + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && s >> field; ++i) {
        if (i == 14) utime = std::stol(field);
        if (i == 15) stime = std::stol(field);
    }
    return utime + stime;
}

TEST(Startup, IdleInstrumentLeavesTheProcessorAlone) {
    RunningController c;
    ASSERT_TRUE(c.Start());
    ASSERT_TRUE(c.WaitForOutput("panel channel:"));
    long before = CpuTicks(c.Pid());
    auto t0 = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    long used = CpuTicks(c.Pid()) - before;
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    double share = static_cast<double>(used) / sysconf(_SC_CLK_TCK) / wall;
    // A busy supervisor loop alone would take a whole core.
    EXPECT_LT(share, 0.5) << "share of one core: " << share;
    c.Stop(SIGTERM);
}

}  // namespace
