// The running program: the control task settles the output settings and reports the system ready soon
// after the menu/control thread has started.
#include <gtest/gtest.h>

#include <chrono>

#include "tests/support/controller_process.h"

namespace {

using testsupport::ControllerProcess;

TEST(OutputReady, SystemReadyWithinOneAndAHalfSecondsOfTheControlThreadsStart) {
    ControllerProcess c;
    ASSERT_TRUE(c.WaitForOutput("thread MenuThread")) << c.Output();
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(c.WaitForOutput("GuiThread: system ready", 5000)) << c.Output();
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
            .count();
    EXPECT_LE(ms, 1500) << c.Output();
    EXPECT_EQ(c.Output().find("popup:"), std::string::npos) << c.Output();  // nothing had to be limited
}

}  // namespace
