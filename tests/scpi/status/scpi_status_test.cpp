// The IEEE 488.2 status model of a channel: error queue, standard event status, status byte and the
// register groups.
#include "scpi/status/scpi_status.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>

#include "scpi/parser/scpi_errors.h"
#include "tests/scpi/scpi_channel_fixture.h"

namespace {

using scpitest::FakeChannel;
using scpitest::ParsedCommand;

TEST(ErrorQueue, SeventeenFailuresKeepFifteenAndTheOverflowAndTheRingWraps) {
    FakeChannel ch;
    for (int i = 0; i < 17; ++i)
        ch.Send("X" + std::to_string(i) + "Y\n");
    EXPECT_EQ(scpiErrorQueueCount(&ch.ifc.errq), 16);
    char text[kScpiErrTextSize];
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(scpiErrorQueuePop(&ch.ifc.errq, text), kScpiErrUndefinedHeader) << i;
        EXPECT_EQ(std::string(text), "X" + std::to_string(i) + "Y");  // the command as it arrived
    }
    EXPECT_EQ(scpiErrorQueuePop(&ch.ifc.errq, text), kScpiErrQueueOverflow);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(scpiErrorQueuePop(&ch.ifc.errq, text), 0);
    ScpiErrorQueue q{};
    EXPECT_EQ(scpiErrorQueuePush(&q, 0, "x"), -1);
    const std::string longText(200, 'a');  // cut to the slot and terminated
    for (int round = 0; round < 3; ++round) {
        for (int i = 1; i <= 10; ++i)
            ASSERT_EQ(scpiErrorQueuePush(&q, i, longText.c_str()), 0);
        char text[kScpiErrTextSize];
        for (int i = 1; i <= 10; ++i) {
            ASSERT_EQ(scpiErrorQueuePop(&q, text), i);
            EXPECT_EQ(std::string(text), std::string(kScpiErrTextSize - 1, 'a'));
        }
    }
}

// Every entry is "<code>,"<text>"", and a command failing with it sets the standard event bit of its
// class (the hundreds of the code) and keeps it through later good commands.
TEST(ErrorTable, EachErrorSetsTheEventBitOfItsClass) {
    const std::regex entry("-([1-8])[0-9][0-9],\"[^\"]+\"");
    const uint16_t bitOfClass[9] = {0, kEsrCme, kEsrExe, kEsrDde, kEsrQye, kEsrPon, kEsrUrq, kEsrRqc, 0};
    for (uint32_t index = 1; index < kScpiErrCount; ++index) {
        std::cmatch m;
        ASSERT_TRUE(std::regex_match(g_ScpiErrTable[index], m, entry)) << index;
        FakeChannel ch;
        ch.handler = [index](const ParsedCommand& c) { return c.id == 13 ? index : 0u; };
        ch.Send("*TST?\n*CLS\n");
        EXPECT_EQ(scpiEsrGet(&ch.status), bitOfClass[std::atoi(m[1].str().c_str())]) << g_ScpiErrTable[index];
    }
}

TEST(StatusByte, SummaryBits) {
    FakeChannel ch;
    ch.Send("VOLTA\n");
    EXPECT_EQ(scpiGetStatusByte(&ch.status), 0x04);  // error queue not empty
    scpiEseSet(&ch.status, kEsrCme);
    scpiSreSet(&ch.status, 0x20);
    ch.Send("VOLTA\n");
    EXPECT_EQ(scpiGetStatusByte(&ch.status), 0x20 | 0x40 | 0x04);  // event summary, service request
    // A committed reply is message available; it goes once the reply is sent.
    FakeChannel reply;
    scpiSreSet(&reply.status, 0x10);
    reply.Send("*IDN?\n");
    EXPECT_EQ(scpiGetStatusByte(&reply.status), 0x50);
    EXPECT_EQ(reply.Transmit(), "5\n");
    EXPECT_EQ(scpiUpdateStatusByte(&reply.ifc), 0);
    EXPECT_EQ(scpiGetStatusByte(&reply.status), 0x00);
}

