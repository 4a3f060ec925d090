// The program's life as a process, each test with controllers of its own: it runs until a stop signal
// and leaves nothing but its root, lets the fieldbus thread end when a CAN card has no CAN interface on
// this machine, refuses what it cannot start with, and touches no host path.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/msg.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <tuple>

#include "tests/support/controller_process.h"
#include "tests/support/tcp_client.h"
#include "tests/support/temp_root.h"

namespace {
namespace fs = std::filesystem;
using testsupport::ControllerProcess;

// The System V message queue that holds `key` on the host now (what `ipcs -q` lists), or -1.
int QueueWithKey(key_t key) {
    return msgget(key, 0);
}

// A stop signal ends it and leaves nothing but its root. The SIGINT run also asks for the real-time
// policies, granted or refused per thread, and its root has a CAN card (detect line 106 reads 1) but this
// machine no CAN interface: the fieldbus thread names the card and ends. SIGTERM ends the controller of
// the next test.
TEST(Controller, StopSignalEndsItAndLeavesOnlyItsRoot) {
    const std::string folder = testsupport::MakeTempFolder("vrn-can-");
    ASSERT_FALSE(folder.empty());
    const std::string root = folder + "/root";
    fs::create_directories(root + "/sys/class/gpio/gpio106");
    std::ofstream(root + "/sys/class/gpio/gpio106/value") << "1\n";
    {
        ControllerProcess c({"--realtime", "--root", root});
        ASSERT_TRUE(c.WaitForOutput("thread ModbusThread:", testsupport::kStartupTimeoutMs)) << c.Output();
        std::regex line(
            "thread KeyThread: policy FIFO priority 1 \\((applied|refused \\(no privilege\\), "
            "default policy)\\)");
        EXPECT_TRUE(std::regex_search(c.Output(), line)) << c.Output();
        EXPECT_TRUE(c.WaitForOutput("FieldbusThread: CAN card 3\n")) << c.Output();
        EXPECT_TRUE(c.WaitForOutput("FieldbusThread: no CAN interface, ending\n")) << c.Output();
        EXPECT_EQ(c.Output().find("no CAN card"), std::string::npos) << c.Output();
        const int queue = c.QueueId();
        ASSERT_GE(queue, 0) << c.Output();  // before its key is used: key 0 would make a private queue
        const key_t key = c.QueueKey();
        EXPECT_EQ(QueueWithKey(key), queue);
        EXPECT_TRUE(fs::exists(root + "/sys/class/net/eth0/operstate"));

        EXPECT_EQ(c.Stop(SIGINT), 0) << c.Output();
        EXPECT_TRUE(c.GroupGone()) << "a process of the controller is still running";
        EXPECT_EQ(QueueWithKey(key), -1);
        // Its working folder stays empty: everything it wrote is under its root.
        EXPECT_TRUE(fs::is_empty(c.workDir()));
    }
    fs::remove_all(folder);
}

// Another controller on the same root, or on another root with the same port offset (it would take the
// same ports), is refused before it touches its root's memory or runs a command (a root it made is
// removed again), and the first keeps serving. A killed controller's queue goes at the next start.
TEST(Controller, OneControllerPerRootAndPortOffsetAndAKilledOnesQueueGoesAtTheNextStart) {
    testsupport::ControllerProcess first;
    ASSERT_TRUE(first.WaitForOutput("message queue: id")) << first.Output();
    const int id = first.QueueId();
    const key_t key = first.QueueKey();
    ASSERT_GE(id, 0) << first.Output();
    EXPECT_EQ(QueueWithKey(key), id);
    {
        // The root named otherwise (a trailing "/.") is the same root.
        testsupport::ControllerProcess second({"--root", first.root() + "/."});
        EXPECT_EQ(second.Wait(), 1);
        EXPECT_NE(
            second.Output().find("the instrument root " + first.root() + " is in use by another controller"),
            std::string::npos)
            << second.Output();
    }
    {
        ControllerProcess other;
        ASSERT_EQ(other.portOffset(), first.portOffset());
        EXPECT_EQ(other.Wait(), 1) << other.Output();
        EXPECT_NE(other.Output().find("port " + std::to_string(5025 + first.portOffset()) +
                                      " (SCPI port) is held by another program"),
                  std::string::npos)
            << other.Output();
        EXPECT_EQ(other.Output().find("message queue"), std::string::npos) << other.Output();
        EXPECT_FALSE(fs::exists(other.root())) << "the refused start left its new root";
    }
    EXPECT_TRUE(first.Running()) << first.Output();
    EXPECT_EQ(QueueWithKey(key), id);
    // Its LAN threads start after the self-test and listen on the ports it took.
    EXPECT_TRUE(
        first.WaitForOutput("LAN: restart port " + std::to_string(5030 + first.portOffset()) + " listening",
                            testsupport::kStartupTimeoutMs))
        << first.Output();

    ASSERT_EQ(first.Stop(SIGKILL), 128 + SIGKILL);
    EXPECT_EQ(QueueWithKey(key), id);  // nobody removed it
    testsupport::ControllerProcess next({"--root", first.root()});
    ASSERT_TRUE(next.WaitForOutput("message queue: id")) << next.Output();
    EXPECT_NE(next.Output().find("message queue: removed id " + std::to_string(id)), std::string::npos)
        << next.Output();
    EXPECT_EQ(next.QueueKey(), key);
    EXPECT_NE(next.QueueId(), id);
    EXPECT_EQ(QueueWithKey(key), next.QueueId());
    ASSERT_TRUE(next.WaitForOutput("thread ModbusThread:", testsupport::kStartupTimeoutMs)) << next.Output();
    EXPECT_EQ(next.Stop(SIGTERM), 0) << next.Output();
    EXPECT_TRUE(next.GroupGone()) << "a process of the controller is still running";
    EXPECT_EQ(QueueWithKey(key), -1);
    EXPECT_TRUE(fs::is_empty(next.workDir()));
}

TEST(Controller, RefusesWhatItCannotStartWith) {
    // {arguments, status, message}: the later --root wins; nothing can be made below a device node.
    const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
        {{"--root", "/dev/null/vrnroot"}, 1, "cannot make the instrument root /dev/null/vrnroot"},
        {{"--port-offset", "banana"}, 2, "bad port offset"},
    };
    for (const auto& [args, status, message] : cases) {
        ControllerProcess controller(args);
        EXPECT_EQ(controller.Wait(), status) << message;
        EXPECT_NE(controller.Output().find(message), std::string::npos) << controller.Output();
    }
    // A port that another program holds is named, and nothing says the holder is a controller.
    const int restart = 5030 + testsupport::TestPortOffset();
    const int held = testsupport::Listener(restart);
    ASSERT_GE(held, 0);
    {
        ControllerProcess controller;
        EXPECT_EQ(controller.Wait(), 1);
        EXPECT_NE(controller.Output().find("port " + std::to_string(restart) +
                                           " (LAN restart port) is held by another program"),
                  std::string::npos)
            << controller.Output();
        EXPECT_EQ(controller.Output().find("another controller"), std::string::npos) << controller.Output();
    }
    close(held);
}

// The strace check of scripts/check-host-paths.sh, when strace is there to run it.
TEST(HostPaths, RunTouchesNoHostPathOutsideItsRoot) {
    if (access("/usr/bin/strace", X_OK) != 0) GTEST_SKIP() << "strace is not installed";
    std::string repo = std::string(__FILE__).substr(0, std::string(__FILE__).rfind("/tests/system/"));
    const char* build = std::getenv("VRN_BUILD_DIR");
    std::string command = "bash " + repo + "/scripts/check-host-paths.sh " + (build ? build : "build") +
                          "/app/vrn-controller 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string report;
    char buf[512];
    for (size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;)
        report.append(buf, n);
    const int status = pclose(pipe);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2) GTEST_SKIP() << report;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << report;
}

}  // namespace
