#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "tests/support/controller_process.h"

namespace {

using testsupport::ControllerProcess;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

int QueueIdOf(const std::string& output) {
    std::smatch m;
    std::regex re("message queue: id (\\d+)");
    return std::regex_search(output, m, re) ? std::stoi(m[1]) : -1;
}

// The message queues that exist on the host now (what `ipcs -q` lists).
bool QueueExists(int id) {
    std::istringstream in(ReadFile("/proc/sysvipc/msg"));
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream s(line);
        long key;
        int qid;
        if (s >> key >> qid && qid == id) return true;
    }
    return false;
}

bool PanelCommand(const ControllerProcess& c, const std::string& line) {
    int fd = open((c.root() + "/var/run/panel").c_str(), O_WRONLY | O_NONBLOCK);
    if (fd < 0) return false;
    std::string text = line + "\n";
    bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    return ok;
}

// The process running with this root (its command line names it).
pid_t PidOf(const ControllerProcess& c) {
    DIR* proc = opendir("/proc");
    pid_t found = -1;
    while (dirent* e = readdir(proc)) {
        pid_t pid = std::atoi(e->d_name);
        if (pid <= 0) continue;
        std::string cmd = ReadFile("/proc/" + std::string(e->d_name) + "/cmdline");
        std::replace(cmd.begin(), cmd.end(), '\0', ' ');
        if (cmd.find("vrn-controller --root " + c.root() + " ") != std::string::npos) found = pid;
    }
    closedir(proc);
    return found;
}

// Processor time (user + system) of a process, in clock ticks.
long CpuTicks(pid_t pid) {
    std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
    std::istringstream s(stat.substr(stat.rfind(')') + 2));
    std::string field;
    long ticks = 0;
    for (int i = 3; i <= 15 && s >> field; ++i)
        if (i == 14 || i == 15) ticks += std::stol(field);
    return ticks;
}

// Milliseconds of the day of a command-log line ("YYYY-MM-DD HH:MM:SS.mmm ...").
long LogTimeMs(const std::string& line) {
    int h, m, s, ms;
    if (std::sscanf(line.c_str(), "%*d-%*d-%*d %d:%d:%d.%d", &h, &m, &s, &ms) != 4) return -1;
    return ((h * 60L + m) * 60L + s) * 1000L + ms;
}

TEST(Startup, FourteenThreadsStartInTableOrderAfterTheResetPulse) {
    ControllerProcess c;
    ASSERT_TRUE(c.WaitForOutput("thread ModbusThread:")) << c.Output();
    const char* expected[] = {
        "FW Startup: Pass",
        "thread GuiThread: policy RR priority 13",
        "thread TimerThread: policy RR priority 15",
        "thread WebServerThread80: policy RR priority 12",
        "thread WebServerThread81: policy RR priority 12",
        "thread SeqSimThread: policy RR priority 11",
        "thread UsbDevThread: policy RR priority 6",
        "thread LanRestartThread: policy RR priority 8",
        "thread LanConnThread: policy RR priority 9",
        "thread LanAcceptThread: policy RR priority 2",
        "thread UsbGpibThread: policy RR priority 4",
        "thread KeyThread: policy FIFO priority 1",
        "thread MenuThread: policy FIFO priority 10",
        "thread FieldbusThread: policy RR priority 11",
        "thread ModbusThread: policy RR priority 3",
    };
    std::string out = c.Output();
    size_t at = 0;
    for (const char* line : expected) {
        size_t found = out.find(line, at);
        ASSERT_NE(found, std::string::npos) << line << "\n" << out;
        at = found + 1;
    }
    EXPECT_NE(out.find("(not requested, default policy)"), std::string::npos);
    EXPECT_TRUE(c.WaitForOutput("FieldbusThread: no CAN card, ending"));

    // Each thread carries its name (at most 15 characters: the longer table names drop "Thread"); the
    // main thread (and a sanitizer's own) keeps the program's.
    ASSERT_TRUE(c.WaitForOutput("panel channel:")) << c.Output();
    const pid_t pid = PidOf(c);
    ASSERT_GT(pid, 0);
    std::multiset<std::string> names;
    DIR* tasks = opendir(("/proc/" + std::to_string(pid) + "/task").c_str());
    ASSERT_NE(tasks, nullptr);
    while (dirent* e = readdir(tasks)) {
        if (e->d_name[0] == '.') continue;
        std::string name = ReadFile("/proc/" + std::to_string(pid) + "/task/" + e->d_name + "/comm");
        if (!name.empty() && name.back() == '\n') name.pop_back();
        names.insert(name);
    }
    closedir(tasks);
    EXPECT_GE(names.count("vrn-controller"), 1u);
    for (const char* name :
         {"GuiThread", "TimerThread", "WebServer80", "WebServer81", "SeqSimThread", "UsbDevThread",
          "LanRestart", "LanConnThread", "LanAcceptThread", "UsbGpibThread", "KeyThread", "MenuThread",
          "ModbusThread", "StopSignal", "PanelChannel"})
        EXPECT_EQ(names.count(name), 1u) << name;

    // The peripheral reset line went 0, then 1 half a second later, before the threads started.
    std::istringstream log(ReadFile(c.root() + "/var/log/commands.log"));
    long low = -1, high = -1;
    for (std::string line; std::getline(log, line);) {
        if (line.find("echo 0 > /sys/class/leds/gpib_rst/brightness") != std::string::npos)
            low = LogTimeMs(line);
        if (line.find("echo 1 > /sys/class/leds/gpib_rst/brightness") != std::string::npos)
            high = LogTimeMs(line);
    }
    ASSERT_GE(low, 0);
    ASSERT_GE(high, 0);
    long gap = (high - low + 86400000L) % 86400000L;
    EXPECT_GE(gap, 500);
    EXPECT_LT(gap, 1500);
    EXPECT_EQ(ReadFile(c.root() + "/sys/class/leds/gpib_rst/brightness"), "1\n");
    EXPECT_EQ(c.Stop(SIGTERM), 0);
}

