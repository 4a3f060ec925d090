// The DATA memory management commands, their TRACe aliases and the waveform builder's commands over the
// LAN socket of a controller on a fresh root (model type 1, 3P4W, ACDC-INT, master). The tests run in
// order: the builder's slave case comes last.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/system/scpi_socket_suite.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;

std::string RangeAt(int n) {
    return "-222,\"Data out of range;0" + std::to_string(n) + "\"";
}

class ScpiDataManage : public ScpiSocketSuite {
  protected:
    static std::string File(const std::string& path) { return c().root() + path; }
    static void ExpectPopup(const std::string& text) {
        EXPECT_TRUE(c().WaitForOutput("popup: " + text)) << text << "\n" << c().Output();
    }
};

TEST_F(ScpiDataManage, SequenceMemories) {
    const std::string seq3 = File("/mnt/tst/seq/SEQ3.SEQ");
    fs::remove(seq3);
    // clang-format off
    const ScpiStep contMode[] = {
        {"DATA:SEQ:STOR 3", nullptr, kSystemError}, {"DATA:SEQ:NAME? 3", nullptr, kSystemError},
        {"TRAC:SEQ:CLE 3", nullptr, kSystemError},
    };
    // clang-format on
    Run(contMode);
    EXPECT_FALSE(fs::exists(seq3));
    // clang-format off
    const ScpiStep steps[] = {
        {"SYST:CONF:MODE SEQ", nullptr, kNoError},
        {"DATA:SEQ:STOR -1", nullptr, kRange}, {"DATA:SEQ:STOR 10", nullptr, kRange},
        {"DATA:SIM:STOR 1", nullptr, kSystemError},
        {"DATA:SEQ:STOR 3", nullptr, kNoError},
    };
    // clang-format on
    Run(steps);
    ExpectPopup("Saved to SEQ3");
    ASSERT_TRUE(fs::exists(seq3));
    EXPECT_EQ(fs::file_size(seq3), 1224324u);
    // clang-format off
    const ScpiStep names[] = {
        {"DATA:SEQ:NAME 3,\"a\"\"b\";NAME? 3", "\"a\"\"b\"", kNoError},
        {"DATA:SEQ:NAME 3,\"123456789012345678901\"", nullptr, kParamError},
        {"TRAC:SEQ:NAME? 3", "\"a\"\"b\"", kNoError},
        {"DATA:SEQ:NAME 3,\"\"", nullptr, kParamError},
        {"TRAC:SEQ:NAME MAX,\"12345678901234567890\";NAME? 9", "\"12345678901234567890\"", kNoError},
        {"DATA:SEQ:NAME? -1", nullptr, kRange}, {"DATA:SEQ:NAME? 10", nullptr, kRange},
    };
    // clang-format on
    Run(names);
    Run({{"TRAC:SEQ:STOR MIN", nullptr, kNoError}});
    ExpectPopup("Saved to SEQ0");
    // The clear writes the default program, which a recall takes whole.
    Run({{"TRAC:SEQ:CLE 3", nullptr, kNoError}});
    ExpectPopup("Cleared SEQ3");
    Run({{"DATA:SEQ:REC 3", nullptr, kNoError}});
    ExpectPopup("Recalled from SEQ3");
    fs::remove(File("/mnt/tst/seq/SEQ5.SEQ"));
    Run({{"DATA:SEQ:REC 5", nullptr, kNoError}, {"SYST:CONF:MODE CONT", nullptr, kNoError}});
    ExpectPopup("Recall Fail!");
}

TEST_F(ScpiDataManage, SimulationMemories) {
    // clang-format off
    const ScpiStep steps[] = {
        {"SYST:CONF:MODE SIM", nullptr, kNoError},
        {"DATA:SIM:NAME 0,\"x\"", nullptr, kParamError},
        {"DATA:SIM:NAME 1,\"x\";NAME? 1", "\"x\"", kNoError},
        {"TRAC:SIM:NAME? 1", "\"x\"", kNoError},
        {"DATA:SEQ:NAME? 1", nullptr, kSystemError},
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
    Run({{"TRAC:SIM:REC 2", nullptr, kNoError}, {"SYST:CONF:MODE CONT", nullptr, kNoError}});
    ExpectPopup("Recalled from SIM2");
}

TEST_F(ScpiDataManage, PresetAndWaveformClear) {
    // clang-format off
    const ScpiStep steps[] = {
        {"DATA:WAVE:CLE 254", nullptr, kRange}, {"DATA:WAVE:CLE 0", nullptr, kRange},
        {"DATA:WAVE:CLE -1", nullptr, kRange},
        {"DATA:WAVE:NAME? 1", nullptr, kUndefined}, {"TRAC:WAVE:NAME 1,\"x\"", nullptr, kUndefined},
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

TEST_F(ScpiDataManage, BuilderSettings) {
    // clang-format off
    const ScpiStep steps[] = {
        {"SYST:ARB:EDIT:CLIP 0.256;CLIP?", "+0.2600", kNoError},
        {"SYST:ARB:EDIT:CLIP 1.5", nullptr, kRange},
        {"SYST:ARB:EDIT:CLIP?", "+0.2600", kNoError},
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

TEST_F(ScpiDataManage, BuilderStoreApplyAndSlave) {
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
        {"SYST:ARB:EDIT:BUIL DIP", nullptr, kSystemError}, {"SYST:ARB:EDIT:BUIL?", nullptr, kSystemError},
        {"SYST:ARB:EDIT:CFAC1 2", nullptr, kSystemError}, {"SYST:ARB:EDIT:CLIP 0.5", nullptr, kSystemError},
        {"SYST:ARB:EDIT:STA 2", nullptr, kSystemError}, {"SYST:ARB:EDIT:TRI 2", nullptr, kSystemError},
        {"SYST:ARB:EDIT:DIP 1,2,3", nullptr, kSystemError}, {"SYST:ARB:EDIT:RIPP? MAX", nullptr, kSystemError},
        {"SYST:ARB:EDIT:LFR?", nullptr, kSystemError}, {"SYST:ARB:EDIT:SURG SIN,1,1", nullptr, kSystemError},
        {"SYST:ARB:EDIT:STOR ARB17", nullptr, kSystemError},
        {"SYST:ARB:EDIT:STOR:APPL1 ARB17", nullptr, kSystemError},
        {"PAR:POS MAST;*OPC?", "1", kNoError},
    };
    // clang-format on
    Run(outputOn);
}

}  // namespace
