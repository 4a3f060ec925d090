// The SYSTem configuration, lock and maintenance commands and the remote calibration over the LAN socket of
// a controller on a fresh root (model type 1, 3P4W, ACDC-INT, 100 V range, master). The tests run in order:
// the calibration needs the password (and saves its data on the simulated stage), and the reboot ends the
// suite.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>

#include "tests/system/scpi_socket_suite.h"

namespace {

using namespace testsupport;

const std::string kProtected = "-203,\"Command protected\"";

class ScpiSystem : public ScpiSocketSuite {
  protected:
    static std::string CommandLog() { return FileText(c().root() + "/var/log/commands.log"); }
};

TEST_F(ScpiSystem, ConfigurationLockAndHold) {
    // clang-format off
    const ScpiStep steps[] = {
        {"SYST:CONF?", "CONT", kNoError}, {"SYST:CONF:PHAS?", "3P4W", kNoError},
        {"SYST:CONF:EXT?", "+0", kNoError}, {"SYST:CONF:EXT 2", nullptr, kRange},
        {"SYST:CONF:MODE SIM", nullptr, kNoError}, {"SYST:CONF?", "SIM", kNoError},
        {"SYST:CONF:TRIG:OUTP:SOUR?", nullptr, kSystemError},
        {"SYST:CONF:MODE CONT;:SYST:CONF?", "CONT", kNoError},
        {"MODE AC-INT;:SYST:CONF:MODE SIM", nullptr, kSystemError},
        {"MODE ACDC-INT;:SYST:CONF:TRIG:OUTP:SOUR -1", nullptr, kRange},
        {"SYST:CONF:TRIG:OUTP:SOUR L3;SOUR?", "L3", kNoError}, {"SYST:CONF:TRIG:OUTP:SOUR L1", nullptr, kNoError},
        {"SYST:KLOC 2", nullptr, kRange}, {"SYST:KLOC -1", nullptr, kRange},
        {"SYST:KLOC ON;KLOC?", "+1", kNoError}, {"SYST:KLOC OFF;KLOC?", "+0", kNoError},
        {"SYST:PKH:TIME?", "+1", kNoError}, {"SYST:PKH:TIME 0", nullptr, kRange},
        {"SYST:PASS 1234", nullptr, kParamError}, {"SYST:ERR:ENAB?", nullptr, kUndefined},
        {"SYST:HOLD:STAT ON;STAT?", "+1", kNoError}, {"SYST:HOLD:STAT OFF;STAT?", "+0", kNoError},
        {"SYST:SCPI:DATA? ERR", "+0,\"No error\"", kNoError},
    };
    // clang-format on
    Run(steps);
    EXPECT_TRUE(c().WaitForOutput("popup: Meter Frozen")) << c().Output();
}

TEST_F(ScpiSystem, LogsErrorsAndInformation) {
    Send("SYST:KLOC 2");
    EXPECT_EQ(Ask("SYST:SCPI:DATA? ERR"), "-222,\"Data out of range\",\"SYST:KLOC 2\"");
    // Nothing came in on RS232: the text and the reply's own line feed.
    Send("SYST:SCPI:DATA? RS232");
    EXPECT_EQ(client_->ReadLine(15000), "No Command Record Data\n");
    EXPECT_EQ(client_->ReadLine(15000), "\n");
    const std::string info = Ask("SYST:INF?");
    EXPECT_TRUE(std::regex_match(info, std::regex(R"(QX-ORVANE,VRN-4145,[^,]*,1\.06,2024\.0823-0,0x[0-9a-f]+,)"
                                                  R"(H\d+ 0x[0-9a-f]+,[0-9a-f]+,20230316 10:32:51,0)")))
        << info;
    // clang-format off
    const ScpiStep steps[] = {
        {"SYST:INF", nullptr, kUndefined}, {"SYST:SCPI:DATA CLE", nullptr, kNoError},
        {"SYST:ERR:ENAB", nullptr, kNoError}, {"SYST:WREL", nullptr, kNoError},
    };
    // clang-format on
    Run(steps);
}

TEST_F(ScpiSystem, CalibrationNeedsThePassword) {
    // clang-format off
    const ScpiStep steps[] = {
        {"CAL:CONF:MODE VOLT", nullptr, kProtected}, {"CAL:VOLT:AVG 1", nullptr, kProtected},
        {"CAL:VOLT EXIT", nullptr, kProtected}, {"CAL:CONF:MODE?", nullptr, kUndefined},
        {"SYST:PASS 4145", nullptr, kNoError}, {"CAL:VOLT:AVG 1e12", nullptr, kRange},
        {"CAL:CONF:MODE VOLT", nullptr, kNoError}, {"CAL:VOLT EXIT", nullptr, kNoError},
        {"CAL:CONF:MODE SAVE", nullptr, kNoError},
        {"CAL:CONF:MODE 9", nullptr, kSystemError}, {"CAL:CONF:MODE EXIT", nullptr, kNoError},
    };
    // clang-format on
    Run(steps);
    // The stage answered the save: a stage that never answers leaves "Please try again..." instead.
    EXPECT_TRUE(c().WaitForOutput("popup: Save & Exit")) << c().Output();
}

TEST_F(ScpiSystem, RebootRefusesSetCommands) {
    // clang-format off
    const ScpiStep steps[] = {
        {"SYST:REB", nullptr, kNoError}, {"VOLT 10", nullptr, kSystemError}, {"SYST:CONF?", "CONT", kNoError},
    };
    // clang-format on
    Run(steps);
    bool rebooted = false;
    for (int i = 0; i < 100 && !rebooted; ++i) {
        rebooted = CommandLog().find("reboot") != std::string::npos;
        if (!rebooted) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(rebooted) << CommandLog();
}

}  // namespace
