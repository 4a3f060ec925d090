// The SIMulation, SEQuence editing and status commands and the TRIGger commands over the LAN socket of a
// controller on a fresh root (3P4W, ACDC-INT, 100 V range, output off).
// Each test leaves the controller in CONT mode with the output off.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "tests/system/scpi_socket_suite.h"

namespace {

using namespace testsupport;

const std::string kTriggerIgnored = "-211,\"Trigger ignored\"";
const std::string kNotAllowed = "-108,\"Parameter not allowed\"";
std::string RangeAt(const char* position) {
    return "-222,\"Data out of range;" + std::string(position) + "\"";
}

class ScpiSeqTrig : public ScpiSocketSuite {
  protected:
    // The menu/control thread switches the output a few passes after the command: bounded at 15 s.
    static void Output(const char* command, const std::string& state) {
        Send(command);
        std::string now;
        for (int i = 0; i < 300 && (now = Ask("OUTP?")) != state; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ASSERT_EQ(now, state) << command;
        ASSERT_EQ(Ask("SYST:ERR?"), kNoError) << command;
    }
    // A run action, then the condition query until it answers want (the runner thread polls the stage
    // every 2 ms): bounded at 5 s.
    static void RunAction(const char* command, const char* condition, const std::string& want) {
        Send(command);
        std::string now;
        for (int i = 0; i < 100 && (now = Ask(condition)) != want; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(now, want) << command;
        EXPECT_EQ(Ask("SYST:ERR?"), kNoError) << command;
    }
};

// First in the suite: no program has run yet.
TEST_F(ScpiSeqTrig, SimulationStateFieldsAndStatusByMode) {
    // clang-format off
    const ScpiStep steps[] = {
        {"SIM:COND?", nullptr, kSystemError}, {"SIM:CTIM?", "+0,+0,+0,+0", kNoError},
        {"SIM:INIT:VOLT 10", nullptr, kSystemError}, {"SIM:INST:SEL?", nullptr, kSystemError},
        {"SYST:CONF:MODE SEQ;:SIM:INIT:VOLT 10", nullptr, kSystemError},
        {"SIM:CST?", nullptr, kSystemError}, {"SYST:CONF:MODE SIM", nullptr, kNoError},
        {"SIM:NORM2:VOLT 100", nullptr, kUndefined}, {"SOUR:SIM:NORM2:FREQ?", nullptr, kUndefined},
        {"SIM:NORM1:VOLT 100;VOLT?", "+100.00", kNoError}, {"SIM:ABN:FREQ 55;FREQ?", "+55.00", kNoError},
        {"SOUR:SIM:ABN:VOLT 50.5;:SIM:ABN:VOLT?", "+50.50", kNoError},
        {"SIM:NORM1:TIME 1.5;TIME?", "+1.5000", kNoError}, {"SIM:TRAN1:TIME MIN;TIME?", "+0.0000", kNoError},
        {"SIM:INIT:FREQ 600;:SIM:INIT:PHAS:STAR 359.95", nullptr, kRange},
        {"SIM:INIT:PHAS:STOP MAX;STOP?", "+359.0", kNoError}, {"SIM:INIT:VOLT? MAX", "+175.00", kNoError},
        {"SIM:INIT:FREQ? MAX", "+2000.00", kNoError}, {"SIM:INIT:CODE 4", nullptr, kRange},
        {"SIM:INIT:CODE?", "+3", kNoError}, {"SIM:NORM1:TIME -1", nullptr, kRange},
        {"SIM:NORM1:TIME?", "+1.5000", kNoError}, {"SIM:ABN:PHAS:STAR:ENAB FIX;ENAB?", "+1", kNoError},
        {"SIM:REP:COUN MAX;COUN?", "+9999", kNoError}, {"SIM:INST:SEL?", "L1", kNoError},
        {"SIM:INST:SEL L2", nullptr, kUndefined}, {"SIM:COND?", "+0", kNoError}, {"SIM:CST?", "+5", kNoError},
        {"SIM:CREP:COUN?", "+5,-1", kNoError}, {"SIM:CTIM?", "+5,+0,+0,+0", kNoError},
        {"SYST:CONF:MODE CONT;:SYST:CONF?", "CONT", kNoError},
    };
    // clang-format on
    Run(steps);
}

// The command tree refuses these forms before a handler runs; a status command in set form reaches its
// handler, which refuses it.
TEST_F(ScpiSeqTrig, SimulationFormsRefusedFirstByTheTree) {
    // clang-format off
    const ScpiStep steps[] = {
        {"SYST:CONF:MODE SIM", nullptr, kNoError}, {"SIM:COND", nullptr, kUndefined},
        {"SIM:COND 1", nullptr, "-108,\"Parameter not allowed\""},
        {"SIM:REP:ENAB? MAX", nullptr, "-108,\"Parameter not allowed\""},
        {"SIM:NORM3:CODE?", nullptr, "-114,\"Header suffix out of range\""},
        {"SIM:INIT:VOLT ON", nullptr, "-224,\"Illegal parameter value\""},
        {"SYST:CONF:MODE CONT", nullptr, kNoError},
    };
    // clang-format on
    Run(steps);
}

TEST_F(ScpiSeqTrig, SequenceCommandsNeedTheSeqMode) {
    // clang-format off
    const ScpiStep steps[] = {
        {"SEQ:COND?", nullptr, kSystemError}, {"SEQ:STEP 1", nullptr, kSystemError},
        {"SOUR:SEQ:SPAR?", nullptr, kSystemError}, {"SEQ:CTIM?", "+0,+0,+0,+0", kNoError},
        {"SEQ:CTIM 1", nullptr, kNotAllowed}, {"SEQ:CST 1", nullptr, kNotAllowed},
    };
    const ScpiStep withOutputOn[] = {
        {"TRIG:SEQ:SEL:EXEC STAR", nullptr, kSystemError}, {"TRIG:SIM:SEL:EXEC HOLD", nullptr, kSystemError},
        {"TRIG:SEQ:SEL:EXEC STOP", nullptr, kNoError}, {"SYST:CONF:MODE?", "CONT", kNoError},
    };
    // clang-format on
    Run(steps);
    Output("OUTP ON", "+1");
    Run(withOutputOn);
    Output("OUTP OFF", "+0");
}

TEST_F(ScpiSeqTrig, TriggerSourcesAndSoftwareTriggers) {
    // clang-format off
    const ScpiStep steps[] = {
        {"TRIG:SOUR?;:TRIG:OUTP:SOUR?;:TRIG:MEM:SOUR?", "BUS;BUS;BUS", kNoError},
        {"TRIG:OUTP:SOUR TRI2;SOUR?", "TRI2", kNoError}, {"TRIG:MEM:SOUR IMM;SOUR?", "IMM", kNoError},
        {"TRIG:SOUR 2", nullptr, "-128,\"Numeric data not allowed\""},
        {"TRIG:SOUR TRI1;:TRIG", nullptr, kTriggerIgnored}, {"TRIG?", nullptr, kUndefined},
        {"TRIG:MEM:IMM?", nullptr, kUndefined}, {"TRIG:SOUR BUS;:TRIG:MEM:SOUR BUS", nullptr, kNoError},
        {"TRIG:OUTP:SOUR BUS;:OUTP:TRIG ON;:INIT:NAME OUTP", nullptr, kNoError},
    };
    const ScpiStep runControl[] = {
        {"TRIG:SEQ:SEL:EXEC 1", nullptr, kSystemError}, {"TRIG:SEQ:SEL:EXEC? STAR", nullptr, kUndefined},
        {"SYST:CONF:MODE SEQ;:TRIG:SEQ:SEL:EXEC STAR", nullptr, kExecution},
        {"SYST:CONF:MODE CONT;MODE?", "CONT", kNoError},
    };
    // clang-format on
    Run(steps);
    Output("TRIG:OUTP", "+1");
    Output("OUTP OFF", "+0");
    Run(runControl);
}

TEST_F(ScpiSeqTrig, StepEditing) {
    // clang-format off
    const ScpiStep steps[] = {
        {"SYST:CONF:MODE SEQ;:SEQ:STEP? MAX", "+999", kNoError}, {"SEQ:STEP? MIN;STEP?", "+0;+0", kNoError},
        {"SEQ:STEP 1000", nullptr, kRange}, {"SEQ:STEP -1", nullptr, kRange},
        {"SEQ:SPAR 100,KEEP,0,CONST,50,CONST,SIN,0", nullptr, RangeAt("02")},
        {"SEQ:SPAR 100,CONST,0,CONST,50,CONST,SIN,0;SPAR?", "+100.00,CONST,+0.00,CONST,+50.00,CONST,SIN,+0.0",
         kNoError},
        {"SEQ:INST:SEL L1;:SEQ:NSP 100,CONST,0,CONST,50,CONST,SIN,50,10", nullptr, RangeAt("09")},
        {"SEQ:NSP 1e8,CONST,0,CONST,50,CONST,SIN,50,0", nullptr, RangeAt("01")},
        {"SEQ:NSP 100,CONST,0,CONST,50,CONST,SQU,50,0;NSP?",
         "+100.00,CONST,+0.00,CONST,+50.00,CONST,SQU,+50.0,+0.0", kNoError},
        {"SEQ:CPAR 1,0,4,0,0,CONT,0,0,0,0,0,0,0,0,0", nullptr, RangeAt("03")},
        {"SEQ:CPAR 1,0,-1,0,0,CONT,0,0,0,0,0,0,0,0,0", nullptr, RangeAt("03")},
        {"SEQ:CPAR 1,0,0,0,0,-1,0,0,0,0,0,0,0,0,0", nullptr, RangeAt("06")},
        {"SEQ:CPAR 1,0,0,0,0,CONT,0,0,0,-1,0,0,0,0,0", nullptr, RangeAt("10")},
        {"SEQ:CPAR 1,0,0,0,0,CONT,0,0,0,0,0,0,0,0,-1", nullptr, RangeAt("15")},
        {"SEQ:CPAR 1e6,0,0,0,0,CONT,0,0,0,0,0,0,0,0,0", nullptr, RangeAt("01")},
        {"SEQ:CPAR 429497,0,0,0,0,CONT,0,0,0,0,0,0,0,0,0", nullptr, RangeAt("01")},
        {"SEQ:NSP 42949673,CONST,0,CONST,50,CONST,SIN,50,0", nullptr, RangeAt("01")},
        {"SEQ:STEP 1;CPAR 0.5,90,FIX,0,OFF,HOLD,0,0,0,2,0,0,0,0,0;CPAR?",
         "+0.5000,+90.0,+1,+0.0,+0,HOLD,+0,+0,+0,+2,+0,+0,+0,+0,+0", kNoError},
        {"SEQ:NSP 20,KEEP,0,SWE,50,CONST,ARB17,50,0;NSP?", "+20.00,KEEP,+0.00,SWEEP,+50.00,CONST,ARB17,+50.0,+0.0",
         kNoError},
        {"SEQ:INST:SEL L2;SEL?", "L2", kNoError}, {"SEQ:INST:SEL -1", nullptr, kRange},
        {"SEQ:INST:SEL?", "L2", kNoError},
        {"SEQ:COND?;CST?;CJUM:CNT?", "+0;+1;+1,-1", kNoError},
        {"SEQ:INST:SEL L1;:SEQ:STEP 0;:SYST:CONF:MODE CONT", nullptr, kNoError},
    };
    // clang-format on
    Run(steps);
}

// A 3-step program written remotely on the tables a fresh root starts with (100 s a step, step 2 ends it)
// runs on the simulated stage: STARt, HOLD (a second HOLD leaves it held), STARt resumes, STOP. While it
// runs only step 0 may be chosen for editing. SIM: a second HOLD resumes.
TEST_F(ScpiSeqTrig, RunsOnTheSimulatedStage) {
    // clang-format off
    const ScpiStep program[] = {
        {"SYST:CONF:MODE SEQ;:SEQ:INST:SEL L1", nullptr, kNoError},
        {"SEQ:STEP 0;CPAR 100,0,0,0,0,CONT,0,0,0,0,0,0,0,0,0;SPAR 10,CONST,0,CONST,50,CONST,SIN,0", nullptr,
         kNoError},
        {"SEQ:STEP 1;CPAR 100,0,0,0,0,CONT,0,0,0,0,0,0,0,0,0;SPAR 20,CONST,0,CONST,50,CONST,SIN,0", nullptr,
         kNoError},
        {"SEQ:STEP 2;CPAR 100,0,0,0,0,END,0,0,0,0,0,0,0,0,0;SPAR 30,CONST,0,CONST,50,CONST,SIN,0", nullptr,
         kNoError},
        {"SEQ:STEP 2;CPAR?", "+100.0000,+0.0,+0,+0.0,+0,END,+0,+0,+0,+0,+0,+0,+0,+0,+0", kNoError},
        {"SEQ:STEP 0;COND?", "+0", kNoError},
    };
    const ScpiStep running[] = {
        {"SEQ:STEP 2", nullptr, kSystemError}, {"SEQ:STEP 0", nullptr, kNoError}, {"SEQ:COND?", "+1", kNoError},
    };
    const ScpiStep simulation[] = {{"SYST:CONF:MODE CONT;:SYST:CONF:MODE SIM;MODE?", "SIM", kNoError}};
    const ScpiStep back[] = {{"SYST:CONF:MODE CONT;MODE?", "CONT", kNoError}};
    // clang-format on
    Run(program);
    Output("OUTP ON", "+1");
    RunAction("TRIG:SEQ:SEL:EXEC STAR", "SEQ:COND?", "+1");
    RunAction("TRIG:SEQ:SEL:EXEC HOLD", "SEQ:COND?", "+2");
    RunAction("TRIG:SEQ:SEL:EXEC HOLD", "SEQ:COND?", "+2");
    RunAction("TRIG:SEQ:SEL:EXEC STAR", "SEQ:COND?", "+1");
    Run(running);
    RunAction("TRIG:SEQ:SEL:EXEC STOP", "SEQ:COND?", "+0");
    Output("OUTP OFF", "+0");

    Run(simulation);
    // An edit made before the SIM entry's preparation has downloaded the states can be undone by it: the
    // edit is made again until it stays (bounded at 5 s).
    std::string time;
    for (int i = 0; i < 100 && (time = Ask("SIM:NORM1:TIME 1000;TIME?")) != "+1000.0000"; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_EQ(time, "+1000.0000");
    ASSERT_EQ(Ask("SYST:ERR?"), kNoError);
    Output("OUTP ON", "+1");
    RunAction("TRIG:SIM:SEL:EXEC STAR", "SIM:COND?", "+1");
    RunAction("TRIG:SIM:SEL:EXEC HOLD", "SIM:COND?", "+2");
    RunAction("TRIG:SIM:SEL:EXEC HOLD", "SIM:COND?", "+1");
    RunAction("TRIG:SIM:SEL:EXEC STOP", "SIM:COND?", "+0");
    Output("OUTP OFF", "+0");
    Run(back);
}

}  // namespace
