// A start on a memory whose block 0 and configuration text were damaged runs on the defaults, but its
// saves leave both as they are: the identity and the LAN set-up stay there to be mended.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/controller_process.h"

namespace {

using testsupport::ControllerProcess;

void PutMemory(const std::string& root, const std::vector<uint8_t>& m) {
    std::ofstream f(root + "/dev/spidev1.0", std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(m.data()), static_cast<std::streamsize>(m.size()));
}

// Runs the save a restart runs, then cuts the power. root: the one c runs on.
void SaveAndKill(ControllerProcess& c, const std::string& root) {
    ASSERT_TRUE(c.WaitForOutput("panel channel:", testsupport::kStartupTimeoutMs)) << c.Output();
    ASSERT_TRUE(c.WaitForOutput("GuiThread: system ready", testsupport::kStartupTimeoutMs)) << c.Output();
    ASSERT_TRUE(testsupport::PanelLine(root, "restart"));
    ASSERT_TRUE(c.WaitForOutput("settings saved for the restart")) << c.Output();
    ASSERT_EQ(c.Stop(SIGKILL), 128 + SIGKILL);
}

TEST(DamagedMemory, SavesKeepADamagedBlockZeroAndConfigurationText) {
    constexpr size_t kBlock0 = 512, kTextAt = 768, kTextArea = 3072;
    ControllerProcess first;
    ASSERT_NO_FATAL_FAILURE(SaveAndKill(first, first.root()));
    std::vector<uint8_t> m = testsupport::MemoryOf(first.root());
    ASSERT_EQ(m.size(), 131072u);
    ASSERT_EQ(m[6], 1);  // the factory's model type
    m[8] ^= 0x01;        // the serial number's first character
    const std::string text(m.begin() + kTextAt, m.begin() + kTextAt + kTextArea);
    const size_t port = text.find("\nPORT=5025\n");
    ASSERT_NE(port, std::string::npos) << text;
    m[kTextAt + port + 9] = '6';
    PutMemory(first.root(), m);

    ControllerProcess second({"--root", first.root()});
    ASSERT_NO_FATAL_FAILURE(SaveAndKill(second, first.root()));
    const std::vector<uint8_t> after = testsupport::MemoryOf(first.root());
    ASSERT_EQ(after.size(), m.size());
    EXPECT_TRUE(std::equal(m.begin(), m.begin() + kBlock0, after.begin())) << "block 0 was written over";
    EXPECT_TRUE(std::equal(m.begin() + kTextAt, m.begin() + kTextAt + kTextArea, after.begin() + kTextAt))
        << "the configuration text was written over";
}

}  // namespace
