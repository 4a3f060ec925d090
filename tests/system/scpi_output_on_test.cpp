// The output switched on by the trigger action on a controller just started on a fresh root, before its
// control task has left the start-up wait: nothing changes the mode first, so nothing gives the task
// time to get there.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "tests/system/scpi_socket_suite.h"

namespace {

using namespace testsupport;

class ScpiOutputOnNewRoot : public ScpiSocketSuite {};

TEST_F(ScpiOutputOnNewRoot, TriggeredOutputComesOnAndDrivesTheLoad) {
    // At once, while the controller is still starting.
    EXPECT_EQ(Ask("VOLT 100;:OUTP:TRIG ON;:INIT:NAME OUTP;*TRG;*OPC?"), "1");
    EXPECT_EQ(Ask("SYST:ERR?"), kNoError);
    ASSERT_TRUE(Panel("load 10"));
    // The display copy the queries read is refreshed a word group per main pass, so the current and the
    // voltage may arrive a few passes apart. Bounded generously: a loaded machine runs the passes late,
    // and the loop ends on the answers.
    std::string current, voltage;
    for (int i = 0; i < 300 && (current != "+10.0000" || voltage != "+100.0000"); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        current = Ask("MEAS:CURR?");
        voltage = Ask("MEAS:VOLT?");
    }
    EXPECT_EQ(current, "+10.0000") << c().Output();
    EXPECT_EQ(voltage, "+100.0000");
    EXPECT_EQ(Ask("FETC:CURR?"), "+10.0000");
    EXPECT_EQ(c().Output().find("request dropped"), std::string::npos) << c().Output();
}

}  // namespace