TEST(StatusByte, RegisterGroupsSummariseIntoTheirBits) {
    const std::pair<int (*)(ScpiStatusBlock*, uint32_t, uint16_t), uint16_t> groups[] = {
        {scpiLockRegSet, 0x01}, {scpiWarnRegSet, 0x02}, {scpiQuesRegSet, 0x08}, {scpiOperRegSet, 0x80}};
    for (const auto& [set, stbBit] : groups) {
        FakeChannel ch;
        set(&ch.status, kRegEvent, 0x0100);
        scpiUpdateStatusByte(&ch.ifc);
        EXPECT_EQ(scpiGetStatusByte(&ch.status), 0) << "not enabled";
        set(&ch.status, kRegEnable, 0x0100);
        scpiUpdateStatusByte(&ch.ifc);
        EXPECT_EQ(scpiGetStatusByte(&ch.status), stbBit);
    }
    // Request service sees bit 7 of the previous update.
    FakeChannel ch;
    scpiSreSet(&ch.status, 0x80);
    scpiOperRegSet(&ch.status, kRegEnable, 1);
    scpiOperRegSet(&ch.status, kRegEvent, 1);
    EXPECT_EQ(scpiUpdateStatusByte(&ch.ifc), 0);
    EXPECT_EQ(scpiGetStatusByte(&ch.status), 0x80);
    EXPECT_EQ(scpiUpdateStatusByte(&ch.ifc), 0x40);
    EXPECT_EQ(scpiGetStatusByte(&ch.status), 0xC0);
}

TEST(RegisterGroups, ConditionLatchesTransitions) {
    ScpiStatusBlock b{};
    ASSERT_EQ(scpiStatusBlockInit(&b), 0);
    EXPECT_EQ(scpiQuesRegSet(&b, kRegPtr, 4), 4);
    EXPECT_EQ(scpiQuesRegSet(&b, kRegCond, 4), 4);
    EXPECT_EQ(scpiQuesRegGet(&b, kRegEvent), 4);
    scpiQuesRegSet(&b, kRegEvent, 0);
    scpiQuesRegSet(&b, kRegCond, 0);  // falling edge, NTR 0
    EXPECT_EQ(scpiQuesRegGet(&b, kRegEvent), 0);
    scpiQuesRegSet(&b, kRegNtr, 4);
    scpiQuesRegSet(&b, kRegCond, 4);
    scpiQuesRegSet(&b, kRegCond, 0);
    EXPECT_EQ(scpiQuesRegGet(&b, kRegEvent), 4);
    EXPECT_EQ(scpiQuesRegGet(&b, kRegCond), 0);
    EXPECT_EQ(scpiQuesRegSet(&b, 5, 1), -1);
    EXPECT_EQ(scpiLockRegGet(&b, 7), -1);
    scpiStatusBlockDestroy(&b);
    EXPECT_EQ(scpiQuesRegGet(&b, kRegEvent), -1);
    EXPECT_EQ(scpiSreSet(&b, 1), -1);
    EXPECT_EQ(scpiGetStatusByte(&b), -1);
}

TEST(StatusBlock, InitClearsTheByteRegistersButKeepsTheGroups) {
    ScpiStatusBlock b;
    ASSERT_EQ(scpiStatusBlockInit(&b), 0);
    scpiOperRegSet(&b, kRegEnable, 0x55);
    scpiSreSet(&b, 0x10);
    scpiStatusSetBits(&b, kChanConnected | kChanRxActivity);
    scpiStatusBlockDestroy(&b);
    ASSERT_EQ(scpiStatusBlockInit(&b), 0);
    EXPECT_EQ(scpiOperRegGet(&b, kRegEnable), 0x55);
    EXPECT_EQ(scpiSreGet(&b), 0);  // the event status register too: the mailbox's restart test
    EXPECT_EQ(scpiStatusIsConnected(&b), 0);
    EXPECT_EQ(scpiStatusSetBits(&b, kChanRxActivity | kChanTxActivity),
              kChanValid | kChanRxActivity | kChanTxActivity);
    EXPECT_EQ(scpiChanTakeActivity(&b), kChanValid | kChanRxActivity | kChanTxActivity);
    EXPECT_EQ(scpiStatusClearBits(&b, 0), kChanValid);
    scpiStatusBlockDestroy(&b);
}

}  // namespace