TEST(Startup, RealtimeRequestIsLoggedPerThread) {
    ControllerProcess c({"--realtime"});
    ASSERT_TRUE(c.WaitForOutput("thread ModbusThread:")) << c.Output();
    std::regex line(
        "thread KeyThread: policy FIFO priority 1 \\((applied|refused \\(no privilege\\), default "
        "policy)\\)");
    EXPECT_TRUE(std::regex_search(c.Output(), line)) << c.Output();
    EXPECT_EQ(c.Stop(SIGTERM), 0);
}

TEST(Startup, NoMessageQueueIsLeftAfterSigtermOrSigint) {
    for (int sig : {SIGTERM, SIGINT}) {
        ControllerProcess c;
        ASSERT_TRUE(c.WaitForOutput("panel channel:")) << c.Output();
        int id = QueueIdOf(c.Output());
        ASSERT_GE(id, 0);
        EXPECT_TRUE(QueueExists(id));
        EXPECT_EQ(c.Stop(sig), 0) << c.Output();
        EXPECT_FALSE(QueueExists(id));
    }
}

TEST(Startup, KeyThroughThePanelChannelReachesTheMenuThread) {
    ControllerProcess c;
    ASSERT_TRUE(c.WaitForOutput("panel channel:")) << c.Output();
    // Keys pressed before the control task has settled the outputs are not taken.
    ASSERT_TRUE(c.WaitForOutput("GuiThread: system ready")) << c.Output();
    ASSERT_TRUE(PanelCommand(c, "key U"));
    EXPECT_TRUE(c.WaitForOutput("MenuThread: key code 85 'U' class 1 knob 0")) << c.Output();
    ASSERT_TRUE(PanelCommand(c, "hold K"));
    EXPECT_TRUE(c.WaitForOutput("MenuThread: key code 193"));  // the long press of 'K'
    ASSERT_TRUE(PanelCommand(c, "knob -4"));
    EXPECT_TRUE(c.WaitForOutput("MenuThread: key code 213 '?' class 4 knob -4"));
    ASSERT_TRUE(PanelCommand(c, "key"));
    EXPECT_TRUE(c.WaitForOutput("panel channel: key: key must be"));
    EXPECT_EQ(c.Stop(SIGTERM), 0);
}

TEST(Startup, IdleInstrumentLeavesTheProcessorAlone) {
    ControllerProcess c;
    ASSERT_TRUE(c.WaitForOutput("panel channel:")) << c.Output();
    pid_t pid = PidOf(c);
    ASSERT_GT(pid, 0);
    long before = CpuTicks(pid);
    auto t0 = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    long used = CpuTicks(pid) - before;
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    double share = static_cast<double>(used) / sysconf(_SC_CLK_TCK) / wall;
    // A busy supervisor loop alone would take a whole core.
    EXPECT_LT(share, 0.5) << "share of one core: " << share;
    c.Stop(SIGTERM);
}

}  // namespace

namespace {

// The strace check of scripts/check-host-paths.sh, when strace is there to run it.
TEST(Startup, RunTouchesNoHostPathOutsideItsRoot) {
    if (access("/usr/bin/strace", X_OK) != 0) GTEST_SKIP() << "strace is not installed";
    std::string repo = std::string(__FILE__).substr(0, std::string(__FILE__).rfind("/tests/system/"));
    const char* build = std::getenv("VRN_BUILD_DIR");
    std::string program = std::string(build ? build : "build") + "/app/vrn-controller";
    std::string script = repo + "/scripts/check-host-paths.sh";
    int pipefd[2];
    ASSERT_EQ(pipe(pipefd), 0);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        dup2(pipefd[1], 1);
        dup2(pipefd[1], 2);
        close(pipefd[0]);
        execl("/bin/bash", "bash", script.c_str(), program.c_str(), "3", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipefd[1]);
    std::string report;
    char buf[512];
    for (ssize_t n; (n = read(pipefd[0], buf, sizeof buf)) > 0;)
        report.append(buf, static_cast<size_t>(n));
    close(pipefd[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2) GTEST_SKIP() << report;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << report;
}

}  // namespace
