#include "platform/panel_channel.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/panel_sim.h"
#include "platform/spi.h"

namespace {

// Reads the key word as the panel link does: one 0xF0 frame.
uint16_t ReadKeyWord() {
    uint8_t frame[4] = {0, 0, 0, 0xF0};
    EXPECT_TRUE(plat::PanelSimTransfer(frame, 4));
    return static_cast<uint16_t>(frame[0] | (frame[1] << 8));
}

class PanelChannelTest : public ::testing::Test {
  protected:
    void SetUp() override { plat::PanelSimReset(); }
    static int Run(const std::string& line) {
        std::string error;
        return plat::PanelChannelCommand(line, &error);
    }
};

// A key word stays for a number of reads (a short press 10, a hold 450 or as asked), then is released.
TEST_F(PanelChannelTest, KeysHoldsAndKnobTurns) {
    const struct {
        const char* line;
        uint16_t word;
        int reads;
    } cases[] = {
        {"key U", 'U' << 8, 10},
        {"hold 75", 'K' << 8, 450},  // 'K' by its code
        {"hold X 3", 'X' << 8, 3},
        {"knob -3", (plat::kKnobCode << 8) | 0xFD, 1},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(Run(c.line), 0) << c.line;
        int down = 0;
        while (ReadKeyWord() == c.word)
            ++down;
        EXPECT_EQ(down, c.reads) << c.line;
        EXPECT_EQ(ReadKeyWord(), 0) << c.line;
    }
    ASSERT_EQ(Run("down @"), 0);
    EXPECT_EQ(ReadKeyWord(), '@' << 8);
    EXPECT_EQ(ReadKeyWord(), '@' << 8);
    ASSERT_EQ(Run("up"), 0);
    EXPECT_EQ(ReadKeyWord(), 0);
}

TEST_F(PanelChannelTest, BadCommandsAreRefusedAndChangeNothing) {
    const char* bad[] = {"key",     "key UU", "key 00", "key 256", "hold U 0", "hold U x",
                         "key U 3", "knob",   "knob 0", "knob 5x", "up now",   "press U"};
    for (const char* line : bad) {
        std::string error;
        EXPECT_EQ(plat::PanelChannelCommand(line, &error), -1) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
    EXPECT_EQ(plat::PanelSimPending(), 0u);
    EXPECT_EQ(ReadKeyWord(), 0);
}

TEST_F(PanelChannelTest, OtherSubsystemsAddTheirOwnVerbs) {
    static std::string seen;
    plat::PanelChannelAddVerb("scan", [](const std::string& args, std::string*) {
        seen = args;
        return 0;
    });
    EXPECT_EQ(Run("scan  M3 "), 0);
    EXPECT_EQ(seen, "M3");
}

TEST_F(PanelChannelTest, LinesWrittenToTheFifoReachThePanel) {
    char dir[] = "/tmp/vrn-panel-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string fifo = std::string(dir) + "/panel";
    ASSERT_EQ(plat::PanelChannelStart(fifo), 0);
    struct stat st;
    ASSERT_EQ(stat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    int fd = open(fifo.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    const char text[] = "bogus\r\nkey T\n";
    ASSERT_EQ(write(fd, text, sizeof text - 1), static_cast<ssize_t>(sizeof text - 1));
    close(fd);
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (plat::PanelSimPending() == 0 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(ReadKeyWord(), 'T' << 8);
    unlink(fifo.c_str());
    rmdir(dir);
}

}  // namespace
