// The common and voltage/frequency commands over the LAN socket of a controller on a fresh root: each line
// sends one program message and names the reply line and then the error queue's first entry. Last, the
// harmonics of the waveform played and the synchronised output on a signal the panel channel puts at the
// stage's input. (The trigger-action commands' table: the SCPI unit program.)
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "tests/system/scpi_socket_suite.h"

namespace {

using namespace testsupport;

class ScpiHandlers : public ScpiSocketSuite {
  protected:
    // What the simulated stage answers for register reg now: the value it took at its last apply ("" when
    // it gives no answer within the bound).
    static std::string StageApplied(int reg) {
        const std::string head = "reg " + std::to_string(reg) + " = ";
        const size_t before = CountOf(c().Output(), head);
        if (!Panel("reg " + std::to_string(reg))) return "";
        for (int waited = 0; waited < 5000; waited += 2) {
            const std::string out = c().Output();
            if (CountOf(out, head) > before) {
                const size_t at = out.rfind(head) + head.size();
                return out.substr(at, out.find(" written", at) - at);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return "";
    }
};

TEST_F(ScpiHandlers, CommonCommands) {
    const ScpiStep steps[] = {
        {"*TST?", "0", kNoError},
        {"*RST?", "", kUndefined},
        {"*SRE 32;*SRE?", "+32", kNoError},
        {"*SRE 256", nullptr, kRange},
        {"*SRE?", "+32", kNoError},
        {"*SRE 0;*WAI;*OPC?", "1", kNoError},
        {"*ESE 4;*RST;*OPC?;*ESE?", "1;+4", kNoError},
        {"*CAL?", "", kUndefined},  // the tree has no query form
        {"*CAL", nullptr, kUndefined},
        {"*CLS;*RCL 10", nullptr, kRange},
        {"*ESR?", "+16", kNoError},
        {"*RCL 1.5", nullptr, "-220,\"Parameter error\""},
        {"*SAV -1", nullptr, kRange}, {"*SAV 0", nullptr, kNoError},
        {"VOLT 123.4;*SAV 3;VOLT 50;*RCL 3;VOLT?", "+123.4000", kNoError},
        {"VOLT 77;:MEM:SAV MAX;:VOLT 1;:MEM:RCL 9;:VOLT?", "+77.0000", kNoError},
    };
    Run(steps);
}

TEST_F(ScpiHandlers, VoltageAndFrequency) {
    const ScpiStep steps[] = {
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

// "Complete" means the stage has the setting: right after *OPC? answers, after *WAI and once *OPC has set its
// bit, the stage plays the voltage just set.
TEST_F(ScpiHandlers, CompleteMeansTheStageHasTheSetting) {
    ASSERT_EQ(Ask("*CLS;OUTP OFF;:MODE AC-INT;:VOLT:RANG 200;*OPC?"), "1");
    for (int v = 101; v <= 120; ++v) {
        const std::string volts = std::to_string(v);
        ASSERT_EQ(Ask("VOLT " + volts + ";*OPC?"), "1");
        EXPECT_EQ(StageApplied(2384), volts) << "*OPC?";
    }
    for (int v = 121; v <= 140; ++v) {
        const std::string volts = std::to_string(v);
        ASSERT_EQ(Ask("VOLT " + volts + ";*WAI;:VOLT?"), "+" + volts + ".0000");
        EXPECT_EQ(StageApplied(2384), volts) << "*WAI";
    }
    for (int v = 141; v <= 160; ++v) {
        const std::string volts = std::to_string(v);
        ASSERT_EQ(EsrUntilOperationComplete(std::atoi(Ask("VOLT " + volts + ";*OPC;*ESR?").c_str())), 1);
        EXPECT_EQ(StageApplied(2384), volts) << "*OPC";
    }
    // An *OPC that *CLS cancelled sets nothing later; one with nothing pending sets its bit at once.
    ASSERT_EQ(Ask("VOLT 0;*OPC;*CLS;*OPC?;*ESR?"), "1;+0");
    EXPECT_EQ(Ask("*OPC;*ESR?"), "+1");
    EXPECT_EQ(Ask("SYST:ERR?"), kNoError);
}

// The waveform the simulated stage plays shows in the harmonics of its capture. (The trigger action that
// switches the output on, and the readings that follow it: ScpiSystemIface and ScpiSystem.)
TEST_F(ScpiHandlers, HarmonicsOfTheWaveformPlayed) {
    // A square wave in AC-INT: the analysis of the stage's capture gives the odd orders at 1/k.
    // The voltage is set in the same message as the waveform change that brings the square's own voltage.
    EXPECT_EQ(Ask("OUTP OFF;:MODE AC-INT;:FUNC SQU;:VOLT 100;*OPC?"), "1");
    EXPECT_EQ(Ask("VOLT?"), "+100.0000");
    EXPECT_EQ(Ask("OUTP ON;*OPC?"), "1");
    double pct[5] = {};
    for (int i = 0; i < 100 && !(pct[2] > 30.0); ++i) {  // a capture every 400 ms once the output is on
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::istringstream orders(Ask("MEAS:VOLT:HARM:RAT? 1"));
        for (double& v : pct) {
            std::string field;
            std::getline(orders, field, ',');
            v = std::atof(field.c_str());
        }
    }
    EXPECT_NEAR(pct[0], 100.0, 0.01);
    EXPECT_NEAR(pct[2], 100.0 / 3, 0.05) << "3rd";
    EXPECT_NEAR(pct[4], 20.0, 0.05) << "5th";
    EXPECT_NEAR(pct[1], 0.0, 0.01) << "2nd";
    // The frequency reads what the output plays, in AC-INT too: 50 Hz, then 60 Hz once set (the meter
    // follows within a few passes).
    for (const double hz : {50.0, 60.0}) {
        if (hz == 60.0) {
            EXPECT_EQ(Ask("FREQ 60;*OPC?"), "1");
        }
        double got = 0.0;
        for (int i = 0; i < 100 && std::fabs(got - hz) > 0.1; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            got = std::atof(Ask("MEAS:FREQ?").c_str());
        }
        EXPECT_NEAR(got, hz, 0.1);
    }
    EXPECT_EQ(Ask("OUTP OFF;*RST;*OPC?"), "1");
}

// AC-SYNC on the external signal: without a signal at the synchronisation input the output stays off;
// with one, the meter reads its frequency and the output switches on. *OPC? after the change to the
// external signal waits for the meter's first reading of it.
TEST_F(ScpiHandlers, SynchronisedOutputOnTheExternalSignal) {
    const ScpiStep steps[] = {
        // No synchronisation signal: the output-on is refused, and said why.
        {"MODE AC-SYNC;:INP:SYNC:SOUR EXT;:OUTP ON", nullptr, "-200,\"Execution error;No sync signal\""},
        {"OUTP?;:MEAS:FREQ?", "+0;+0.0000", kNoError},
    };
    Run(steps);
    ASSERT_TRUE(Panel("syncin 50"));
    std::string hz;
    for (int i = 0; i < 100 && hz != "+50.0000"; ++i) {  // the meter follows within a few passes
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        hz = Ask("MEAS:FREQ?");
    }
    EXPECT_EQ(hz, "+50.0000");
    EXPECT_EQ(Ask("OUTP ON;*OPC?;:OUTP?;:FETC:FREQ?"), "1;+1;+50.0000");
    EXPECT_EQ(Ask("SYST:ERR?"), kNoError);
    // After *RST, AC-SYNC follows the L1 line again (output off: no reading) until it is told the external
    // signal, as after a start.
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(Ask("OUTP OFF;*RST;*OPC?"), "1");
        ASSERT_EQ(Ask("MODE AC-SYNC;:INP:SYNC:SOUR EXT;*OPC?"), "1");
        Send("OUTP ON");
        EXPECT_EQ(Ask("SYST:ERR?"), kNoError) << round;
        EXPECT_EQ(Ask("OUTP?"), "+1") << round;
        hz.clear();
        for (int i = 0; i < 100 && hz != "+50.0000"; ++i) {  // the readings shown follow the meter's period
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            hz = Ask("MEAS:FREQ?");
        }
        EXPECT_EQ(hz, "+50.0000") << round;
    }
    EXPECT_TRUE(Panel("syncin 0"));
    EXPECT_EQ(Ask("OUTP OFF;*RST;*OPC?"), "1");
}

}  // namespace
