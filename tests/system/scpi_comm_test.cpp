// The settings that take effect only at the next start, over the LAN socket: the SYSTem:COMMunicate
// settings a set form stages, and the factory's ZCALib commands, whose model type change runs the factory
// default and ends in a reboot, after which the program starts again on the same root. Before them, the AC
// voltage unit setting of a fresh root.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <thread>

#include "tests/support/controller_process.h"
#include "tests/support/tcp_client.h"

namespace {

std::string AskOn(testsupport::TcpClient& client, const std::string& message) {
    client.Send(message + "\n");
    std::string line = client.ReadLine(15000);
    if (line.empty() || line.back() != '\n') return "<no reply>" + line;
    line.pop_back();
    return line;
}

struct Step {
    const char* send;   // a program message without a reply, or nullptr
    const char* query;  // then this query
    std::string want;   // its reply, or the start of it when prefix is set
    bool prefix = false;
};

void RunSteps(testsupport::TcpClient& client, std::initializer_list<Step> steps) {
    for (const Step& s : steps) {
        if (s.send != nullptr) client.Send(std::string(s.send) + "\n");
        const std::string got = AskOn(client, s.query);
        EXPECT_TRUE(s.prefix ? got.rfind(s.want, 0) == 0 : got == s.want)
            << (s.send != nullptr ? s.send : "") << " " << s.query << ": " << got;
    }
}

const char* const kErr = "SYST:ERR?";
const std::string kNoError = "+0,\"No error\"", kUndefined = "-113,\"Undefined header\"",
                  kExecution = "-200,\"Execution error\"", kRange = "-222,\"Data out of range\"";

TEST(ScpiCommRestart, StagedSettingsAndTheFactorysModelTypeApplyAtTheNextStart) {
    testsupport::ControllerProcess first;
    ASSERT_TRUE(
        first.WaitForOutput("LAN: SCPI socket listening on port " + std::to_string(5025 + first.portOffset()),
                            testsupport::kStartupTimeoutMs))
        << first.Output();
    {
        testsupport::TcpClient client(5025 + first.portOffset());
        RunSteps(client, {
                             {nullptr, "SYST:ACV:UNIT?;:SYST:VUN?", "+0;+0"},
                             {"SYST:ACV:UNIT 2", kErr, kRange},
                             {"SYST:ACV:UNIT -1", kErr, kRange},
                             {nullptr, "SYST:CONF:MODE SEQ;:SYST:CONF?", "SEQ"},
                             {"SYST:ACV:UNIT VPP", kErr, kExecution},
                             {nullptr, "SYST:CONF:MODE CONT;:SYST:CONF?", "CONT"},
                             {nullptr, "SYST:VUN P-P;:SYST:ACV:UNIT?", "+1"},
                             {nullptr, "SYST:ACV:UNIT VRMS;UNIT?", "+0"},
                             // Staged: the values in force stay until the next start.
                             {"SYST:COMM:SER:TRAN:BAUD 19200;:SYST:COMM:LAN:DHCP OFF",
                              "SYST:COMM:SER:TRAN:BAUD?", "9600"},
                             {nullptr, "SYST:COMM:LAN:DHCP?", "+1"},
                             {"ZCAL:APAS \"kqv517\"", kErr, kNoError},
                             {"ZCAL:MAC \"00-22-24-AB-CD-EF\"", "SYST:COMM:LAN:MAC?", "00-22-24-AB-CD-EF"},
                             {nullptr, "ZCAL:PROG \"ABCDEFGHIJKLMNOPQRST\";*IDN?",
                              "QX-ORVANE,VRN-4145,ABCDEFGHIJKLMNO,1.06"},
                             {nullptr, "ZCAL:MFRS \"tulve\";*IDN?", "TULVE TECHNOLOGY,", true},
                             {nullptr, "ZCAL:MFRS:QX;*IDN?", "QX-ORVANE,", true},
                             {nullptr, "ZCAL:MTYP?", ""},  // refused, answered with an empty line
                             {nullptr, kErr, kUndefined},
                         });
        // The model type change ends in a reboot, which closes the connection, perhaps before a reply to a
        // query sent after it: the reboot and the next start show that it was taken.
        client.Send("ZCAL:MTYP \"4160\"\n");
    }
    const std::string log = first.root() + "/var/log/commands.log";
    EXPECT_NE(testsupport::FileText(log).find("ifconfig eth0 hw ether 00:22:24:AB:CD:EF"), std::string::npos);
    // The sandbox records the reboot once the restart save has run (bounded: the change resets every store,
    // seconds under a sanitizer on a busy machine).
    for (int i = 0; i < 600 && testsupport::FileText(log).find(" reboot\n") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_NE(testsupport::FileText(log).find(" reboot\n"), std::string::npos) << testsupport::FileText(log);
    // The program starts again in the same process, on the same root and ports.
    ASSERT_TRUE(testsupport::StartedAgain(first)) << first.Output();
    testsupport::TcpClient client(5025 + first.portOffset());
    RunSteps(client, {
                         {nullptr, "*IDN?", "QX-ORVANE,VRN-4160,ABCDEFGHIJKLMNO,1.06"},
                         {nullptr, "SYST:COMM:SER:TRAN:BAUD?", "19200"},
                         {nullptr, "SYST:COMM:LAN:DHCP?", "+0"},
                         {nullptr, "SYST:COMM:LAN:IPAD?", "172.16.28.120"},
                         {"ZCAL:PROG \"SN-2\"", kErr, kNoError},  // the factory access outlives the restart
                     });
    EXPECT_EQ(first.Stop(SIGTERM), 0) << first.Output();
}

}  // namespace
