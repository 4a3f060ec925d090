// The running controller's panel with --text-log: the console blanking is switched off once, and the home
// page is what the screen shows and what the text log records once the panel says it has caught up.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/controller_process.h"

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST(PanelPages, RunningControllerShowsHomeAndLogsItsText) {
    testsupport::ControllerProcess c({"--text-log"});
    ASSERT_TRUE(c.WaitForOutput("GuiThread: system ready", testsupport::kStartupTimeoutMs)) << c.Output();
    // "sync" answers once the home page has shown everything it found to show.
    ASSERT_TRUE(testsupport::PanelLine(c.root(), "sync"));
    ASSERT_TRUE(c.WaitForOutput("panel: synced\n", 20000)) << c.Output();
    const std::string textLog = c.root() + "/var/log/gui-text.log";
    // The home page's status bar: the wiring right-aligned to (638,3), the range from (91,4).
    const std::string text = ReadAll(textLog);
    EXPECT_NE(text.find("638 3 1 0xFFFF Font16a 3P4W\n"), std::string::npos) << text;
    EXPECT_NE(text.find("91 4 0 0xFFFF Font16a 100V\n"), std::string::npos) << text;
    const std::string commands = ReadAll(c.root() + "/var/log/commands.log");
    EXPECT_EQ(Count(commands, "> /dev/tty1"), 1u) << commands;
}

}  // namespace
