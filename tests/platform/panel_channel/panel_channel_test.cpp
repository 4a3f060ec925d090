#include "platform/panel_channel/panel_channel.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/devices/panel_sim.h"
#include "platform/devices/spi.h"
#include "platform/panel_channel/panel_sync.h"

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
    // {command, key word, reads it stays}
    const std::tuple<const char*, uint16_t, int> cases[] = {
        {"key U", 'U' << 8, 10},
        {"hold 75", 'K' << 8, 450},  // 'K' by its code
        {"hold X 3", 'X' << 8, 3},
        {"knob -3", (213 << 8) | 0xFD, 1},  // the knob's code, the turn in the low byte
    };
    for (const auto& [line, word, reads] : cases) {
        ASSERT_EQ(Run(line), 0) << line;
        int down = 0;
        while (ReadKeyWord() == word)
            ++down;
        EXPECT_EQ(down, reads) << line;
        EXPECT_EQ(ReadKeyWord(), 0) << line;
    }
    ASSERT_EQ(Run("down @"), 0);
    EXPECT_EQ(ReadKeyWord(), '@' << 8);
    EXPECT_EQ(ReadKeyWord(), '@' << 8);
    ASSERT_EQ(Run("up"), 0);
    EXPECT_EQ(ReadKeyWord(), 0);
}

// Bad lines are refused with a reason and change nothing; the alarm line takes only the alarm and status
// words of the stage.
TEST_F(PanelChannelTest, BadCommandsAreRefusedAndVerbsAreAdded) {
    // clang-format off
    const char* bad[] = {"key", "key UU", "key 00", "key 256", "hold U 0", "hold U x", "key U 3", "knob",
                         "knob 0", "knob 5x", "up now", "press U", "alarm", "alarm 2087", "alarm 2340 1",
                         "alarm 2089 1", "alarm 2087 32", "alarm 2087 -1", "alarm x 2", "alarm 2087 2 of",
                         "alarm 2087 2 off x", "alarm 99999999999 1"};
    // clang-format on
    for (const char* line : bad) {
        std::string error;
        EXPECT_EQ(plat::PanelChannelCommand(line, &error), -1) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
    EXPECT_EQ(plat::PanelSimPending(), 0u);
    EXPECT_EQ(ReadKeyWord(), 0);
    for (const char* line : {"alarm 2085 5", "alarm 2085 5 off", "alarm 2091 21", "alarm 2091 21 off"})
        EXPECT_EQ(Run(line), 0) << line;
    static std::string seen;
    plat::PanelChannelAddVerb("load", [](const std::string& args, std::string*) {
        seen = args;
        return 0;
    });
    EXPECT_EQ(Run("load  M3 "), 0);
    EXPECT_EQ(seen, "M3");
}

}  // namespace

// "sync" answers once, after two quiet page updates in a row that follow it, with no key still pending.
TEST_F(PanelChannelTest, SyncAnswersAfterTwoQuietUpdatesWithNoKeyPending) {
    std::string error;
    EXPECT_EQ(plat::PanelChannelCommand("sync now", &error), -1);
    EXPECT_EQ(error, "sync takes no argument");

    testing::internal::CaptureStdout();
    plat::PanelSyncPageUpdated(true);
    plat::PanelSyncPageUpdated(true);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "nobody asked";

    testing::internal::CaptureStdout();
    ASSERT_EQ(Run("key U"), 0);
    ASSERT_EQ(Run("sync"), 0);
    plat::PanelSyncPageUpdated(true);
    plat::PanelSyncPageUpdated(true);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "the key is still being reported";
    for (int i = 0; i < 100 && plat::PanelSimPending() != 0; ++i) ReadKeyWord();
    ASSERT_EQ(plat::PanelSimPending(), 0u);

    testing::internal::CaptureStdout();
    plat::PanelSyncPageUpdated(true);
    plat::PanelSyncPageUpdated(false);
    plat::PanelSyncPageUpdated(true);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "a busy update starts the count again";
    testing::internal::CaptureStdout();
    plat::PanelSyncPageUpdated(true);
    plat::PanelSyncPageUpdated(true);
    plat::PanelSyncPageUpdated(true);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "panel: synced\n");
}
