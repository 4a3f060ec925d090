// The replies of a program message: joined with ";", committed with one line feed when the message
// ends, discarded when its last command failed; the command log.
#include <gtest/gtest.h>

#include "scpi/scpi_errors.h"
#include "tests/scpi/scpi_channel_fixture.h"

namespace {

using scpitest::FakeChannel;
using scpitest::ParsedCommand;

TEST(Replies, WhatAMessageTransmits) {
    const struct {
        const char* input;
        uint32_t failingId;  // a set command with this id fails
        const char* sent;
        const char* commands;
    } cases[] = {
        {"VOLT?;FREQ?\n", 0, "320;256\n", "320? o; 256?"},
        {"*IDN?\n*STB?\n", 0, "5\n11\n", "5?; 11?"},
        {"VOLT?;", 0, "", "320? o"},         // the message has not ended
        {"VOLT?;\n", 0, "320\n", "320? o"},  // an empty line after a trailing ";" ends it
        {"VOLT?;FREQ 99999\n", 256, "", "320? o; 256 i99999"},
        {"FREQ 1;VOLT 2\nVOLT 3\n", 256, "", "256 i1; 320 i3"},  // the rest of a failed message is skipped
    };
    for (const auto& c : cases) {
        FakeChannel ch;
        ch.handler = [&c](const ParsedCommand& p) {
            return p.id == c.failingId && !p.query ? uint32_t{kScpiErrExecution} : 0u;
        };
        ch.Send(c.input);
        EXPECT_EQ(ch.Transmit(), c.sent) << c.input;
        EXPECT_EQ(ch.Describe(), c.commands) << c.input;
        EXPECT_EQ(ch.PopErrors(), c.failingId != 0 ? "-200,\"Execution error\"" : "") << c.input;
        if (c.failingId != 0) {
            EXPECT_EQ(ch.port.txq.ring.used, 0) << "a discarded reply frees its room";
        }
    }
}

TEST(Replies, UsbPortsClearOrAnnounceTheReply) {
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

TEST(CommandLog, ErrorTextIsTheFailingCommandAndLinesRing) {
    FakeChannel ch;
    ch.Send("VOLT 1;FOO 2\n");
    char text[kScpiErrTextSize];
    EXPECT_EQ(scpiErrorQueuePop(&ch.ifc.errq, text), kScpiErrUndefinedHeader);
    // The text is the command as far as it was read when the error was found.
    EXPECT_STREQ(text, "FOO ");
    for (int i = 0; i < 20; ++i)
        ch.Send("*CLS\n");
    EXPECT_EQ(ch.ifc.log.wrapped, 1u);
    EXPECT_STREQ(ch.ifc.log.line[(ch.ifc.log.curLine + 15) % 16], "*CLS\\n");
    // A long command is cut at 63 characters.
    ch.Send("SYST:COMM:LAN:HOST '" + std::string(100, 'h') + "'\n");
    EXPECT_EQ(std::string(ch.ifc.log.line[(ch.ifc.log.curLine + 15) % 16]).size(), 63u);
}

}  // namespace
