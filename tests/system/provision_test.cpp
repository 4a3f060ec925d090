// A new root is a unit as the factory leaves it; the save before a restart survives a killed program, and
// the preset backups it wrote load at the next start without a report, as the new unit's own do; a start
// on a damaged block 0 keeps the memory for the mended unit.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "tests/system/controller_fixture.h"

namespace {

using testsupport::AskOnce;
using testsupport::ControllerProcess;

// Without a model type the first start leaves block 0 erased, or holding model 0 once the start's backup
// ran; its SCPI queries are answered. (A model type's first start: the tests below and NewUnit.)
TEST(Provision, FirstStartWithoutAModelType) {
    ControllerProcess c({"--model", "0"});
    ASSERT_TRUE(c.WaitForOutput("GuiThread: system ready", testsupport::kStartupTimeoutMs)) << c.Output();
    EXPECT_EQ(AskOnce(c, {"*IDN?"}), "QX-ORVANE,VRN,,1.06\n");
    // What the unit cannot run without a model is refused, saying why, and the query after it is still
    // answered.
    EXPECT_EQ(AskOnce(c, {"SYST:CONF:MODE SEQ;:SYST:ERR?"}), "-310,\"System error;no model type\"\n");
    // A query it refuses is answered all the same, with an empty line, and the error tells why.
    testsupport::TcpClient t(5025 + c.portOffset());
    for (const std::string query : {"SYST:CONF:MODE?", "SEQ:STEP 0;:SEQ:SPAR?", "SIM:NORM1:TIME?"}) {
        t.Send(query + "\n");
        EXPECT_EQ(t.ReadLine(), "\n") << query;
        t.Send("SYST:ERR?\n");
        EXPECT_EQ(t.ReadLine().substr(0, 5), "-310,") << query;
    }
    const std::vector<uint8_t> m = testsupport::MemoryOf(c.root());
    ASSERT_EQ(m.size(), 131072u);
    EXPECT_TRUE(!testsupport::BlockSealed(m, 0, 132) || m[6] == 0);
    EXPECT_EQ(c.Stop(SIGTERM), 0) << c.Output();
}

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

bool ReportsPresetError(const ControllerProcess& c) {
    return c.Output().find("popup: Preset Data Error") != std::string::npos;
}

// A new root's first start writes the factory identity; the save path (restart pending, no reboot) keeps
// the 3P4W blocks sealed; a killed program's successor on the same root keeps its identity (a later
// --model changes nothing); and a damaged block 0 does not make the saves write over the memory.
TEST(Provision, SaveBeforeRestartSurvivesAKillAndADamagedIdentity) {
    ControllerProcess first;
    ASSERT_NO_FATAL_FAILURE(SaveAndKill(first, first.root()));
    EXPECT_FALSE(ReportsPresetError(first)) << first.Output();
    // The factory contents hold every picture the brand copy takes: a new root starts without a failed copy.
    EXPECT_EQ(first.Output().find("cannot stat"), std::string::npos) << first.Output();
    EXPECT_FALSE(testsupport::FileBytes(first.root() + "/mnt/disk/httpd/images/sample.png").empty());
    const std::vector<uint8_t> m = testsupport::MemoryOf(first.root());
    ASSERT_EQ(m.size(), 131072u);
    EXPECT_TRUE(testsupport::BlockSealed(m, 0, 132));
    EXPECT_EQ(m[6], 1);  // the factory identity: model type 1, serial VRN-SIM-0001
    EXPECT_EQ(m[7], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&m[8])), "VRN-SIM-0001");
    for (size_t offset : {4096u, 12288u, 20480u})
        EXPECT_TRUE(testsupport::BlockSealed(m, offset, 8192)) << offset;

    ControllerProcess next({"--root", first.root(), "--model", "5"});
    EXPECT_EQ(AskOnce(next, {"*IDN?"}), "QX-ORVANE,VRN-4145,VRN-SIM-0001,1.06\n");
    EXPECT_EQ(testsupport::MemoryOf(first.root()).at(6), 1);  // next runs on first's root
    ASSERT_TRUE(next.WaitForOutput("GuiThread: system ready", testsupport::kStartupTimeoutMs)) << next.Output();
    EXPECT_FALSE(ReportsPresetError(next)) << next.Output();
    EXPECT_EQ(next.Stop(SIGTERM), 0) << next.Output();

    // A start on a memory whose block 0 and its file copy were damaged runs on the defaults of no model
    // type, but its saves leave the memory as it was: the identity, the settings blocks, the preset backups
    // and the configuration text (its host name included) stay there for the mended unit.
    constexpr size_t kTextAt = 768, kEnd = 53248 + 3 * 8192;  // block 0 to the last preset backup
    std::vector<uint8_t> saved = testsupport::MemoryOf(first.root());
    ASSERT_EQ(saved.size(), 131072u);
    const std::string text(saved.begin() + kTextAt, saved.begin() + kTextAt + 3072);
    ASSERT_NE(text.find("\nHOSTNAME=V-N-SIM-0001\n"), std::string::npos) << text;
    saved[8] ^= 0x01;  // the serial number's first character
    PutMemory(first.root(), saved);
    const std::string copy = first.root() + "/mnt/tst/Special/SpecialData";
    ASSERT_EQ(testsupport::FileBytes(copy).size(), 512u);
    ASSERT_EQ(unlink(copy.c_str()), 0);  // nothing to mend block 0 from
    ControllerProcess damaged({"--root", first.root()});
    ASSERT_NO_FATAL_FAILURE(SaveAndKill(damaged, first.root()));
    EXPECT_NE(
        damaged.Output().find("identity and power-on settings reset: stored block damaged, no model type\n"),
        std::string::npos)
        << damaged.Output();
    const std::vector<uint8_t> after = testsupport::MemoryOf(first.root());
    ASSERT_EQ(after.size(), saved.size());
    for (const auto& [from, to, what] : {std::tuple<size_t, size_t, const char*>{0, 512, "block 0"},
                                         {kTextAt, kTextAt + 3072, "configuration text"},
                                         {4096, 4096 + 3 * 8192, "3P4W settings blocks"},
                                         {53248, kEnd, "preset backups"}})
        EXPECT_TRUE(std::equal(saved.begin() + from, saved.begin() + to, after.begin() + from))
            << what << " written over";
}

}  // namespace
