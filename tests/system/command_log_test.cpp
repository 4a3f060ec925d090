// The command log of a running controller: every command is recorded (a poll whose answer did not change
// once), and the log stays within two files of its limit however long the controller runs.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "tests/support/controller_process.h"

namespace {
namespace fs = std::filesystem;

ino_t Inode(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

// The controller's log limit for the programs started while it lives.
class LogLimit {
  public:
    explicit LogLimit(const char* bytes) { setenv("VRN_LOG_LIMIT_BYTES", bytes, 1); }
    ~LogLimit() { unsetenv("VRN_LOG_LIMIT_BYTES"); }
};

TEST(CommandLog, AnIdleControllerKeepsTwoFilesWithinTheLimit) {
    constexpr size_t kLimit = 512;
    std::unique_ptr<testsupport::ControllerProcess> c;
    {
        LogLimit limit("512");
        c = std::make_unique<testsupport::ControllerProcess>();
    }
    ASSERT_TRUE(c->WaitForOutput("GuiThread: system ready", testsupport::kStartupTimeoutMs)) << c->Output();
    const std::string folder = c->root() + "/var/log", log = folder + "/commands.log", old = log + ".1";

    // Left idle, its sequencers' polling fills the log again and again. Once the idle polls run (the LAN
    // watch's bare "ifconfig" is one), wait for two more turns: both files then hold what it logged idle.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    const auto idle = [&] {
        return (testsupport::FileText(log) + testsupport::FileText(old)).find(" ifconfig\n") != std::string::npos;
    };
    while (!idle() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    int turns = 0;
    for (ino_t last = Inode(old); turns < 2 && std::chrono::steady_clock::now() < end;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (Inode(old) != 0 && Inode(old) != last) ++turns, last = Inode(old);
    }
    EXPECT_EQ(turns, 2) << "the idle log did not turn over twice within 120 s";
    ASSERT_EQ(c->Stop(SIGTERM), 0) << c->Output();

    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"commands.log", "commands.log.1"}));
    const std::regex entry(
        "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} (ran|simulated|refused) \\d+ .*");
    std::string kept;
    for (const std::string& path : {old, log}) {
        const std::string text = testsupport::FileText(path);
        EXPECT_LE(text.size(), kLimit) << path;
        ASSERT_FALSE(text.empty()) << path;
        EXPECT_EQ(text.back(), '\n') << path;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            EXPECT_TRUE(std::regex_match(line, entry)) << path << ": " << line;
        kept += text;
    }
    // The USB device controller's state, read several times a second and never changed, is logged at its
    // first read only: at most once among the polls that filled the log.
    const std::string read = " cat /sys/class/udc/musb-hdrc.1.auto/device/info\n";
    EXPECT_EQ(kept.find(read), kept.rfind(read)) << kept;
}

}  // namespace
