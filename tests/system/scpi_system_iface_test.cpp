// The SYSTem barcode, beeper and interface commands over the LAN socket of a controller on a fresh root
// (model type 1, no interface card, a stand-alone master). Each test puts back what it changed.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "tests/system/scpi_socket_suite.h"

namespace {

using namespace testsupport;

const std::string kInvalidString = "-151,\"Invalid string data\"";

class ScpiSystemIface : public ScpiSocketSuite {};

// The code texts: the default of a slot, a text one character too long, and a full 16-character text read
// back whole and saved in the code file.
TEST_F(ScpiSystemIface, BarcodeCodes) {
    // The key thread loads the code table once the menu/control thread runs, after the socket listens.
    ASSERT_TRUE(c().WaitForOutput("GuiThread: system ready", kStartupTimeoutMs)) << c().Output();
    // clang-format off
    const ScpiStep steps[] = {
        {"SYST:BARC:MEM? RM0", "Recall M0", kNoError}, {"SYST:BARC:MEM? OFF", "Output OFF", kNoError},
        {"SYST:BARC:MEM RM3,\"ABCDEFGHIJKLMNOPQ\"", nullptr, kInvalidString},
        {"SYST:BARC:MEM RM3,\"\"", nullptr, kInvalidString},
        {"SYST:BARC:MEM? RM3", "Recall M3", kNoError},
        {"SYST:BARC:MEM RM3,\"ABCDEFGHIJKLMNOP\";MEM? RM3", "ABCDEFGHIJKLMNOP", kNoError},
        {"SYST:BARC:MEM? RM4", "Recall M4", kNoError},
    };
    // clang-format on
    Run(steps);
    std::ifstream in(c().root() + "/mnt/tst/Bar/Barcode.Bar", std::ios::binary);
    const std::string file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(file.find("ABCDEFGHIJKLMNOP"), std::string::npos);
    ASSERT_EQ(Ask("SYST:BARC:MEM RM3,\"Recall M3\";MEM? RM3"), "Recall M3");
}

// Without an interface card the GPIB and fieldbus commands refuse both forms; the interface states answer
// and cannot be set.
TEST_F(ScpiSystemIface, InterfacesWithoutCard) {
    // clang-format off
    const ScpiStep steps[] = {
        {"SYST:COMM:ENAB? USB", "+1", kNoError}, {"SYST:COMM:ENAB? GPIB", "+0", kNoError},
        {"SYST:COMM:ENAB ON,USB", nullptr, kUndefined},
        {"SYST:COMM:GPIB:ADDR?", nullptr, kExecution}, {"SYST:COMM:GPIB:SELF:ADDR 5", nullptr, kExecution},
        {"SYST:COMM:INT:ADDR?", nullptr, kExecution}, {"SYST:COMM:INT:ADDR 5", nullptr, kExecution},
        {"SYST:COMM:INT:BAUD?", nullptr, kExecution}, {"SYST:COMM:INT:BAUD AUTO", nullptr, kExecution},
    };
    // clang-format on
    Run(steps);
}

// The beeper: its range, and a parallel slave may read it but not change it.
TEST_F(ScpiSystemIface, BeeperAndParallelSlave) {
    // clang-format off
    const ScpiStep steps[] = {
        {"SYST:BEEP:STAT?", "+1", kNoError}, {"SYST:BEEP:STAT 2", nullptr, kRange},
        {"SYST:BEEP:STAT -1", nullptr, kRange}, {"SYST:BEEP:STAT OFF;STAT?", "+0", kNoError},
        {"SYST:BEEP:STAT 1", nullptr, kNoError},
        {"PAR:POS SLAV", nullptr, kNoError}, {"SYST:BEEP:STAT 0", nullptr, kSystemError},
        {"SYST:BEEP:STAT?", "+1", kNoError}, {"PAR:POS MAST;POS?", "Master", kNoError},
    };
    // clang-format on
    Run(steps);
}

}  // namespace
