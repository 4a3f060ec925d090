#pragma once
// One running controller for all the tests of a suite that do not need a fresh program. Each suite of
// the system tests runs as one process (one ctest test), so the controller is started once before the
// suite's first test and stopped with SIGTERM after its last.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/controller_process.h"
#include "tests/support/tcp_client.h"

namespace testsupport {

// Sends each command in turn on one connection to c's LAN socket and returns the answer to the last (a
// query): the commands before it have run once it answers.
inline std::string AskOnce(ControllerProcess& c, const std::vector<std::string>& commands) {
    if (!c.WaitForOutput("LAN: SCPI socket listening", kStartupTimeoutMs))
        return "not listening:\n" + c.Output();
    TcpClient t(5025 + c.portOffset());
    for (const std::string& command : commands)
        t.Send(command + "\n");
    return t.ReadLine();
}

class SharedController : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { Start(); }
    static void TearDownTestSuite() {
        EXPECT_EQ(controller_->Stop(SIGTERM), 0) << controller_->Output();
        controller_.reset();
    }
    void SetUp() override { ASSERT_TRUE(c().Running()) << c().Output(); }
    // Starts the suite's controller with these files (instrument path -> content) in its root: a suite
    // that needs them calls it from a SetUpTestSuite of its own.
    static void Start(const std::map<std::string, std::string>& rootFiles = {}) {
        controller_ = std::make_unique<ControllerProcess>(std::vector<std::string>{}, rootFiles);
    }
    static ControllerProcess& c() { return *controller_; }
    static int Port(int instrumentPort) { return instrumentPort + c().portOffset(); }
    // Types one line into the panel channel (the simulated instrument's own commands).
    static bool Panel(const std::string& line) { return PanelLine(c().root(), line); }

  private:
    static inline std::unique_ptr<ControllerProcess> controller_;
};

}  // namespace testsupport
