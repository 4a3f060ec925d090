// The output a trigger action switches on at the start, the SCPI Error box over its screen (ROOT/dev/fb0),
// the barcode texts and their file, and an alarm injected through the panel channel in the QUEStionable
// registers, over the LAN socket of a controller on a fresh root (model type 1, no interface card, a
// stand-alone master). Each test puts back what it changed. (The interface, beeper, serial and remote-state
// tables: tests/scpi's CommStaging and FieldbusHandlers.)
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "tests/system/scpi_socket_suite.h"

namespace {

using namespace testsupport;

const std::string kInvalidString = "-151,\"Invalid string data\"";

class ScpiSystemIface : public ScpiSocketSuite {
  protected:
    // Asks STAT:QUES:COND? until it answers `want` (at most 3 s); the last answer.
    static std::string WaitForCondition(const std::string& want) {
        std::string got;
        for (int i = 0; i < 60 && got != want; ++i) {
            if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
            got = Ask("STAT:QUES:COND?");
        }
        return got;
    }
};

// First in the suite: the output switched on by the trigger action on a controller just started, before
// its control task has left the start-up wait (nothing changes the mode first, so nothing gives the task
// time to get there).
TEST_F(ScpiSystemIface, TriggeredOutputComesOnAndDrivesTheLoad) {
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
    ASSERT_EQ(Ask("OUTP OFF;:OUTP:TRIG OFF;*OPC?"), "1");
}

// An error left in the queue brings the box up, reading the queue empty takes it down.
TEST_F(ScpiSystemIface, AnErrorInTheQueueShowsTheBoxAndReadingItClearsIt) {
    // The box's bottom edge (y 206-209) lies over the home page's background between two meter rows: the
    // page is up once it shows there.
    constexpr uint16_t kBodyBackground = 0x2125;
    const std::string& root = c().root();
    ASSERT_TRUE(WaitFramebufferPixel(root, 300, 208, kBodyBackground, 10000));
    Send("FOO");
    // The box waits 30 main passes (about 0.25 s) before it shows; a loaded machine may take longer.
    EXPECT_TRUE(WaitFramebufferPixel(root, 280, 150, 0xF800, 10000)) << "red frame at (280,150)";
    EXPECT_EQ(FramebufferPixel(root, 300, 208), 0xF800) << "red frame at (300,208)";
    EXPECT_EQ(FramebufferPixel(root, 284, 154), 0x0000) << "black inside at (284,154)";
    EXPECT_EQ(Ask("SYST:ERR?"), kUndefined);
    EXPECT_TRUE(WaitFramebufferPixel(root, 300, 208, kBodyBackground, 10000))
        << "the box goes once the queue is read empty";
}

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
    EXPECT_NE(FileText(c().root() + "/mnt/tst/Bar/Barcode.Bar").find("ABCDEFGHIJKLMNOP"), std::string::npos);
    ASSERT_EQ(Ask("SYST:BARC:MEM RM3,\"Recall M3\";MEM? RM3"), "Recall M3");
}

// The condition follows an injected over-rms-current alarm; the event it latched outlasts it until it is
// read or *CLS clears it.
TEST_F(ScpiSystemIface, InjectedAlarmShowsInQuestionableConditionUntilCleared) {
    Ask("STAT:PRES;:STAT:QUES:EVEN?");  // every rising condition latches into the event
    EXPECT_EQ(WaitForCondition("+0"), "+0");
    for (const bool clear : {false, true}) {
        SCOPED_TRACE(clear ? "*CLS" : "no *CLS");
        ASSERT_TRUE(Panel("alarm 2087 2"));
        EXPECT_EQ(WaitForCondition("+2"), "+2");  // bit 1: over rms current
        // The output does not switch on over an alarm, and the refusal is reported.
        Send("OUTP ON");
        EXPECT_EQ(Ask("SYST:ERR?"), kExecution);
        EXPECT_EQ(Ask("OUTP?"), "+0");
        ASSERT_TRUE(Panel("alarm 2087 2 off"));
        EXPECT_EQ(WaitForCondition("+0"), "+0");
        if (clear) {
            EXPECT_EQ(Ask("*CLS;*OPC?"), "1");
        }
        EXPECT_EQ(Ask("STAT:QUES:EVEN?"), clear ? "+0" : "+2");
    }
}

}  // namespace
