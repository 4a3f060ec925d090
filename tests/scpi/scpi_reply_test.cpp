// The replies of a program message: joined with ";", committed with one line feed when the message
// ends, discarded when its last command failed.
#include <gtest/gtest.h>

#include "scpi/scpi_errors.h"
#include "tests/scpi/scpi_channel_fixture.h"

namespace {

using scpitest::FakeChannel;
using scpitest::ParsedCommand;

TEST(Replies, OneLineForTheQueriesOfAMessage) {
    FakeChannel ch;
    ch.Send("VOLT?;FREQ?\n");
    EXPECT_EQ(ch.Transmit(), "320;256\n");
    ch.Send("*IDN?\n*STB?\n");
    EXPECT_EQ(ch.Transmit(), "5\n11\n");
}

TEST(Replies, EmptyLineAfterATrailingSemicolonEndsTheMessage) {
    FakeChannel ch;
    ch.Send("VOLT?;");
    EXPECT_EQ(ch.Transmit(), "");
    ch.Send("\n");
    EXPECT_EQ(ch.Transmit(), "320\n");
}

TEST(Replies, FailingLastCommandDiscardsTheMessagesReplies) {
    FakeChannel ch;
    ch.handler = [](const ParsedCommand& c) {
        return c.id == 256 && !c.query ? uint32_t{kScpiErrDataOutOfRange} : 0u;
    };
    ch.Send("VOLT?;FREQ 99999\n");
    EXPECT_EQ(ch.Transmit(), "");
    EXPECT_EQ(ch.PopErrors(), "-222,\"Data out of range\"");
    // The ring space of the discarded reply is free again.
    EXPECT_EQ(ch.port.txq.ring.used, 0);
    ch.Send("VOLT?\n");
    EXPECT_EQ(ch.Transmit(), "320\n");
}

TEST(Replies, FailedCommandInTheMiddleSkipsTheRest) {
    FakeChannel ch;
    ch.handler = [](const ParsedCommand& c) { return c.id == 256 ? uint32_t{kScpiErrExecution} : 0u; };
    ch.Send("FREQ 1;VOLT 2\nVOLT 3\n");
    EXPECT_EQ(ch.Describe(), "256 i1; 320 i3");
    EXPECT_EQ(ch.PopErrors(), "-200,\"Execution error\"");
}

TEST(Replies, UsbCdcDeviceClearDiscards) {
    FakeChannel ch(kChanUsbCdc);
    ch.ifc.deviceClear = 1;
    ch.Send("*IDN?\n");
    EXPECT_EQ(ch.Transmit(), "");
}

TEST(Replies, UsbGpibAnnouncesTheCommittedReply) {
    FakeChannel ch(kChanUsbGpib);
    ch.Send("*IDN?\n");
    bool announced = false;
    for (const auto& c : ch.controls)
        announced |= c.first == kPortCtlAnnounceLength;
    EXPECT_TRUE(announced);
    EXPECT_EQ(ch.Transmit(), "5\n");
}

TEST(Replies, CommandBlockCarriesTheChannel) {
    FakeChannel ch(kChanUart);
    ch.Send("*CLS\n");
    EXPECT_EQ(ch.cmd->channelId, static_cast<uint32_t>(kChanUart));
    EXPECT_EQ(ch.ifc.handOver.type, 10u);
    EXPECT_EQ(ch.ifc.handOver.ifc, &ch.ifc);
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

TEST(CommandSets, ResetAfterASelectorChangeStartsAtTheNewRoot) {
    FakeChannel ch;
    ch.Send("DATA:SEQ:CLE 1");
    g_ScpiCmdSetSel.store(1);
    ch.Send(";AC 5\n");  // the reset after CLEar took the new set, whose root AC is under
    g_ScpiCmdSetSel.store(0);
    EXPECT_EQ(ch.Describe(), "22 i1; 203 i5");
    EXPECT_EQ(ch.PopErrors(), "");
}

}  // namespace
