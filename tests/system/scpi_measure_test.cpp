// The measurement commands over the LAN socket of a controller on a fresh root (3P4W, ACDC-INT, 100 V
// range): each row sends one program message and names its reply line and the error queue's first entry.
// Then 10 ohm on every phase (the panel channel's load) with 100 V on L1 switched on by the trigger
// action, read live, from the snapshot and as the READ? array.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "tests/system/scpi_socket_suite.h"

namespace {

using namespace testsupport;

const std::string kStale = "-230,\"Data corrupt or stale\"";

std::vector<std::string> Split(const std::string& line, char separator = ',') {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t at; (at = line.find(separator, start)) != std::string::npos; start = at + 1)
        out.push_back(line.substr(start, at - start));
    out.push_back(line.substr(start));
    return out;
}

const std::regex kValue(R"([+-]\d+\.\d{4})");

// Which fields of a READ? group read "Invalid", as a string of 18 '0'/'1'; '?' for a malformed field.
std::string InvalidPattern(const std::vector<std::string>& fields, int group) {
    std::string s;
    for (size_t k = 0; k < 18; ++k) {
        const std::string& f = fields[static_cast<size_t>(group) * 18 + k];
        s += f == "Invalid" ? '1' : std::regex_match(f, kValue) ? '0' : '?';
    }
    return s;
}

// A reading within 0.5 % in "%+.4f" shape.
::testing::AssertionResult Near(const std::string& reply, double expect) {
    if (!std::regex_match(reply, kValue) ||
        std::fabs(std::strtod(reply.c_str(), nullptr) - expect) > expect * 0.005)
        return ::testing::AssertionFailure() << reply;
    return ::testing::AssertionSuccess();
}

class ScpiMeasure : public ScpiSocketSuite {
  protected:
    static void SetUpTestSuite() {
        ScpiSocketSuite::SetUpTestSuite();
        ASSERT_TRUE(c().WaitForOutput("panel channel:", kStartupTimeoutMs));
        // The output switches on only once the system is ready (the control task runs).
        ASSERT_TRUE(c().WaitForOutput("GuiThread: system ready", kStartupTimeoutMs));
    }
};

// First in the suite: FETCh has no snapshot before the first MEASure. READ? with the output off: 54
// fields, the THD and frequency fields Invalid in ACDC-INT.
TEST_F(ScpiMeasure, SettingsAndReadArrayOnAFreshRoot) {
    const ScpiStep steps[] = {
        {"FETC:VOLT?", nullptr, kStale},
        // A harmonic list is a MEASure query too: it leaves a snapshot behind.
        {"MEAS:VOLT:HARM? 0;:FETC:VOLT?", "0.0000;+0.0000", kNoError},
        {"MEAS:AVER:COUN?", "+8", kNoError},
        {"MEAS:AVER:COUN 200", nullptr, kRange},
        {"MEAS:UPD:RATE?", "Fast", kNoError},
        {"MEAS:UPD:RATE 2;RATE?", "+2.0000", kNoError},
        {"MEAS:UPD:RATE 0.3", nullptr, kParamError},
        {"MEAS:UPD:RATE 25", nullptr, kRange},
        {"MEAS:UPD:RATE FAST;RATE?", "Fast", kNoError},
        {"MEAS:PEAK:CLE TOT", nullptr, kRange},
        {"MEAS:PEAK:CLE -1", nullptr, kRange},
        {"MEAS:CURR:HARM:ENAB ON", nullptr, kUndefined},
        {"MEAS:CONF:SENS ON", nullptr, kExecution},  // not in ACDC-INT
        {"READ", nullptr, kUndefined},
    };
    Run(steps);
    EXPECT_EQ(Split(Ask("MEAS:VOLT:HARM? 2")).size(), 20u);
    const std::vector<std::string> fields = Split(Ask("READ?"));
    ASSERT_EQ(fields.size(), 54u);
    for (int group = 0; group < 3; ++group)
        EXPECT_EQ(InvalidPattern(fields, group), "000000000000000111") << group;
}

TEST_F(ScpiMeasure, LoadedOutputLiveFromTheSnapshotAndAsArray) {
    ASSERT_TRUE(Panel("load 10"));
    // Balance sets the voltage of all three lines; the balance change rewrites the phases at the control
    // task's next pass, which the command's completion waits for, so the voltage set after it stays.
    ASSERT_EQ(Ask("PHAS:MODE BAL;:VOLT 100;:OUTP:TRIG ON;:INIT:NAME OUTP;*TRG;*OPC?"), "1");
    // The readings follow within a few passes; the display copy the queries read takes one word group per
    // main pass, so the quantities may arrive a few passes apart: wait for all of them (bounded).
    const double expect[] = {100.0, 10.0, 1000.0, 3000.0, 173.2, 10.0};
    const auto allNear = [&](const std::vector<std::string>& got) {
        if (got.size() != std::size(expect)) return false;
        for (size_t i = 0; i < got.size(); ++i)
            if (!Near(got[i], expect[i])) return false;
        return true;
    };
    std::vector<std::string> live;
    for (int i = 0; i < 300; ++i) {
        live = Split(Ask("MEAS:VOLT?;CURR?;POW?;POW:TOT?;:MEAS:LINE:VOLT?;:FETC:CURR?"), ';');
        if (allNear(live)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_EQ(live.size(), std::size(expect));
    for (size_t i = 0; i < live.size(); ++i)
        EXPECT_TRUE(Near(live[i], expect[i])) << i;
    const std::vector<std::string> fields = Split(Ask("READ?"));
    ASSERT_EQ(fields.size(), 54u);
    EXPECT_EQ(InvalidPattern(fields, 0), "000000000000000111");
    EXPECT_TRUE(Near(fields[0], 100.0) && Near(fields[5], 10.0) && Near(fields[10], 1000.0));
    EXPECT_EQ(Ask("SYST:ERR?"), kNoError);
}

}  // namespace
