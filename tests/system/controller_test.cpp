#include <gtest/gtest.h>
#include <signal.h>
#include <sys/msg.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/support/controller_process.h"

namespace {
namespace fs = std::filesystem;

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Controller, StaysUpUntilAStopSignalAndLeavesOnlyItsRoot) {
    for (int signal : {SIGTERM, SIGINT}) {
        testsupport::ControllerProcess controller;
        ASSERT_TRUE(controller.WaitForOutput("instrument root " + controller.root())) << controller.Output();
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_TRUE(controller.Running()) << "ended without a signal:\n" << controller.Output();
        EXPECT_TRUE(fs::exists(controller.root() + "/sys/class/net/eth0/operstate"));

        EXPECT_EQ(controller.Stop(signal), 0) << controller.Output();
        EXPECT_TRUE(controller.GroupGone()) << "a process of the controller is still running";
        // Its working folder stays empty: everything it wrote is under its root.
        EXPECT_TRUE(fs::is_empty(controller.workDir()));
        EXPECT_EQ(Entries(controller.folder()), (std::vector<std::string>{"output.txt", "root", "work"}));
    }
}

TEST(Controller, ExitsWithAClearErrorWhenTheRootCannotBeMade) {
    // The later --root wins; nothing can be made below a device node.
    testsupport::ControllerProcess controller({"--root", "/dev/null/vrnroot"});
    EXPECT_EQ(controller.Wait(), 1);
    EXPECT_NE(controller.Output().find("cannot make the instrument root /dev/null/vrnroot"),
              std::string::npos)
        << controller.Output();
}

// The queue that holds `key` now, or -1.
int QueueWithKey(key_t key) {
    return msgget(key, 0);
}

TEST(Controller, OneControllerPerRootAndAKilledOnesQueueGoesAtTheNextStart) {
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
    EXPECT_TRUE(first.Running()) << first.Output();
    EXPECT_EQ(QueueWithKey(key), id);

    ASSERT_EQ(first.Stop(SIGKILL), 128 + SIGKILL);
    EXPECT_EQ(QueueWithKey(key), id);  // nobody removed it
    testsupport::ControllerProcess next({"--root", first.root()});
    ASSERT_TRUE(next.WaitForOutput("message queue: id")) << next.Output();
    EXPECT_NE(next.Output().find("message queue: removed id " + std::to_string(id)), std::string::npos)
        << next.Output();
    EXPECT_EQ(next.QueueKey(), key);
    EXPECT_NE(next.QueueId(), id);
    EXPECT_EQ(QueueWithKey(key), next.QueueId());
    EXPECT_EQ(next.Stop(SIGTERM), 0) << next.Output();
    EXPECT_EQ(QueueWithKey(key), -1);
}

TEST(Controller, RejectsBadOptions) {
    testsupport::ControllerProcess controller({"--port-offset", "banana"});
    EXPECT_EQ(controller.Wait(), 2);
    EXPECT_NE(controller.Output().find("bad port offset"), std::string::npos) << controller.Output();
}

}  // namespace
