// A start on a memory whose block 0 and its file copy were damaged runs on the defaults of no model type,
// but its saves leave the memory as it was: the identity, the settings blocks, the preset backups and the
// configuration text (its host name included) stay there for the mended unit.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
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

TEST(DamagedMemory, SavesKeepEveryBlockWhileBlockZeroIsDamaged) {
    constexpr size_t kTextAt = 768, kEnd = 53248 + 3 * 8192;  // block 0 to the last preset backup
    ControllerProcess first;
    ASSERT_NO_FATAL_FAILURE(SaveAndKill(first, first.root()));
    std::vector<uint8_t> m = testsupport::MemoryOf(first.root());
    ASSERT_EQ(m.size(), 131072u);
    ASSERT_EQ(m[6], 1);  // the factory's model type
    const std::string text(m.begin() + kTextAt, m.begin() + kTextAt + 3072);
    ASSERT_NE(text.find("\nHOSTNAME=V-N-SIM-0001\n"), std::string::npos) << text;
    m[8] ^= 0x01;  // the serial number's first character
    PutMemory(first.root(), m);
    const std::string copy = first.root() + "/mnt/tst/Special/SpecialData";
    ASSERT_EQ(testsupport::FileBytes(copy).size(), 512u);
    ASSERT_EQ(unlink(copy.c_str()), 0);  // nothing to mend block 0 from

    ControllerProcess second({"--root", first.root()});
    ASSERT_NO_FATAL_FAILURE(SaveAndKill(second, first.root()));
    EXPECT_NE(
        second.Output().find("identity and power-on settings reset: stored block damaged, no model type\n"),
        std::string::npos)
        << second.Output();
    const std::vector<uint8_t> after = testsupport::MemoryOf(first.root());
    ASSERT_EQ(after.size(), m.size());
    for (const auto& [from, to, what] : {std::tuple<size_t, size_t, const char*>{0, 512, "block 0"},
                                         {kTextAt, kTextAt + 3072, "configuration text"},
                                         {4096, 4096 + 3 * 8192, "3P4W settings blocks"},
                                         {53248, kEnd, "preset backups"}})
        EXPECT_TRUE(std::equal(m.begin() + from, m.begin() + to, after.begin() + from))
            << what << " written over";
}

}  // namespace
