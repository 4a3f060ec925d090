// The SYSTem:COMMunicate settings a set form only stages: they take effect at the next start.
#include <gtest/gtest.h>

#include <signal.h>

#include "tests/support/controller_process.h"
#include "tests/support/tcp_client.h"

namespace {

std::string AskOn(testsupport::TcpClient& client, const std::string& message) {
    client.Send(message + "\n");
    std::string line = client.ReadLine(15000);
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return line;
}

bool Listening(testsupport::ControllerProcess& p) {
    return p.WaitForOutput("LAN: SCPI socket listening on port " + std::to_string(5025 + p.portOffset()),
                           testsupport::kStartupTimeoutMs);
}

// Staged settings take effect only at the next start, from the configuration saved before the restart.
TEST(ScpiCommRestart, StagedSettingsApplyAtTheNextStart) {
    testsupport::ControllerProcess first;
    ASSERT_TRUE(Listening(first)) << first.Output();
    {
        testsupport::TcpClient client(5025 + first.portOffset());
        client.Send("SYST:COMM:SER:TRAN:BAUD 19200;:SYST:COMM:LAN:DHCP OFF\n");
        EXPECT_EQ(AskOn(client, "SYST:COMM:SER:TRAN:BAUD?"), "9600");
        EXPECT_EQ(AskOn(client, "SYST:COMM:LAN:DHCP?"), "+1");
        client.Send("SYST:REB\n");
        EXPECT_EQ(AskOn(client, "SYST:ERR?"), "+0,\"No error\"");
    }
    ASSERT_EQ(first.Stop(SIGTERM), 0) << first.Output();

    testsupport::ControllerProcess second({"--root", first.root()});
    ASSERT_TRUE(Listening(second)) << second.Output();
    testsupport::TcpClient client(5025 + second.portOffset());
    EXPECT_EQ(AskOn(client, "SYST:COMM:SER:TRAN:BAUD?"), "19200");
    EXPECT_EQ(AskOn(client, "SYST:COMM:LAN:DHCP?"), "+0");
    EXPECT_EQ(AskOn(client, "SYST:COMM:LAN:IPAD?"), "172.16.28.120");
}

}  // namespace
