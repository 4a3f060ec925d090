// The parser through a channel: program message text in; command ids, header suffixes and typed
// parameters, or the exact error text, out. Every table case runs with whole reads and byte by byte.
// Then the replies of a message.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/system/links/remote_state.h"
#include "core/system/state/output_flags.h"
#include "scpi/parser/scpi_errors.h"
#include "tests/scpi/scpi_channel_fixture.h"

namespace {

using scpitest::FakeChannel;
using scpitest::ParsedCommand;

struct Case {
    const char* input;
    const char* commands;  // as FakeChannel::Describe
    const char* errors;    // as FakeChannel::PopErrors
    uint32_t set = 0;      // g_ScpiCmdSetSel
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << '"' << c.input << '"';
}

class ParserTable : public ::testing::TestWithParam<Case> {};

TEST_P(ParserTable, ParsesAsExpected) {
    const Case& c = GetParam();
    g_ScpiCmdSetSel.store(c.set);
    for (uint32_t chunk : {1u << 30, 1u}) {
        FakeChannel ch;
        ch.readChunk = chunk;
        ch.Send(c.input);
        EXPECT_EQ(ch.Describe(), c.commands) << "read size " << chunk;
        EXPECT_EQ(ch.PopErrors(), c.errors) << "read size " << chunk;
        EXPECT_EQ(ch.parse.state, kParseHeader);
    }
    g_ScpiCmdSetSel.store(0);
}

const Case kHeaders[] = {
    // Relative and absolute headers, short and long forms, optional keywords (every short form with
    // every optional keyword: scpi_tree_test).
    {"source:vOlTaGe:ampl 100\n", "320 i100", ""},
    {"  VOLT   100  \n", "320 i100", ""},
    {"VOLT\t100\r\n", "320 i100", ""},
    {"VOLT 100;;FREQ 50\n", "320 i100; 256 i50", ""},
    // An empty line ends the message: the next one starts at the root.
    {"SOUR:VOLT 5;\nOUTP ON\n", "320 i5; 136 c1", ""},
    {"VOLT2 100\n", "", "-113,\"Undefined header\""},
    {"SOUR:VOLT 1;OUTP ON\n", "320 i1", "-113,\"Undefined header\""},
    {"A:B:C:D:E:F:G\n", "", "-113,\"Undefined header\""},
    {"VOLT::AMPL 1\n", "", "-102,\"Syntax error\""},
    {"?\n", "", "-103,\"Invalid separator\""},
    {"VOL'T 5'\n", "", "-111,\"Header separator error\""},
    // A message ending inside a quote opened after an error is invalid string data, and ends there.
    {"VOL'T 5\n*CLS\n", "2", "-151,\"Invalid string data\""},
    {"VOLT-5\n", "", "-113,\"Undefined header\""},
    {"(VOLT\n", "", "-101,\"Invalid character\""},
    // Numeric suffixes.
    {"DISP:MEAS:SOUR5 VRMS\n", "", "-114,\"Header suffix out of range\""},
    {"DISP:MEAS:SOUR0 VRMS\n", "", "-114,\"Header suffix out of range\""},
    {"DISP:MEAS:SOUR999999999999 VRMS\n", "", "-114,\"Header suffix out of range\""},
    {"DISP:MEAS:SOUR VRMS\n", "", "-131,\"Invalid suffix\""},
    {"DISP:MEAS:SOUR2 VRMS;SOUR3 IRMS\n", "45 s(-1,-1,2) c0; 45 s(-1,-1,3) c5", ""},
    // Common commands.
    {"*RST?\n", "", "-113,\"Undefined header\""},
    {"*RST:\n", "", "-102,\"Syntax error\""},
    {"VOLT*\n", "", "-102,\"Syntax error\""},
    {":*RST\n", "", "-102,\"Syntax error\""},
    // A common command leaves the path alone.
    {"*CLS;VOLT 5\n", "2; 320 i5", ""},
    {"SOUR:VOLT 5;*WAI;FREQ 50\n", "320 i5; 14; 256 i50", ""},
    {"SIM:NORM2:CODE 5;*WAI;FREQ 50\n", "301 s(-1,2,-1) i5; 14 s(-1,2,-1); 302 s(-1,2,-1) i50", ""},
    // A header from the root never inherits suffix values of another branch.
    {"SIM:NORM2:CODE 5;:OUTP:MON:SOUR1?\n", "301 s(-1,2,-1) i5; 131? s(-1,-1,1)", ""},
    // The alternate set, chosen by the selector (its forms: scpi_tree_test).
    {"DISP:MEAS:SOUR4 VRMS\n", "", "-114,\"Header suffix out of range\"", 1},
    {"SP 1,CONS,2,KEEP,3,SWE,SIN,4\n", "167 i1 c0 i2 c1 i3 c2 c16 i4", "", 1},
    {"VOLT 100\n", "", "-113,\"Undefined header\"", 1},
};
INSTANTIATE_TEST_SUITE_P(Headers, ParserTable, ::testing::ValuesIn(kHeaders));

const Case kParameters[] = {
    // Parameter counts and kinds.
    {"*ESE ;*CLS\n", "", "-109,\"Missing parameter\""},
    {"VOLT? maximum\n", "320? c1", ""},
    {"VOLT?;FREQ?\n", "320? o; 256?", ""},
    {"VOLT 100,\n", "320 i100", ""},
    {"VOLT 5,,6\n", "", "-102,\"Syntax error\""},
    {"VOLT?5\n", "", "-103,\"Invalid separator\""},
    {"VOLT?.5\n", "", "-121,\"Invalid character in number\""},
    {"VOLT? @\n", "", "-102,\"Syntax error\""},
    {"SYST:COMM:LAN:DNS 5\n", "", "-128,\"Numeric data not allowed\""},
    {"VOLT #15hello\n", "", "-168,\"Block data not allowed\""},
    {"VOLT (5)\n", "", "-178,\"Expression data not allowed\""},
    {"VOLT \x7f\n", "", "-101,\"Invalid character\""},
    {"VOLT \x01\n", "", "-109,\"Missing parameter\""},  // control codes are white space
    {"SEQ:CPAR 1,2,ON,3,OFF,END,7,ON,9,10,11,OFF,13,ON,OFF\n",
     "273 i1 i2 c1 i3 c0 c1 i7 c1 i9 i10 i11 c0 i13 c1 c0", ""},
    {"SEQ:CPAR 1,2,ON\n", "", "-109,\"Missing parameter\""},
    // Choices match by short or long form only; the first matching entry gives the value.
    {"mode ac-int\n", "322 c1", ""},
    {"MODE AC-I\n", "", "-224,\"Illegal parameter value\""},
    {"MODE AC+INT\n", "", "-224,\"Illegal parameter value\""},
    {"MODE ABCDEFGHIJKLMNOP\n", "", "-224,\"Illegal parameter value\""},  // no keyword has 16
    {"MODE AC INT\n", "", "-103,\"Invalid separator\""},
    {"MODE AC'\n", "", "-151,\"Invalid string data\""},
    {"FUNC ARB253\n", "257 c255", ""},
    {"FUNC ARB254\n", "", "-224,\"Illegal parameter value\""},
    {"SYST:ARB:EDIT:BUIL cfact\n", "162 c3", ""},
    // Numbers.
    {"VOLT 1e2\n", "320 r100", ""},
    {"VOLT .5\n", "320 r0.5", ""},
    {"VOLT -12.5E-1\n", "320 r-1.25", ""},
    {"VOLT 1 E 2\n", "320 r100", ""},
    {"VOLT +7\n", "320 i7", ""},
    {"VOLT 1E\n", "", "-131,\"Invalid suffix\""},
    {"VOLT 1Ex\n", "", "-131,\"Invalid suffix\""},
    {"VOLT 1E+\n", "", "-121,\"Invalid character in number\""},
    {"VOLT 1E x\n", "", "-121,\"Invalid character in number\""},
    {"VOLT 1E999\n", "", "-123,\"Exponent too large\""},
    {"VOLT 100V\n", "", "-131,\"Invalid suffix\""},
    {"VOLT 1m-V\n", "", "-131,\"Invalid suffix\""},
    {"VOLT 1V2\n", "", "-103,\"Invalid separator\""},
    {"VOLT 1 2\n", "", "-103,\"Invalid separator\""},
    {"VOLT 1.2.3\n", "", "-103,\"Invalid separator\""},
    {"VOLT 12(\n", "", "-101,\"Invalid character\""},
    {"VOLT 1_0\n", "", "-101,\"Invalid character\""},
    {"VOLT 1+2\n", "", "-121,\"Invalid character in number\""},
    {"VOLT +\n", "", "-121,\"Invalid character in number\""},
    {"VOLT -.\n", "", "-121,\"Invalid character in number\""},
    {"VOLT 5'\n", "", "-151,\"Invalid string data\""},
    {"*ESE 2147483647\n", "3 i2147483647", ""},
    {"*ESE -2147483648\n", "3 i-2147483648", ""},
    {"*ESE 2147483648\n", "", "-222,\"Data out of range\""},
    {"*ESE 4294967296\n", "", "-222,\"Data out of range\""},
    {"*ESE 99999999999999999999\n", "", "-222,\"Data out of range\""},
    {"*ESE #hff \n", "3 i255", ""},
    {"*ESE #B101\n", "3 i5", ""},
    {"*ESE #Q17\n", "3 i15", ""},
    {"*ESE #HFFFFFFFF\n", "3 i-1", ""},
    {"*ESE #H1FFFFFFFF\n", "", "-121,\"Invalid character in number\""},
    {"*ESE #B102\n", "", "-121,\"Invalid character in number\""},
    {"*ESE #H\n", "", "-121,\"Invalid character in number\""},
    {"*ESE #H1 2\n", "", "-103,\"Invalid separator\""},
    {"*ESE #X1\n", "", "-101,\"Invalid character\""},
    // Strings.
    {"DATA:WAVE:NAME 1,\"say \"\"hi\"\"\"\n", "40 i1 t\"say \"hi\"\"", ""},
    {"DATA:WAVE:NAME 1,''\n", "40 i1 t\"\"", ""},
    {"DATA:WAVE:NAME 1,'a;b,c' \n", "40 i1 t\"a;b,c\"", ""},
    {"DATA:WAVE:NAME 1,'a'b\n", "", "-103,\"Invalid separator\""},
    // A line feed before the closing quote ends the message; the next one parses on its own.
    {"DATA:WAVE:NAME 1,'ab\n*CLS\n", "2", "-151,\"Invalid string data\""},
    // Blocks.
    {"DATA:WAVE ARB1,#15hello!\n", "", "-160,\"Block data error\""},
    {"DATA:WAVE ARB1,#15a\nb\nc\n", "41 c0 b8:#15a\nb\nc", ""},
    {"DATA:WAVE ARB1,#0abc\n", "41 c0 b5:#0abc", ""},
    {"DATA:WAVE ARB1,#10\n", "41 c0 b3:#10", ""},
    {"DATA:WAVE ARB1,#2x5hello\n", "", "-161,\"Invalid block data\""},
    {"DATA:WAVE ARB1,#15hello\n*CLS\n", "41 c0 b8:#15hello; 2", ""},
    // A message unit may follow a definite-length block; an indefinite one runs to the line feed.
    {"DATA:WAVE ARB1,#15hello;*CLS\n", "41 c0 b8:#15hello; 2", ""},
    {"DATA:WAVE ARB1,#15he;lo;:VOLT 1\n", "41 c0 b8:#15he;lo; 320 i1", ""},
    {"DATA:WAVE ARB1,#0ab;*CLS\n", "41 c0 b9:#0ab;*CLS", ""},
    {"DATA:WAVE ARB1,#15hello,2\n", "", "-160,\"Block data error\""},
    {"DATA:WAVE ARB1,#15hello *CLS\n", "", "-160,\"Block data error\""},
    // White space may stand between a definite-length block and the end of its message or unit: the CR of
    // a CR LF line end. Any other byte there is a miscount: one byte short, the line feed was data.
    {"DATA:WAVE ARB1,#15hello\r\n*CLS\n", "41 c0 b8:#15hello; 2", ""},
    {"DATA:WAVE ARB1,#15hello \t ;*CLS\n", "41 c0 b8:#15hello; 2", ""},
    {"DATA:WAVE ARB1,#15hello!\r\n", "", "-160,\"Block data error\""},
    {"DATA:WAVE ARB1,#15hello\r!\n", "", "-160,\"Block data error\""},
    {"DATA:WAVE ARB1,#15hell\n*CLS\n", "", "-160,\"Block data error\""},
};
INSTANTIATE_TEST_SUITE_P(Parameters, ParserTable, ::testing::ValuesIn(kParameters));

TEST(Parser, InputInPiecesAndOverlongTokens) {
    FakeChannel ch;
    for (char c : std::string("SOUR:VOLT 1.5;FREQ 50;:DATA:WAVE ARB2,#213abcdefghijklm\n"))
        ch.Send(std::string(1, c));
    EXPECT_EQ(ch.Describe(), "320 r1.5; 256 i50; 41 c1 b17:#213abcdefghijklm");
    EXPECT_EQ(ch.PopErrors(), "");
    // Over-long tokens are refused without overrun, and the next message parses.
    std::string manyParams = "SEQ:CPAR 1";
    for (int i = 0; i < 120; ++i)
        manyParams += ",1";
    const std::pair<std::string, const char*> cases[] = {
        {"VOLT " + std::string(10000, '7'), "-124,\"Too many digits\""},
        {"MODE " + std::string(10000, 'a'), "-144,\"Character data too long\""},
        {"DATA:WAVE:NAME 1,'" + std::string(256, 'x') + "'", "-223,\"Too much data\""},
        {"DATA:WAVE:NAME 1,'" + std::string(10000, 'x') + "'", "-223,\"Too much data\""},
        {"VOLT 1" + std::string(10000, 'v'), "-134,\"Suffix too long\""},
        {"*ESE #H" + std::string(10000, 'F'), "-124,\"Too many digits\""},
        {std::string(10000, 'V'), "-112,\"Program mnemonic too long\""},
        {"VOLT" + std::string(10000, '9'), "-112,\"Program mnemonic too long\""},
        {manyParams, "-115,\"Unexpected number of parameters\""},
        {"DATA:WAVE ARB1,#0" + std::string(kScpiDataAreaSize, 'x'), "-160,\"Block data error\""},
    };
    for (const auto& [input, error] : cases) {
        FakeChannel ch;
        ch.Send(input + "\n*CLS\n");
        EXPECT_EQ(ch.PopErrors(), error) << input.substr(0, 20);
        EXPECT_EQ(ch.Describe(), "2") << "the next message parses: " << input.substr(0, 20);
    }
    // A string of 255 characters is taken whole.
    ch.Reset();
    ch.Send("DATA:WAVE:NAME 1,'" + std::string(255, 'x') + "'\n");
    ASSERT_EQ(ch.commands.size(), 1u);
    EXPECT_EQ(std::string(ch.commands[0].bytes[1].c_str()), std::string(255, 'x'));
}

// The error queue keeps the text of the failed command, a block's bytes with it, whole reads or not.
TEST(Parser, TheErrorsCommandTextKeepsTheBlocksBytes) {
    for (uint32_t chunk : {1u << 30, 1u}) {
        FakeChannel ch;
        ch.readChunk = chunk;
        ch.Send("DATA:WAVE ARB1,#15hello,2\n");
        ASSERT_EQ(ch.ifc.errq.count, 1) << chunk;
        EXPECT_NE(std::string(ch.ifc.errq.text[ch.ifc.errq.readIdx]).find("#15hello"), std::string::npos)
            << chunk << ": " << ch.ifc.errq.text[ch.ifc.errq.readIdx];
    }
}

// A block longer than the space the items before it left is refused and exactly its declared bytes
// are dropped; one that fills the area (with the choice item before it, "#7" and 7 digits) is taken; a
// declared length no command can hold is refused at once and the next message is taken.
TEST(Parser, BlockLengthAgainstTheDataAreaAndAHeaderNotYetKnown) {
    FakeChannel ch;
    const uint32_t fits = kScpiDataAreaSize - 9 - 4;
    ch.Send("DATA:WAVE ARB1,#7" + std::to_string(fits) + std::string(fits, 'z') + "\n");
    ASSERT_EQ(ch.commands.size(), 1u) << ch.PopErrors();
    EXPECT_EQ(ch.commands[0].bytes[1].size(), fits + 9);
    std::string data(fits + 1, '\n');  // line feeds inside the data must not end anything
    for (uint32_t i = 0; i < data.size(); i += 7)
        data[i] = ';';
    ch.Reset();
    ch.Send("DATA:WAVE ARB1,#7" + std::to_string(fits + 1) + data + "\n*CLS\n");
    EXPECT_EQ(ch.PopErrors(), "-223,\"Too much data\"");
    EXPECT_EQ(ch.Describe(), "2");
    for (const char* declared : {"#9999999999", "#71573880"}) {
        ch.Reset();
        ch.Send(std::string("DATA:WAVE ARB1,") + declared);
        EXPECT_EQ(ch.parse.errIndex, kScpiErrTooMuchData) << declared;
        ch.Send("xx\n*CLS\n");
        EXPECT_EQ(ch.PopErrors(), "-223,\"Too much data\"") << declared;
        EXPECT_EQ(ch.Describe(), "2") << declared;
    }
    // The command is not known yet while its header is read: RLSTate must find a local panel local.
    ch.Reset();
    g_OutputFlags.store(0);
    RemoteStateSet(kRemoteLocal);
    ch.Send("SYST:COMM:RLST?");
    EXPECT_EQ(RemoteStateGet(), kRemoteLocal);
    EXPECT_FALSE(OutputFlagTest(kOutFlagRemote));
    ch.Send("\n");
}

TEST(Parser, ChangedSelectorMovesTheChannelToTheNewRoot) {
    FakeChannel ch;
    ch.Send("SOUR:VOLT 5;");
    g_ScpiCmdSetSel.store(1);
    scpi::ReselectCmdSet(&ch.ifc);
    EXPECT_EQ(ch.ifc.cmdSet, &g_ScpiCmdSets[1]);
    ch.Send("AC 5\n");
    EXPECT_EQ(ch.Describe(), "320 i5; 203 i5");
    // A reset after a selector change (at the end of a command) also takes the new set's root.
    g_ScpiCmdSetSel.store(0);
    ch.Reset();
    ch.Send("DATA:SEQ:CLE 1");
    g_ScpiCmdSetSel.store(1);
    ch.Send(";AC 5\n");
    g_ScpiCmdSetSel.store(0);
    EXPECT_EQ(ch.Describe(), "22 i1; 203 i5");
    EXPECT_EQ(ch.PopErrors(), "");
}

// The replies of a program message are committed with one line feed when it ends. Every query of it
// has its field in that line: a failed query (its reply dropped) and each query skipped after a failure
// an empty one, so that a client never waits for a line that does not come. A message without a query
// sends nothing.
TEST(Replies, OneLinePerMessageWithAFieldForEveryQuery) {
    const struct {
        const char *input, *sent, *commands, *errors;
    } cases[] = {
        {"VOLT?;", "", "320? o", ""},         // the message has not ended
        {"VOLT?;\n", "320\n", "320? o", ""},  // an empty line after a trailing ";" ends it
        // A failed set command: the reply before it stays.
        {"VOLT?;FREQ 1;VOLT 2\nVOLT 3\n", "320\n", "320? o; 256 i1; 320 i3", "-200,\"Execution error\""},
        {"FREQ 1\n", "", "256 i1", "-200,\"Execution error\""},
        {"FREQ?\n", "\n", "256?", "-200,\"Execution error\""},
        // The failed query's field is empty; the query skipped after it has one too.
        {"VOLT?;FREQ?;*IDN?\n", "320;;\n", "320? o; 256? o", "-200,\"Execution error\""},
        {"VOLT?;NOPE?;VOLT?\n", "320;;\n", "320? o", "-113,\"Undefined header\""},
        // A "?" inside a skipped string is no query.
        {"FREQ 1;SYST:PASS 'a?b';VOLT?\n", "\n", "256 i1", "-200,\"Execution error\""},
        // Nor is one among a skipped block's bytes: a message of set commands owes no line.
        {"FREQ 1;VOLT #14a?b?\n", "", "256 i1", "-200,\"Execution error\""},
        // A set command's block too large for any command is no reply overflow: nothing is owed.
        {"VOLT #9999999999\n", "", "", "-223,\"Too much data\""},
    };
    for (const auto& c : cases) {
        FakeChannel ch;
        ch.handler = [](const ParsedCommand& p) { return p.id == 256 ? uint32_t{kScpiErrExecution} : 0u; };
        ch.Send(c.input);
        EXPECT_EQ(ch.Transmit(), c.sent) << c.input;
        if (std::strchr(c.input, '\n') != nullptr) {
            EXPECT_EQ(ch.port.txq.ring.used, 0) << c.input << ": a dropped reply frees its room";
        }
        EXPECT_EQ(ch.Describe(), c.commands) << c.input;
        EXPECT_EQ(ch.PopErrors(), c.errors) << c.input;
    }
    FakeChannel cdc(kChanUsbCdc);
    cdc.ifc.deviceClear = 1;
    cdc.Send("*IDN?\n");
    EXPECT_EQ(cdc.Transmit(), "");
    FakeChannel gpib(kChanUsbGpib);
    gpib.Send("*IDN?\n");
    bool announced = false;
    for (const auto& c : gpib.controls)
        announced |= c.first == kPortCtlAnnounceLength;
    EXPECT_TRUE(announced);
    EXPECT_EQ(gpib.Transmit(), "5\n");
}

}  // namespace
