// A stop of the program is the unit's power switch: what the user set and stored comes back at the next
// start, and a stop during the start-up self-test ends it at once.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/params/waves/arb_builtin.h"
#include "storage/data_file_frame.h"
#include "tests/support/controller_process.h"
#include "tests/support/tcp_client.h"

namespace {

using testsupport::ControllerProcess;
constexpr int kScpiPort = 5025;

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// Sends each command in turn on one connection and returns the answer to the last (a query): the
// commands before it have run once it answers.
std::string Ask(ControllerProcess& c, const std::vector<std::string>& commands) {
    if (!c.WaitForOutput("LAN: SCPI socket listening", testsupport::kStartupTimeoutMs))
        return "not listening:\n" + c.Output();
    testsupport::TcpClient t(kScpiPort + c.portOffset());
    for (const std::string& command : commands)
        t.Send(command + "\n");
    return t.ReadLine();
}

// The stored little-endian sum of bytes 4..used of the block at offset matches and is not 0.
bool BlockSealed(const std::vector<uint8_t>& m, size_t offset, size_t used) {
    if (m.size() < offset + used) return false;
    uint32_t sum = 0;
    for (size_t i = offset + 4; i < offset + used; ++i)
        sum += m[i];
    uint32_t stored = m[offset] | m[offset + 1] << 8 | m[offset + 2] << 16 | uint32_t{m[offset + 3]} << 24;
    return stored != 0 && stored == sum;
}

TEST(StopSave, SigtermAndSigintKeepTheSettingsAndThePresets) {
    ControllerProcess first;
    EXPECT_EQ(Ask(first, {"VOLT 123.4", "*SAV 3", "VOLT 50", "VOLT?"}), "+50.0000\n");
    ASSERT_EQ(first.Stop(SIGTERM), 0) << first.Output();
    EXPECT_NE(first.Output().find("MenuThread: settings saved for the stop"), std::string::npos)
        << first.Output();

    ControllerProcess second({"--root", first.root()});
    EXPECT_EQ(Ask(second, {"VOLT?"}), "+50.0000\n") << second.Output();
    EXPECT_EQ(Ask(second, {"*RCL 3", "VOLT?"}), "+123.4000\n") << second.Output();
    EXPECT_EQ(second.Output().find("popup:"), std::string::npos) << second.Output();
    EXPECT_EQ(Ask(second, {"VOLT 60", "VOLT?"}), "+60.0000\n");
    ASSERT_EQ(second.Stop(SIGINT), 0) << second.Output();
    EXPECT_NE(second.Output().find("vrn-controller: stopped by SIGINT"), std::string::npos) << second.Output();

    ControllerProcess third({"--root", first.root()});
    EXPECT_EQ(Ask(third, {"VOLT?"}), "+60.0000\n") << third.Output();
    EXPECT_EQ(third.Stop(SIGTERM), 0) << third.Output();
}

// The rounds of the self-test watch for the stop: the program ends within a round, and nothing was
// saved (a new root's memory is not even made).
TEST(StopSave, AStopDuringTheSelfTestEndsTheStartAndSavesNothing) {
    ControllerProcess c;
    ASSERT_TRUE(c.WaitForOutput("FW Startup: Pass", testsupport::kStartupTimeoutMs)) << c.Output();
    // The self-test would go on for some fourteen seconds.
    EXPECT_EQ(c.Stop(SIGTERM, 5000), 0) << c.Output();
    EXPECT_NE(c.Output().find("vrn-controller: stopped by SIGTERM during the start-up"), std::string::npos)
        << c.Output();
    EXPECT_EQ(c.Output().find("HW Module Startup"), std::string::npos) << c.Output();
    EXPECT_EQ(c.Output().find("settings saved"), std::string::npos) << c.Output();
    EXPECT_FALSE(std::filesystem::exists(c.root() + "/dev/spidev1.0"));
}

}  // namespace
