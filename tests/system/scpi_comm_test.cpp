// The SYSTem:COMMunicate commands over the LAN socket of a controller on a fresh root (model type 1, DHCP on,
// RS232 9600 8N1, no interface card): each line sends one program message and names its reply line and then
// the error queue's first entry. A set form only stages its value for the next start.
#include <gtest/gtest.h>

#include <signal.h>

#include "tests/support/controller_process.h"
#include "tests/system/scpi_socket_suite.h"

namespace {

using namespace testsupport;

class ScpiComm : public ScpiSocketSuite {};

const std::string kInvalidString = "-151,\"Invalid string data\"";

TEST_F(ScpiComm, LanAndUsb) {
    // clang-format off
    const ScpiStep steps[] = {
        {"SYST:COMM:LAN:DHCP?", "+1", kNoError}, {"SYST:COMM:LAN:DHCP ON", nullptr, kNoError},
        {"SYST:COMM:LAN:IPAD \"192.168.1.300\"", nullptr, kInvalidString},
        {"SYST:COMM:LAN:SMAS \"255.255.255\"", nullptr, kInvalidString},
        {"SYST:COMM:LAN:GAT \"10.0.0.1\"", nullptr, kNoError},
        {"SYST:COMM:LAN:MAC?", "02-56-52-4E-10-60", kNoError},
        {"SYST:COMM:LAN:HOST \"x\"", nullptr, kUndefined}, {"SYST:COMM:TCP:CONT 5026", nullptr, kUndefined},
        {"SYST:COMM:LAN:WEB:PASS 12345", nullptr, kRange}, {"SYST:COMM:LAN:WEB:PASS -1", nullptr, kRange},
        {"SYST:COMM:LAN:WEB:PACT 1", nullptr, kNoError},
        {"SYST:COMM:USB:REAR:MODE AUTO", nullptr, kRange}, {"SYST:COMM:USB:REAR:MODE FULL", nullptr, kNoError},
        {"SYST:COMM:USB:FRON:STAT?", "+0", kNoError},
    };
    // clang-format on
    Run(steps);
}

TEST_F(ScpiComm, RemoteState) {
    // clang-format off
    const ScpiStep steps[] = {
        {"SYST:COMM:RLST LOC;RLST?", "LOC", kNoError}, {"SYST:COMM:RLST RWL;RLST?", "RWL", kNoError},
        {"SYST:COMM:RLST REM;RLST?", "REM", kNoError},
    };
    // clang-format on
    Run(steps);
}

TEST_F(ScpiComm, SerialLine) {
    // clang-format off
    const ScpiStep steps[] = {
        {"SYST:COMM:SER:TRAN:BAUD?", "9600", kNoError}, {"SYST:COMM:SER:TRAN:BAUD 300", nullptr, kParamError},
        {"SYST:COMM:SER:TRAN:BITS 2", nullptr, kRange}, {"SYST:COMM:SER:TRAN:BITS -1", nullptr, kRange},
        {"SYST:COMM:SER:TRAN:SBIT -1", nullptr, kRange},
        {"SYST:COMM:SER:TRAN:PAR?", "+0", kNoError},
        {"SYST:COMM:SER:TRAN:BAUD 19200", nullptr, kNoError}, {"SYST:COMM:SER:TRAN:BAUD?", "9600", kNoError},
    };
    // clang-format on
    Run(steps);
}

TEST_F(ScpiComm, ParallelSlaveKeepsTheLanButNotTheWebPassword) {
    // clang-format off
    const ScpiStep steps[] = {
        {"PAR:POS SLAV;POS?", "Slave", kNoError},
        {"SYST:COMM:LAN:DNS \"172.16.1.9\"", nullptr, kSystemError},
        {"SYST:COMM:SER:TRAN:BITS 0", nullptr, kSystemError},
        {"SYST:COMM:LAN:WEB:PASS 1234", nullptr, kNoError},
        {"PAR:POS MAST;POS?", "Master", kNoError},
    };
    // clang-format on
    Run(steps);
}

}  // namespace

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
