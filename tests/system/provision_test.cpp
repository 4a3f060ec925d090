// A new root is a unit as the factory leaves it; the save before a restart survives a killed program, and
// the preset backups it wrote load at the next start without a report, as the new unit's own do.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/controller_process.h"
#include "tests/support/tcp_client.h"

namespace {

using testsupport::ControllerProcess;
constexpr int kScpiPort = 5025;

std::string Idn(ControllerProcess& c) {
    if (!c.WaitForOutput("LAN: SCPI socket listening", testsupport::kStartupTimeoutMs))
        return "not listening:\n" + c.Output();
    testsupport::TcpClient t(kScpiPort + c.portOffset());
    t.Send("*IDN?\n");
    return t.ReadLine();
}

TEST(Provision, FirstStartWritesTheFactoryIdentity) {
    const struct {
        std::vector<std::string> args;
        int model;  // -1: no model type given
        const char* idn;
    } cases[] = {
        {{}, 1, "QX-ORVANE,VRN-4145,VRN-SIM-0001,1.06\n"},
        {{"--model", "3"}, 3, nullptr},
        {{"--model", "0"}, -1, "QX-ORVANE,VRN,,1.06\n"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.model);
        ControllerProcess c(k.args);
        ASSERT_TRUE(c.WaitForOutput("GuiThread: system ready", testsupport::kStartupTimeoutMs)) << c.Output();
        if (k.idn != nullptr) {
            EXPECT_EQ(Idn(c), k.idn);
        }
        const std::vector<uint8_t> m = testsupport::MemoryOf(c.root());
        ASSERT_EQ(m.size(), 131072u);
        if (k.model < 0) {
            // No model type: block 0 is still erased, or holds model 0 once the start's backup ran.
            EXPECT_TRUE(!testsupport::BlockSealed(m, 0, 132) || m[6] == 0);
        } else {
            EXPECT_TRUE(testsupport::BlockSealed(m, 0, 132));
            EXPECT_EQ(m[6], k.model);
            EXPECT_EQ(m[7], 0);
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(&m[8])), "VRN-SIM-0001");
        }
        EXPECT_EQ(c.Stop(SIGTERM), 0) << c.Output();
        // The factory contents hold every picture the brand copy takes: a new root starts without a
        // failed copy.
        EXPECT_EQ(c.Output().find("cannot stat"), std::string::npos) << c.Output();
        EXPECT_FALSE(testsupport::FileBytes(c.root() + "/mnt/disk/httpd/images/sample.png").empty());
    }
}

bool ReportsPresetError(const ControllerProcess& c) {
    return c.Output().find("popup: Preset Data Error") != std::string::npos;
}

// The save path (restart pending, no reboot) keeps the 3P4W blocks sealed; a killed program's successor
// on the same root keeps its identity (a later --model changes nothing).
TEST(Provision, SaveBeforeRestartSurvivesAKill) {
    ControllerProcess first;
    ASSERT_TRUE(first.WaitForOutput("panel channel:", testsupport::kStartupTimeoutMs)) << first.Output();
    ASSERT_TRUE(first.WaitForOutput("GuiThread: system ready")) << first.Output();
    EXPECT_FALSE(ReportsPresetError(first)) << first.Output();
    ASSERT_TRUE(testsupport::PanelLine(first.root(), "restart"));
    ASSERT_TRUE(first.WaitForOutput("settings saved for the restart")) << first.Output();
    ASSERT_EQ(first.Stop(SIGKILL), 128 + SIGKILL);
    const std::vector<uint8_t> m = testsupport::MemoryOf(first.root());
    for (size_t offset : {4096u, 12288u, 20480u})
        EXPECT_TRUE(testsupport::BlockSealed(m, offset, 8192)) << offset;

    ControllerProcess next({"--root", first.root(), "--model", "5"});
    EXPECT_EQ(Idn(next), "QX-ORVANE,VRN-4145,VRN-SIM-0001,1.06\n");
    EXPECT_EQ(testsupport::MemoryOf(first.root()).at(6), 1);  // next runs on first's root
    ASSERT_TRUE(next.WaitForOutput("GuiThread: system ready", testsupport::kStartupTimeoutMs)) << next.Output();
    EXPECT_FALSE(ReportsPresetError(next)) << next.Output();
    EXPECT_EQ(next.Stop(SIGTERM), 0) << next.Output();
}

}  // namespace
