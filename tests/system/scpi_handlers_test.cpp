// The common, STATus, trigger-action and voltage/frequency commands over the LAN socket of a controller on
// a fresh root: each line sends one program message and names the reply line and then the error queue's
// first entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "tests/support/tcp_client.h"
#include "tests/system/controller_fixture.h"

namespace {

using testsupport::TcpClient;

constexpr int kScpiPort = 5025;
const std::string kNoError = "+0,\"No error\"";
const std::string kRange = "-222,\"Data out of range\"";
const std::string kUndefined = "-113,\"Undefined header\"";
const std::string kTrigIgnored = "-211,\"Trigger ignored\"";

struct Step {
    const char* send;   // a program message
    const char* reply;  // its reply line without the line feed (nullptr: it has none)
    std::string error;  // SYST:ERR? right after it
};

class ScpiHandlers : public testsupport::SharedController {
  protected:
    static void SetUpTestSuite() {
        SharedController::SetUpTestSuite();
        ASSERT_TRUE(c().WaitForOutput("LAN: SCPI socket listening on port " + std::to_string(Port(kScpiPort)),
                                      testsupport::kStartupTimeoutMs));
        client_ = std::make_unique<TcpClient>(Port(kScpiPort));
    }
    static void TearDownTestSuite() {
        client_.reset();
        SharedController::TearDownTestSuite();
    }
    static std::string Ask(const std::string& message) {
        client_->Send(message + "\n");
        std::string line = client_->ReadLine(15000);
        if (!line.empty() && line.back() == '\n') line.pop_back();
        return line;
    }
    template <size_t N>
    void Run(const Step (&steps)[N]) {
        ASSERT_EQ(Ask("*CLS;*OPC?"), "1");
        for (const Step& s : steps) {
            if (s.reply != nullptr) {
                EXPECT_EQ(Ask(s.send), s.reply) << s.send;
            } else {
                client_->Send(std::string(s.send) + "\n");
            }
            EXPECT_EQ(Ask("SYST:ERR?"), s.error) << s.send;
        }
    }
    static inline std::unique_ptr<TcpClient> client_;
};

TEST_F(ScpiHandlers, CommonCommands) {
    const Step steps[] = {
        {"*TST?", "0", kNoError},
        {"*RST?", nullptr, kUndefined},
        {"*SRE 32;*SRE?", "+32", kNoError},
        {"*SRE 256", nullptr, kRange},
        {"*SRE?", "+32", kNoError},
        {"*SRE ON", nullptr, "-148,\"Character data not allowed\""},
        {"*SRE 0;*WAI;*OPC?", "1", kNoError},
        {"*ESE 4;*RST;*OPC?;*ESE?", "1;+4", kNoError},
        {"*CAL?", nullptr, kUndefined},  // the tree has no query form
        {"*CAL", nullptr, kUndefined},
        {"*CLS;*RCL 10", nullptr, kRange},
        {"*ESR?", "+16", kNoError},
        {"*RCL 1.5", nullptr, "-220,\"Parameter error\""},
        {"*SAV -1", nullptr, kRange},
        {"VOLT 123.4;*SAV 3;VOLT 50;*RCL 3;VOLT?", "+123.4000", kNoError},
        {"VOLT 77;:MEM:SAV MAX;:VOLT 1;:MEM:RCL 9;:VOLT?", "+77.0000", kNoError},
    };
    Run(steps);
}

TEST_F(ScpiHandlers, VoltageAndFrequency) {
    const Step steps[] = {
        {"VOLT 100;VOLT?", "+100.0000", kNoError},
        {"VOLT 100.0049;VOLT?", "+100.0000", kNoError},
        {"VOLT 100.005;VOLT?", "+100.0100", kNoError},
        {"VOLT 1000", nullptr, kRange},
        {"VOLT 1e12", nullptr, kRange},
        {"VOLT?", "+100.0100", kNoError},
        {"VOLT? MAX", "+175.0000", kNoError},
        {"VOLT MAX;VOLT?", "+175.0000", kNoError},
        {"VOLT? MIN", "+0.0000", kNoError},
        {"FREQ 60;FREQ?", "+60.0000", kNoError},
        {"*RST;*OPC?", "1", kNoError},
        {"VOLT?;FREQ?", "+0.0000;+50.0000", kNoError},
    };
    Run(steps);
}

TEST_F(ScpiHandlers, StatusGroups) {
    const Step steps[] = {
        {"STAT:OPER:ENAB 32768;ENAB?", "+0", kNoError},
        {"STAT:OPER:ENAB 65535;ENAB?", "+32767", kNoError},
        {"STAT:QUES:ENAB 1.5", nullptr, "-220,\"Parameter error\""},
        {"STAT:WARN:ENAB 65536", nullptr, kRange},
        {"STAT:LOCK:NTR 5;:STAT:PRES;:STAT:LOCK:PTR?;NTR?;ENAB?", "+32767;+0;+0", kNoError},
        {"STAT:OPER:COND", nullptr, kUndefined},
        {"STAT:QUES?;:STAT:QUES:COND?", "+0;+0", kNoError},
    };
    Run(steps);
}

TEST_F(ScpiHandlers, TriggerActions) {
    const Step steps[] = {
        {"*TRG", nullptr, kTrigIgnored},        {"INIT:NAME OUTP;*TRG", nullptr, kNoError},
        {"*TRG", nullptr, kTrigIgnored},        {"INIT:NAME OUTP;:ABOR;*TRG", nullptr, kTrigIgnored},
        {"INIT", nullptr, kUndefined},          {"MEM:TRIG MAX;TRIG?", "+9", kNoError},
        {"MEM:TRIG 10", nullptr, kRange},       {"MEM:TRIG -1", nullptr, kRange},
        {"MEM:TRIG?", "+9", kNoError},          {"MEM:TRIG? MAX", nullptr, "-108,\"Parameter not allowed\""},
        {"OUTP:TRIG ON;TRIG?", "+1", kNoError}, {"OUTP:TRIG 2", nullptr, kRange},
        {"OUTP:TRIG -1", nullptr, kRange},      {"OUTP:TRIG?", "+1", kNoError},
    };
    Run(steps);
}

// The OUTPut action armed on the bus switches the output on when *TRG fires it: the simulated stage then
// gives the set voltage, which MEASure reads (and FETCh reads from the snapshot it took).
TEST_F(ScpiHandlers, TriggeredOutputAndMeasurements) {
    const Step steps[] = {
        {"*RST;*OPC?", "1", kNoError},
        {"FETC:VOLT?", nullptr, "-230,\"Data corrupt or stale\""},
        {"MEAS:VOLT?;:FETC:VOLT?", "+0.0000;+0.0000", kNoError},
        {"VOLT 100;:OUTP:TRIG ON;:INIT:NAME OUTP;*TRG;*OPC?", "1", kNoError},
    };
    Run(steps);
    std::string volts;
    for (int i = 0; i < 100 && volts != "+100.0000"; ++i) {  // the measurement follows within a few passes
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        volts = Ask("MEAS:VOLT?");
    }
    EXPECT_EQ(volts, "+100.0000");
    EXPECT_EQ(Ask("FETC:VOLT?"), "+100.0000");
    const std::string group = Ask("MEAS:VOLT:HARM? 2");
    EXPECT_EQ(std::count(group.begin(), group.end(), ','), 19) << group;
    EXPECT_EQ(Ask("*RST;*OPC?"), "1");
}

}  // namespace
