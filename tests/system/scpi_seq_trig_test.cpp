// The SIMulation state fields, the TRIGger commands, the SEQuence and SIMulation runs and the DATA memory
// management commands over the LAN socket of a controller on a fresh root (model type 1, 3P4W, ACDC-INT,
// 100 V range, master, output off): the first entry's download, the preparation *OPC waits for, the runner
// on the simulated stage, and the memory files on disk; then the waveform builder's commands. Each test
// leaves the controller in CONT mode with the output off; the builder's slave case comes last. (The SEQ
// step editing and its mode guard: tests/scpi's SeqRemoteEdit and SeqRemoteControl, tests/engine's seq.)
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "tests/system/scpi_socket_suite.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;

const std::string kTriggerIgnored = "-211,\"Trigger ignored\"";
std::string RangeAt(const std::string& position) {
    return "-222,\"Data out of range;" + position + "\"";
}
std::string RangeAt(int n) {
    return RangeAt("0" + std::to_string(n));
}

class ScpiSeqTrig : public ScpiSocketSuite {
  protected:
    // A SEQ/SIM preparation is carried out by its page, and *OPC? waits for it: the panel must be up.
    static void SetUpTestSuite() {
        ScpiSocketSuite::SetUpTestSuite();
        ASSERT_TRUE(c().WaitForOutput("GuiThread: system ready", kStartupTimeoutMs)) << c().Output();
    }
    static std::string File(const std::string& path) { return c().root() + path; }
    // One byte in the middle of a stored memory turned over: its checksum no longer holds.
    static void Damage(const std::string& path) {
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        ASSERT_TRUE(f.is_open()) << path;
        f.seekg(200);
        const char byte = static_cast<char>(f.get() ^ 0x5A);
        f.seekp(200);
        f.put(byte);
    }
    static void ExpectPopup(const std::string& text) {
        EXPECT_TRUE(c().WaitForOutput("popup: " + text)) << text << "\n" << c().Output();
    }
    // The menu/control thread switches the output a few passes after the command: bounded at 15 s.
    static void Output(const char* command, const std::string& state) {
        Send(command);
        std::string now;
        for (int i = 0; i < 300 && (now = Ask("OUTP?")) != state; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ASSERT_EQ(now, state) << command;
        ASSERT_EQ(Ask("SYST:ERR?"), kNoError) << command;
    }
    // The measured frequency comes to hz (within 0.1 Hz) within 5 s.
    static void ExpectFrequency(double hz) {
        double got = 0.0;
        for (int i = 0; i < 100 && std::fabs(got - hz) > 0.1; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            got = std::atof(Ask("MEAS:FREQ?").c_str());
        }
        EXPECT_NEAR(got, hz, 0.1);
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

// First in the suite: the first SEQUENCE entry since the start, whose download has not yet reached the
// stage when step 0 is written. Step 0 has no step end: END is refused, not dropped.
TEST_F(ScpiSeqTrig, StepZeroWrittenRightAfterTheFirstEntry) {
    // clang-format off
    const ScpiStep steps[] = {
        {"SYST:CONF:MODE SEQ;:SEQ:STEP 0;CPAR 3,0,OFF,0,OFF,CONT,0,0,0,0,0,0,0,0,0;*OPC?", "1", kNoError},
        {"SEQ:CPAR 3,0,OFF,0,OFF,END,5,ON,7,0,0,0,0,0,0", nullptr, RangeAt("06")},
        {"SEQ:CPAR?", "+3.0000,+0.0,+0,+0.0,+0,CONT,+0,+0,+1,+0,+0,+0,+0,+0,+0", kNoError},
    };
    const ScpiStep back[] = {{"SYST:CONF:MODE CONT;MODE?", "CONT", kNoError}};
    // clang-format on
    Run(steps);
    ExpectPopup("Sequence is ready.");
    EXPECT_EQ(CountOf(c().Output(), "popup: SEQ Err."), 0u) << c().Output();
    Run(back);
}

// No program has run yet.
TEST_F(ScpiSeqTrig, SimulationStateFieldsAndStatusByMode) {
    // clang-format off
    const ScpiStep steps[] = {
        {"SIM:COND?", "", kSystemError}, {"SIM:CTIM?", "+0,+0,+0,+0", kNoError},
        {"SIM:INIT:VOLT 10", nullptr, kSystemError}, {"SIM:INST:SEL?", "", kSystemError},
        {"SYST:CONF:MODE SEQ;:SIM:INIT:VOLT 10", nullptr, kSystemError},
        {"SIM:CST?", "", kSystemError}, {"SYST:CONF:MODE SIM", nullptr, kNoError},
        {"SIM:NORM2:VOLT 100", nullptr, kUndefined}, {"SOUR:SIM:NORM2:FREQ?", "", kUndefined},
        {"SIM:NORM1:VOLT 100;VOLT?", "+100.00", kNoError}, {"SIM:ABN:FREQ 55;FREQ?", "+55.00", kNoError},
        {"SOUR:SIM:ABN:VOLT 50.5;:SIM:ABN:VOLT?", "+50.50", kNoError},
        {"SIM:NORM1:TIME 1.5;TIME?", "+1.5000", kNoError}, {"SIM:TRAN1:TIME MIN;TIME?", "+0.0000", kNoError},
        {"SIM:INIT:FREQ 600;:SIM:INIT:PHAS:STAR 359.95", nullptr, kRange},
        {"SIM:INIT:PHAS:STOP MAX;STOP?", "+359.0", kNoError}, {"SIM:INIT:VOLT? MAX", "+175.00", kNoError},
        {"SIM:INIT:FREQ? MAX", "+2000.00", kNoError}, {"SIM:ABN:PHAS:STAR:ENAB FIX;ENAB?", "+1", kNoError},
        {"SIM:REP:COUN MAX;COUN?", "+9999", kNoError}, {"SIM:INST:SEL?", "L1", kNoError},
        {"SIM:COND?", "+0", kNoError}, {"SIM:CST?", "+5", kNoError}, {"SIM:CTIM?", "+5,+0,+0,+0", kNoError},
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
        {"SIM:REP:ENAB? MAX", "", "-108,\"Parameter not allowed\""},
        {"SIM:NORM3:CODE?", "", "-114,\"Header suffix out of range\""},
        {"SIM:INIT:VOLT ON", nullptr, "-224,\"Illegal parameter value\""},
        {"SYST:CONF:MODE CONT", nullptr, kNoError},
    };
    // clang-format on
    Run(steps);
}

TEST_F(ScpiSeqTrig, TriggerSourcesAndSoftwareTriggers) {
    // clang-format off
    const ScpiStep steps[] = {
        {"TRIG:SOUR?;:TRIG:OUTP:SOUR?;:TRIG:MEM:SOUR?", "BUS;BUS;BUS", kNoError},
        {"TRIG:OUTP:SOUR TRI2;SOUR?", "TRI2", kNoError}, {"TRIG:MEM:SOUR IMM;SOUR?", "IMM", kNoError},
        {"TRIG:SOUR 2", nullptr, "-128,\"Numeric data not allowed\""},
        {"TRIG:SOUR TRI1;:TRIG", nullptr, kTriggerIgnored}, {"TRIG?", "", kUndefined},
        {"TRIG:MEM:IMM?", "", kUndefined}, {"TRIG:SOUR BUS;:TRIG:MEM:SOUR BUS", nullptr, kNoError},
        {"TRIG:OUTP:SOUR BUS;:OUTP:TRIG ON;:INIT:NAME OUTP", nullptr, kNoError},
        {"MEM:TRIG 5;TRIG?", "+5", kNoError}, {"MEM:TRIG 10", nullptr, kRange},
        {"MEM:TRIG MAX;TRIG?", "+9", kNoError}, {"MEM:TRIG 0", nullptr, kNoError},
    };
    const ScpiStep runControl[] = {
        {"TRIG:SEQ:SEL:EXEC? STAR", "", kUndefined},
        {"SYST:CONF:MODE SEQ;:TRIG:SEQ:SEL:EXEC STAR", nullptr, kExecution},
        {"SYST:CONF:MODE CONT;MODE?", "CONT", kNoError},
    };
    // clang-format on
    Run(steps);
    Output("TRIG:OUTP", "+1");
    Output("OUTP OFF", "+0");
    Run(runControl);
}

// *OPC sets its bit only once the entry's preparation is over, as *OPC? waits for it: the preparation's
// report is out by then.
TEST_F(ScpiSeqTrig, OperationCompleteWaitsForTheEntrysPreparation) {
    const std::string ready = "popup: Sequence is ready.";
    for (int round = 0; round < 10; ++round) {
        ASSERT_EQ(Ask("*CLS;:SYST:CONF:MODE CONT;*OPC?"), "1");
        const size_t before = CountOf(c().Output(), ready);
        ASSERT_EQ(EsrUntilOperationComplete(std::atoi(Ask("SYST:CONF SEQ;*OPC;*ESR?").c_str())), 1) << round;
        // The popup's line is printed by the GUI thread: it may follow the bit by a little.
        const auto bound = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (CountOf(c().Output(), ready) <= before && std::chrono::steady_clock::now() < bound)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_EQ(CountOf(c().Output(), ready), before + 1) << round;
        EXPECT_EQ(Ask("*OPC?;:SYST:ERR?"), "1;" + kNoError) << round;
    }
    EXPECT_EQ(Ask("SYST:CONF:MODE CONT;*OPC?"), "1");
}

// A 3-step program written remotely on the tables a fresh root starts with (100 s a step, step 2 ends it)
// runs on the simulated stage: STARt, HOLD, STOP, as the runner thread reports them; then a SIM run.
TEST_F(ScpiSeqTrig, RunsOnTheSimulatedStage) {
    // clang-format off
    const ScpiStep program[] = {
        // A step selected while the entry's preparation is under way stays selected.
        {"SYST:CONF:MODE SEQ;:SEQ:INST:SEL L1;:SEQ:STEP 1;*OPC?;:SEQ:STEP?", "1;+1", kNoError},
        {"SEQ:STEP 0;CPAR 100,0,0,0,0,CONT,0,0,0,0,0,0,0,0,0;SPAR 10,CONST,0,CONST,60,CONST,SIN,0", nullptr,
         kNoError},
        {"SEQ:STEP 1;CPAR 100,0,0,0,0,CONT,0,0,0,0,0,0,0,0,0;SPAR 20,CONST,0,CONST,50,CONST,SIN,0", nullptr,
         kNoError},
        {"SEQ:STEP 2;CPAR 100,0,0,0,0,END,0,0,0,0,0,0,0,0,0;SPAR 30,CONST,0,CONST,50,CONST,SIN,0", nullptr,
         kNoError},
        {"SEQ:STEP 2;CPAR?", "+100.0000,+0.0,+0,+0.0,+0,END,+0,+0,+0,+0,+0,+0,+0,+0,+0", kNoError},
        {"SEQ:STEP 0;COND?", "+0", kNoError},
    };
    // The entry's preparation is over once *OPC? answers: an edit made then stays.
    const ScpiStep simulation[] = {{"SYST:CONF:MODE CONT;:SYST:CONF:MODE SIM;MODE?;*OPC?", "SIM;1", kNoError},
                                   {"SIM:NORM1:TIME 1000;TIME?", "+1000.0000", kNoError}};
    const ScpiStep back[] = {{"SYST:CONF:MODE CONT;MODE?", "CONT", kNoError}};
    // clang-format on
    Run(program);
    Output("OUTP ON", "+1");
    RunAction("TRIG:SEQ:SEL:EXEC STAR", "SEQ:COND?", "+1");
    ExpectFrequency(60.0);  // the running step's, not the setting's 50 Hz
    RunAction("TRIG:SEQ:SEL:EXEC HOLD", "SEQ:COND?", "+2");
    RunAction("TRIG:SEQ:SEL:EXEC STOP", "SEQ:COND?", "+0");
    Output("OUTP OFF", "+0");

    Run(simulation);
    // Initial plays for its 100 ms only; the run then stays in Normal1, which must play what was set after
    // the entry's download, with a voltage so that there is a frequency to measure.
    ASSERT_EQ(Ask("SIM:NORM1:VOLT 100;FREQ 55;FREQ?"), "+55.00");
    ASSERT_EQ(Ask("SYST:ERR?"), kNoError);
    Output("OUTP ON", "+1");
    RunAction("TRIG:SIM:SEL:EXEC STAR", "SIM:COND?", "+1");
    ExpectFrequency(55.0);  // Normal1's, not the setting's 50 Hz
    RunAction("TRIG:SIM:SEL:EXEC HOLD", "SIM:COND?", "+2");
    RunAction("TRIG:SIM:SEL:EXEC STOP", "SIM:COND?", "+0");
    Output("OUTP OFF", "+0");
    Run(back);
}

// A memory stored, cleared and recalled reaches the disk whole; a damaged or missing one is an execution
// error, and the program in use stays as it was.
TEST_F(ScpiSeqTrig, SequenceMemories) {
    const std::string seq3 = File("/mnt/tst/seq/SEQ3.SEQ");
    fs::remove(seq3);
    Run({{"SYST:CONF:MODE SEQ;:DATA:SEQ:STOR 3", nullptr, kNoError}});
    ExpectPopup("Saved to SEQ3");
    ASSERT_TRUE(fs::exists(seq3));
    EXPECT_EQ(fs::file_size(seq3), 1224324u);
    Run({{"DATA:SEQ:NAME 3,\"a\"\"b\";NAME? 3", "\"a\"\"b\"", kNoError}});
    // The clear writes the default program, which a recall takes whole.
    Run({{"TRAC:SEQ:CLE 3", nullptr, kNoError}});
    ExpectPopup("Cleared SEQ3");
    Run({{"DATA:SEQ:REC 3", nullptr, kNoError}});
    ExpectPopup("Recalled from SEQ3");
    const std::string step0 = Ask("SEQ:STEP 0;SPAR?;CPAR?");
    Damage(seq3);
    fs::remove(File("/mnt/tst/seq/SEQ5.SEQ"));
    Run({{"DATA:SEQ:REC 3", nullptr, kExecution}, {"TRAC:SEQ:REC 5", nullptr, kExecution}});
    ExpectPopup("Recall Fail!");
    EXPECT_EQ(Ask("SEQ:STEP 0;SPAR?;CPAR?"), step0);
    Run({{"SYST:CONF:MODE CONT", nullptr, kNoError}});
}

TEST_F(ScpiSeqTrig, SimulationMemories) {
    // clang-format off
    const ScpiStep steps[] = {
        {"SYST:CONF:MODE SIM", nullptr, kNoError},
        {"DATA:SIM:NAME 0,\"x\"", nullptr, kParamError},
        {"DATA:SIM:NAME 1,\"x\";NAME? 1", "\"x\"", kNoError},
        {"TRAC:SIM:NAME? 1", "\"x\"", kNoError},
        {"DATA:SEQ:NAME? 1", "", kSystemError},
        {"DATA:SIM:STOR 2", nullptr, kNoError},
    };
    // clang-format on
    Run(steps);
    ExpectPopup("Saved to SIM2");
    EXPECT_TRUE(fs::exists(File("/mnt/tst/sim/SIM2.SIM")));
    Run({{"TRAC:SIM:STOR 4", nullptr, kNoError}});
    ExpectPopup("Saved to SIM4");
    Run({{"DATA:SIM:CLE 2", nullptr, kNoError}});
    ExpectPopup("Cleared SIM2");
    Run({{"TRAC:SIM:REC 2", nullptr, kNoError}});
    ExpectPopup("Recalled from SIM2");
    Damage(File("/mnt/tst/sim/SIM4.SIM"));
    Run({{"DATA:SIM:REC 4", nullptr, kExecution}, {"SYST:CONF:MODE CONT", nullptr, kNoError}});
    ExpectPopup("Recall Fail!");
}

TEST_F(ScpiSeqTrig, PresetAndWaveformClear) {
    // clang-format off
    const ScpiStep steps[] = {
        {"DATA:WAVE:CLE 254", nullptr, kRange}, {"DATA:WAVE:CLE 0", nullptr, kRange},
        {"DATA:WAVE:CLE -1", nullptr, kRange},
        {"DATA:WAVE:NAME? 1", "", kUndefined}, {"TRAC:WAVE:NAME 1,\"x\"", nullptr, kUndefined},
        {"DATA:PRES:CLE 10", nullptr, kRange}, {"DATA:PRES:CLE -1", nullptr, kRange},
        {"DATA:WAVE:CLE MIN", nullptr, kNoError},
    };
    // clang-format on
    Run(steps);
    ExpectPopup("ARB1 Deleted");
    Run({{"TRAC:WAV:CLE MAX", nullptr, kNoError}});
    ExpectPopup("ARB253 Deleted");
    Run({{"TRAC:PRES:CLE MAX", nullptr, kNoError}});
    ExpectPopup("Preset M9 Deleted");
}

TEST_F(ScpiSeqTrig, BuilderSettings) {
    // clang-format off
    const ScpiStep steps[] = {
        {"SYST:ARB:EDIT:CFAC2 1.55;CFAC2?", "+1.6000", kNoError},
        {"SYST:ARB:EDIT:CFAC1 MAX;CFAC1?", "+10.0000", kNoError},
        {"SYST:ARB:EDIT:CFAC2 2.1", nullptr, kRange},
        {"SYST:ARB:EDIT:STA 1.5", nullptr, kParamError},
        {"SYST:ARB:EDIT:STA 0", nullptr, kRange},
        {"SYST:ARB:EDIT:TRI 100;TRI?", "+100", kNoError},
        {"SYST:ARB:EDIT:DIP 30,20,40", nullptr, RangeAt(1)},
        {"SYST:ARB:EDIT:DIP 10,20,15", nullptr, RangeAt(2)},
        {"SYST:ARB:EDIT:DIP 10,20,360.0", nullptr, RangeAt(3)},
        {"SYST:ARB:EDIT:DIP 0,20,30", nullptr, RangeAt(1)},
        {"SYST:ARB:EDIT:DIP 10,20,30;DIP?", "10.0,20.0,30.0", kNoError},
        {"SYST:ARB:EDIT:BUIL?", "DIP", kNoError},
        {"SYST:ARB:EDIT:DIP 300,310,359.9;DIP?", "300.0,310.0,359.9", kNoError},
        {"SYST:ARB:EDIT:DIP 1,2,3;DIP?", "1.0,2.0,3.0", kNoError},
        {"SYST:ARB:EDIT:DIP? MAX", "1.9,2.9,359.9", kNoError}, {"SYST:ARB:EDIT:DIP? MIN", "0.1,1.1,2.1", kNoError},
        {"SYST:ARB:EDIT:BUIL TRI;BUIL DIP;BUIL?", "DIP", kNoError},
        {"SYST:ARB:EDIT:BUIL CFAC2;BUIL?", "CFAC2", kNoError},
        {"SYST:ARB:EDIT:BUIL DST22;BUIL?", "DST22", kNoError},
        {"SYST:ARB:EDIT:BUIL 32;BUIL?", "LF-RING", kNoError},
        {"SYST:ARB:EDIT:BUIL 33", nullptr, kParamError}, {"SYST:ARB:EDIT:BUIL -1", nullptr, kParamError},
        {"SYST:ARB:EDIT:RIPP? MAX", "6,+100,+100", kNoError},
        {"SYST:ARB:EDIT:RIPP 6,40,10;RIPP?", "6,+40,+10", kNoError},
        {"SYST:ARB:EDIT:RIPP 4,40,10", nullptr, kParamError},
        {"SYST:ARB:EDIT:RIPP 2,101,10", nullptr, kRange},
        {"SYST:ARB:EDIT:SURG SIN,MIN,30;SURG?", "SIN,+0,+30", kNoError},
        {"SYST:ARB:EDIT:BUIL?", "SURG", kNoError},
        {"SYST:ARB:EDIT:LFR 100,150,60,300,0.01,45,100,20;LFR?",
         "100.00,+150,60.0,300.0,0.010,45.0,100.0,20.0", kNoError},
        {"SYST:ARB:EDIT:LFR 100,139,60,300,0.01,45,100,20", nullptr, RangeAt(2)},
        {"SYST:ARB:EDIT:LFR 100,150,60,300,0.2,45,100,20", nullptr, RangeAt(5)},
        {"SYST:ARB:EDIT:LFR 100,150,40,300,0.2,45,100,20", nullptr, RangeAt(5)},
        {"SYST:ARB:EDIT:LFR 100,150,60,300,0.01,45,45,20", nullptr, RangeAt(7)},
        {"SYST:ARB:EDIT:LFR?", "100.00,+150,60.0,300.0,0.010,45.0,100.0,20.0", kNoError},
        {"SYST:ARB:EDIT:LFR? MIN", "0.00,+140,50.0,200.0,-0.100,0.1,45.1,0.1", kNoError},
    };
    // clang-format on
    Run(steps);
}

TEST_F(ScpiSeqTrig, BuilderStoreApplyAndSlave) {
    const std::string arb17 = File("/mnt/tst/ARB/ARB17.ARB");
    fs::remove(arb17);
    // clang-format off
    const ScpiStep steps[] = {
        {"SYST:ARB:EDIT:BUIL TRI", nullptr, kNoError},
        {"SYST:ARB:EDIT:STOR 254", nullptr, kParamError}, {"SYST:ARB:EDIT:STOR:APPL1 254", nullptr, kRange},
        {"SYST:ARB:EDIT:STOR ARB17", nullptr, kNoError},
    };
    // clang-format on
    Run(steps);
    EXPECT_TRUE(fs::exists(arb17));
    // clang-format off
    const ScpiStep outputOn[] = {
        {"OUTP ON;*OPC?", "1", kNoError},
        {"SYST:ARB:EDIT:STOR:APPL1 ARB17", nullptr, kExecution},
        {"OUTP OFF;*OPC?", "1", kNoError},
        {"PAR:POS SLAV;*OPC?", "1", kNoError},
        {"SYST:ARB:EDIT:BUIL DIP", nullptr, kSystemError}, {"SYST:ARB:EDIT:BUIL?", "", kSystemError},
        {"SYST:ARB:EDIT:CFAC1 2", nullptr, kSystemError},
        {"SYST:ARB:EDIT:DIP 1,2,3", nullptr, kSystemError}, {"SYST:ARB:EDIT:RIPP? MAX", "", kSystemError},
        {"SYST:ARB:EDIT:LFR?", "", kSystemError}, {"SYST:ARB:EDIT:SURG SIN,1,1", nullptr, kSystemError},
        {"SYST:ARB:EDIT:STOR ARB17", nullptr, kSystemError},
        {"SYST:ARB:EDIT:STOR:APPL1 ARB17", nullptr, kSystemError},
        {"PAR:POS MAST;*OPC?", "1", kNoError},
    };
    // clang-format on
    Run(outputOn);
}

}  // namespace
