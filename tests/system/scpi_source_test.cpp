// Over the LAN socket of a controller on a fresh root (model type 1, 3P4W, ACDC-INT, 100 V range,
// Unbalance, a stand-alone master, RS232 on): the [SOURce:] setting commands and the OUTPut and PARallel
// commands as a fresh root answers them (each line sends one program message and names its reply line and
// then the error queue's first entry); then whole memories as definite-length blocks, each stored on disk
// and read back: ARB files and raw samples, presets, SEQ and SIM memories and the present programs; and the
// one transfer buffer shared with an RS232 client.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <tuple>

#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "engine/seqsim/seqsim_defaults.h"
#include "engine/seqsim/seqsim_file.h"
#include "tests/system/pty_fixture.h"
#include "tests/system/scpi_socket_suite.h"

namespace {

using namespace testsupport;

const std::string kOutOfMemory = "-291,\"Out of memory\"";

std::string Block(const std::string& data) {
    const std::string count = std::to_string(data.size());
    return "#" + std::to_string(count.size()) + count + data;
}

class ScpiSource : public ScpiSocketSuite {
  protected:
    // The data of the block a query answers (its header checked), "" when none came.
    static std::string AskBlock(const std::string& query, const std::string& header) {
        Send(query);
        const std::string head = client_->ReadBytes(header.size(), 15000);
        if (head != header) {
            ADD_FAILURE() << query << ": " << head;
            return "";
        }
        const size_t count = std::stoul(header.substr(2));
        std::string data = client_->ReadBytes(count, 15000);
        EXPECT_EQ(client_->ReadBytes(1, 5000), "\n") << query;
        return data;
    }
    static std::string Error() { return Ask("SYST:ERR?"); }
    static std::string File(const std::string& path) { return FileText(c().root() + path); }
};

// First: the settings on the fresh root; each test puts back what it changed.
TEST_F(ScpiSource, OutputSwitch) {
    // clang-format off
    const ScpiStep steps[] = {
        {"OUTP?", "+0", kNoError}, {"OUTP 1.5", nullptr, kParamError}, {"OUTP 2", nullptr, kRange},
        {"OUTP -1", nullptr, kRange}, {"OUTP ON;*OPC?", "1", kNoError}, {"OUTP?", "+1", kNoError},
        {"OUTP OFF;*OPC?", "1", kNoError}, {"OUTP?", "+0", kNoError},
    };
    // clang-format on
    Run(steps);
}

TEST_F(ScpiSource, OutputSettingsAndParallelRole) {
    // clang-format off
    const ScpiStep steps[] = {
        {"OUTP:IMP?", "+0", kNoError}, {"OUTP:IMP -1", nullptr, kRange},
        {"OUTP:IMP:IND? L1", "+0.1", kNoError}, {"OUTP:IMP:IND? L1,MAX", "+2000.0", kNoError},
        {"OUTP:IMP:RES L1,1.1", nullptr, kRange}, {"OUTP:IMP:IND L2,1e12", nullptr, kRange},
        {"OUTP:IMP:IND? L1,MIN", "+0.0", kNoError},
        {"OUTP:MON:AMPL?", "LOW", kNoError}, {"OUTP:MON:AMPL HIGH;AMPL?", "HIGH", kNoError},
        {"OUTP:MON:AMPL 2", nullptr, kRange}, {"OUTP:MON:AMPL LOW", nullptr, kNoError},
        {"OUTP:MON:SOUR1?", "L1Voltage", kNoError}, {"OUTP:MON:SOUR2 L3Current;SOUR2?", "L3Current", kNoError},
        {"OUTP:MON:SOUR2 L1Current", nullptr, kNoError},
        {"OUTP:PON?", "+0", kNoError}, {"OUTP:PON 4", nullptr, kRange}, {"OUTP:PON -1", nullptr, kRange},
        {"OUTP:PON SEQ;PON?", "+2", kNoError}, {"OUTP:PON OFF", nullptr, kNoError},
        {"OUTP:REL?", "+1", kNoError}, {"OUTP:REL -1", nullptr, kRange}, {"OUTP:PROT:CLE", nullptr, kNoError},
        {"PAR:POS?;NUMB?;ENAB?", "Master;2;OFF", kNoError}, {"PAR:POS -1", nullptr, kRange},
        {"PAR:ENAB 2", nullptr, kRange}, {"PAR:POS SLAV;POS?", "Slave", kNoError},
        {"OUTP:REL?", "", kSystemError}, {"PAR:POS MAST;POS?", "Master", kNoError},
        {"OUTP:REL?", "+1", kNoError},
    };
    // clang-format on
    Run(steps);
}

// Forms the command tree refuses before a handler runs: its error stands.
TEST_F(ScpiSource, OutputTreeRefusesFirst) {
    // clang-format off
    const ScpiStep steps[] = {
        {"DISP:DES:MODE 1", nullptr, "-128,\"Numeric data not allowed\""},
        {"DISP:MEAS:SOUR5 VRMS", nullptr, "-114,\"Header suffix out of range\""},
        {"OUTP:MON:SOUR3?", "", "-114,\"Header suffix out of range\""},
        {"OUTP:MON:SOUR1 1", nullptr, "-128,\"Numeric data not allowed\""},
        {"OUTP:PROT:CLE?", "", kUndefined},
        {"PAR:NUMB MAST", nullptr, "-148,\"Character data not allowed\""},
        {"OUTP:IMP:IND? L1,DEF", "", "-224,\"Illegal parameter value\""},
    };
    // clang-format on
    Run(steps);
}

TEST_F(ScpiSource, GenericSettingsAndDuty) {
    // clang-format off
    const ScpiStep steps[] = {
        {"VOLT:OFFS -12.345;OFFS?", "-12.3500", kNoError}, {"VOLT:OFFS 0;OFFS?", "+0.0000", kNoError},
        {"VOLT:LIM:HIGH?;LOW?", "+250.0000;-250.0000", kNoError}, {"CURR:LIM:RMS?", "+15.7500", kNoError},
        {"CURR:LIM:RMS 16", nullptr, kRange}, {"LINE:VOLT?", "", kExecution},
        {"SQU:DCYC?", "+50.0000", kNoError}, {"SQU:DCYC 25;DCYC?", "+25.0000", kNoError},
        {"SQU:DCYC MAX;DCYC?", "+99.9000", kNoError}, {"SQU:DCYC", nullptr, kParamError},
        {"FREQ 2000;FREQ?;:SQU:DCYC? MIN", "+2000.0000;+10.0000", kNoError},
        {"FREQ 50;:SQU:DCYC 50;DCYC?", "+50.0000", kNoError},
    };
    // clang-format on
    Run(steps);
}

TEST_F(ScpiSource, OutputModesWaveformAndLimits) {
    // clang-format off
    const ScpiStep steps[] = {
        {"MODE?", "ACDC-INT", kNoError}, {"MODE 7;MODE?", "ACDC-Sync", kNoError}, {"MODE 10", nullptr, kSystemError},
        {"MODE -1", nullptr, kSystemError}, {"SOUR:MODE DC-INT;:FUNC?", "DC", kNoError},
        {"FUNC SIN", nullptr, kExecution}, {"FREQ?", "", kExecution},
        {"MODE AC-INT;:VOLT:LIM:RMS?", "+175.0000", kNoError}, {"VOLT:LIM:PEAK?", "", kExecution},
        {"VOLT:LIM:RMS 150;:VOLT? MAX", "+150.0000", kNoError}, {"VOLT:LIM:RMS 1e12", nullptr, kRange},
        {"VOLT:LIM:RMS MAX;RMS?", "+175.0000", kNoError}, {"FUNC SQU;FUNC?", "SQU", kNoError},
        {"FUNC -1", nullptr, kRange}, {"FUNC:THD:FORM CSA;FORM?", "CSA", kNoError},
        {"FUNC:THD:FORM -1", nullptr, kRange}, {"VOLT:RESP?", "+1", kNoError}, {"VOLT:RESP 3", nullptr, kRange},
        {"FUNC SIN;:FUNC:THD:FORM IEC;:MODE ACDC-INT;MODE?", "ACDC-INT", kNoError},
    };
    // clang-format on
    Run(steps);
}

// In Balance the line value's ceiling follows the phases (175 V x sqrt(3)) and a line value is written back
// to them (173.2 V / sqrt(3) = 100 V on each).
TEST_F(ScpiSource, LineVoltageSetsThePhasesInBalance) {
    // clang-format off
    const ScpiStep steps[] = {
        {"PHAS:MODE BAL;MODE?", "Balance", kNoError}, {"LINE:VOLT? MAX", "+303.1100", kNoError},
        {"LINE:VOLT 173.2;:VOLT?", "+100.0000", kNoError}, {"LINE:VOLT 303.2", nullptr, kRange},
        {"VOLT?", "+100.0000", kNoError}, {"LINE:VOLT:OFFS 1000", nullptr, kRange},
        {"LINE:VOLT 0;:VOLT?", "+0.0000", kNoError}, {"PHAS:MODE UNB;MODE?", "Unbalance", kNoError},
    };
    // clang-format on
    Run(steps);
}

// A SEQ memory the instrument takes: the default steps of a deleted memory, as this model writes them. (A
// fresh controller's working sequence is all zeros, which no import accepts.)
std::string DefaultSeqImage(int32_t slot) {
    IdentityTextWrite(g_ModelName, sizeof g_ModelName, "VRN-4145", 8);
    SeqMem_ResetToSlotDefaults(slot);
    if (SeqBuildFile(slot, 0) != 0) return "";
    return std::string(reinterpret_cast<const char*>(g_SeqFileBuf), kSeqFileSize);
}

std::string Samples(int seed, size_t count) {
    std::string s(count, '\0');
    for (size_t i = 0; i < count; ++i)
        s[i] = static_cast<char>((i * 31 + seed) & 0xFF);
    return s;
}

// pyvisa's default write ends every message with CR LF, a block's too: each block command takes its block
// so ended, and what it stored reads back.
TEST_F(ScpiSource, EveryBlockCommandTakesACrLfLineEnd) {
    ASSERT_EQ(Ask("*CLS;:SYST:CONF:MODE CONT;*OPC?"), "1");
    const auto sendCrLf = [](const std::string& header, int slot, const std::string& data) {
        client_->Send(header + " " + (slot < 0 ? "" : std::to_string(slot) + ",") + Block(data) + "\r\n");
        return Error();
    };
    int slot = 20;
    for (const std::string header : {"DATA:WAVE", "DATA:WAV", "TRAC:WAVE", "TRAC:WAV", "TRAC"}) {
        const std::string samples = Samples(++slot, 8192);
        EXPECT_EQ(sendCrLf(header, slot, samples), kNoError) << header;
        EXPECT_EQ(AskBlock("DATA:ARB:FILE? " + std::to_string(slot), "#48260").substr(64, 8192), samples)
            << header;
    }
    const std::string arb = AskBlock("DATA:ARB:FILE? 21", "#48260");
    for (const std::string header : {"DATA:ARB:FILE", "TRAC:ARB:FILE"}) {
        EXPECT_EQ(sendCrLf(header, ++slot, arb), kNoError) << header;
        EXPECT_EQ(AskBlock("TRAC:ARB:FILE? " + std::to_string(slot), "#48260").substr(64, 8192),
                  arb.substr(64, 8192))
            << header;
    }

    // A preset of its own, so that the copies cannot be the defaults.
    const std::string volt = Ask("VOLT?");
    ASSERT_EQ(Ask("VOLT 12.3;*SAV 8;VOLT " + volt + ";*OPC?"), "1");
    const std::string preset8 = AskBlock("DATA:PRES:FILE? 8", "#42516");
    constexpr size_t kPresetRecords = 64, kPresetRecordBytes = 2516 - 64 - 4;
    for (const auto& [header, n] : {std::pair{"DATA:PRES:FILE", 6}, {"TRAC:PRES:FILE", 7}}) {
        EXPECT_EQ(sendCrLf(header, n, preset8), kNoError) << header;
        EXPECT_EQ(AskBlock("DATA:PRES:FILE? " + std::to_string(n), "#42516")
                      .substr(kPresetRecords, kPresetRecordBytes),
                  preset8.substr(kPresetRecords, kPresetRecordBytes))
            << header;
    }
    // The PRESet[:DATA] forms take no block in: undefined, as without the CR.
    for (const std::string header : {"DATA:PRES", "MEM:DATA:PRES", "TRAC:PRES"})
        EXPECT_EQ(sendCrLf(header, 1, preset8), kUndefined) << header;

    // The SEQ and SIM memories under each header, then the present program: each takes the image sent (a SIM
    // memory never stored holds the default states, stored anew). Both forms of a SEQ memory are the image
    // whole; a SIM file and the present programs hold it past their header and before their checksum.
    const std::string simImage = AskBlock("DATA:SIM? 3", "#41972");
    constexpr size_t kSteps = 64, kConfig = 1224064, kStates = 64, kStateBytes = 1972 - 64 - 4;
    const struct {
        std::string kind, folder, presentHead;
        size_t fileFrom, fileBytes, presentFrom, presentBytes;
    } memories[] = {{"SEQ", "seq", "#71224324", 0, std::string::npos, kSteps, kConfig - kSteps},
                    {"SIM", "sim", "#41972", kStates, kStateBytes, kStates, kStateBytes}};
    for (const auto& m : memories) {
        const auto image = [&](int n) { return m.kind == "SEQ" ? DefaultSeqImage(n) : simImage; };
        for (const auto& [before, after, n] :
             {std::tuple{"DATA:", "", 1}, {"DATA:", ":FILE", 2}, {"MEM:DATA:", "", 4}, {"TRAC:", "", 5},
              {"TRAC:", ":FILE", 6}}) {
            const std::string header = before + m.kind + after;
            const std::string file = "/mnt/tst/" + m.folder + "/" + m.kind + std::to_string(n) + "." + m.kind;
            unlink((c().root() + file).c_str());
            EXPECT_EQ(sendCrLf(header, n, image(n)), kNoError) << header;
            EXPECT_TRUE(File(file).substr(m.fileFrom, m.fileBytes) == image(n).substr(m.fileFrom, m.fileBytes))
                << header;
        }
        EXPECT_EQ(sendCrLf("DATA:" + m.kind + ":PRES", -1, image(5)), kNoError) << m.kind;
        EXPECT_TRUE(AskBlock("DATA:" + m.kind + ":PRES?", m.presentHead).substr(m.presentFrom, m.presentBytes) ==
                    image(5).substr(m.presentFrom, m.presentBytes))
            << m.kind;
    }
}

TEST_F(ScpiSource, AnRs232ReaderHoldsTheTransferBuffer) {
    ASSERT_EQ(Ask("*CLS;*OPC?"), "1");
    if (File("/mnt/tst/seq/SEQ3.SEQ").empty()) {
        Send("DATA:SEQ 3," + Block(DefaultSeqImage(3)));
        ASSERT_EQ(Error(), kNoError);
    }
    PtyClient rs232(PtyClientPath(c().root(), "ttyS1"));
    ASSERT_TRUE(rs232.Open());
    ASSERT_FALSE(rs232.AskUntilAnswered("*IDN?", 30000).empty());
    ASSERT_TRUE(rs232.Send("DATA:SEQ? 3\n"));
    ASSERT_EQ(rs232.ReadBytes(9, 5000), "#71224324");
    // The rest stays unread: the buffer is the RS232 reply's.
    EXPECT_EQ(Ask("DATA:ARB:FILE? 1"), "");
    EXPECT_EQ(Error(), kOutOfMemory);
    EXPECT_EQ(rs232.ReadBytes(1224324 + 1, 60000).size(), 1224325u);
    std::string head;
    for (int i = 0; i < 100 && head != "#48260"; ++i) {
        Send("DATA:ARB:FILE? 1");
        // The block, or an empty line while the buffer is still lent.
        head = client_->ReadBytes(1, 15000);
        if (head == "#") {
            head += client_->ReadBytes(5, 5000);
        } else {
            EXPECT_EQ(head, "\n");
            EXPECT_EQ(Error(), kOutOfMemory);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    EXPECT_EQ(head, "#48260");
    client_->ReadBytes(8261, 5000);
}

// A block length no command can hold is refused at once; a client that closes the line finds the
// channel reset when it opens it again: the message it left half sent is gone.
TEST_F(ScpiSource, AnRs232ClientThatLeavesFindsTheChannelReset) {
    const std::string path = PtyClientPath(c().root(), "ttyS1");
    auto rs232 = std::make_unique<PtyClient>(path);
    ASSERT_TRUE(rs232->Open());
    const std::string idn = rs232->AskUntilAnswered("*IDN?", 30000);
    ASSERT_FALSE(idn.empty());
    ASSERT_TRUE(rs232->Send("VOLT #9999999999\n*IDN?\n"));
    EXPECT_EQ(rs232->ReadLine(), idn);
    EXPECT_EQ(rs232->Ask("SYST:ERR?"), "-223,\"Too much data\"");
    // The next client comes once the line has dropped (the stand-in logs it): bytes of two clients that
    // both wait unread in the line cannot be told apart.
    const auto drops = [] { return CountOf(File("/var/log/devices.log"), "ttyS1 carrier lost"); };
    const size_t dropsBefore = drops();
    ASSERT_TRUE(rs232->Send("VOLT 5"));
    rs232.reset();
    for (int i = 0; i < 100 && drops() == dropsBefore; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(drops(), dropsBefore + 1);
    rs232 = std::make_unique<PtyClient>(path);
    ASSERT_TRUE(rs232->Open());
    EXPECT_EQ(rs232->Ask("*IDN?"), idn);
    EXPECT_EQ(rs232->Ask("SYST:ERR?"), kNoError);
}

// What a message sets is what the stage plays, and a refused command changes nothing: a line's voltage set
// before the message selects another line, one phase's peak limit beside another's, a Vpp voltage set before
// a waveform change, a SEQ step under a refused write, the unit's own SEQ image at any output setting, and
// the SEQ mode left whole for the calibration list.
TEST_F(ScpiSource, WhatIsSetIsPlayedAndARefusalChangesNothing) {
    // clang-format off
    const ScpiStep set[] = {
        {"INST:EDIT EACH;:INST:SEL L2;:VOLT 88;:INST:SEL L1;*OPC?", "1", kNoError},
        {"INST:SEL L3;:VOLT 45;:INST:SEL L1;:VOLT 34;:OUTP ON;*OPC?", "1", kNoError},
    };
    // clang-format on
    Run(set);
    // L3, the phases' mean ((34 + 88 + 45) / 3) and L1, read without selecting L2 again (a selection sends
    // the line's values anew) until the readings' averages have settled; then L2's own.
    const std::string others = "INST:SEL L3;:MEAS:VOLT?;:MEAS:VOLT:TOT?;:INST:SEL L1;:MEAS:VOLT?";
    std::string settled = Ask(others);
    for (int i = 0; i < 250 && settled != "+45.0000;+55.6667;+34.0000"; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        settled = Ask(others);
    }
    EXPECT_EQ(settled, "+45.0000;+55.6667;+34.0000");
    // clang-format off
    const ScpiStep steps[] = {
        {"INST:SEL L2;:MEAS:VOLT?", "+88.0000", kNoError},
        {"OUTP OFF;:VOLT 0;:INST:SEL L2;:VOLT 0;:INST:SEL L1;:VOLT 0;*OPC?", "1", kNoError},
        // L2 at +100 Vpk: 80 Vrms peaks at 113 V, also after L1's own limit is written again.
        {"INST:SEL L2;:VOLT:LIM:HIGH 100;HIGH?", "+100.0000", kNoError}, {"VOLT 80", nullptr, kRange},
        {"INST:SEL L1;:VOLT:LIM:HIGH 250", nullptr, kNoError}, {"INST:SEL L2;:VOLT 80", nullptr, kRange},
        {"VOLT?", "+0.0000", kNoError}, {"VOLT:LIM:HIGH 250;:INST:SEL L1", nullptr, kNoError},
        {"SYST:ACV:UNIT VPP;:FUNC TRI;:VOLT 130", nullptr, kNoError},
        {"FUNC ARB17;:VOLT 110;:FUNC TRI;*OPC?", "1", kNoError},
        {"VOLT?", "+110.0000", kNoError}, {"FUNC ARB17;:VOLT?", "+110.0000", kNoError},
        {"FUNC SIN;:SYST:ACV:UNIT VRMS;:VOLT:RANG 100;:SYST:CONF:MODE SEQ;*OPC?", "1", kNoError},
        {"SEQ:STEP 1;:SEQ:INST:SEL L1;:SEQ:SPAR 120,CONST,0,CONST,50,CONST,SIN,0", nullptr, kNoError},
        {"SEQ:NSP 150,CONST,0,CONST,70,CONST,TRI,50,0", nullptr, "-222,\"Data out of range;01\""},
        {"SEQ:SPAR?", "+120.00,CONST,+0.00,CONST,+50.00,CONST,SIN,+0.0", kNoError},
        // Written again: the image below holds this step whatever the refusal left.
        {"SEQ:SPAR 120,CONST,0,CONST,50,CONST,SIN,0", nullptr, kNoError},
    };
    const ScpiStep leftForTheCalibration[] = {
        {"SYST:PASS 4145", nullptr, kNoError}, {"CAL:CONF:MODE EXIT", nullptr, kNoError},
        {"SYST:CONF:PHAS 0", nullptr, kNoError}, {"SYST:CONF SEQ;*OPC?", "1", kNoError},
        {"SYST:CONF?", "SEQ", kNoError}, {"SYST:CONF CONT;*OPC?", "1", kNoError},
    };
    // clang-format on
    Run(steps);
    const std::string program = AskBlock("DATA:SEQ:PRES?", "#71224324");
    Run(leftForTheCalibration);
    // The program with its 120 V step stored, then sent back from memory 1 with the output set to 100 V.
    Send("DATA:SEQ 1," + Block(program));
    EXPECT_EQ(Error(), kNoError);
    ASSERT_EQ(Ask("VOLT 100;*OPC?"), "1");
    Send("DATA:SEQ 4," + Block(AskBlock("DATA:SEQ? 1", "#71224324")));
    EXPECT_EQ(Error(), kNoError);
    EXPECT_EQ(Ask("VOLT 0;*OPC?"), "1");
}

}  // namespace
