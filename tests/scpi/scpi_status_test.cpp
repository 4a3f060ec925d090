// The IEEE 488.2 status model of a channel: error queue, standard event status, status byte and the
// register groups.
#include "scpi/scpi_status.h"

#include <gtest/gtest.h>

#include <string>

#include "scpi/scpi_errors.h"
#include "tests/scpi/scpi_channel_fixture.h"

namespace {

using scpitest::FakeChannel;
using scpitest::ParsedCommand;

TEST(ErrorQueue, SeventeenFailuresKeepFifteenAndTheOverflow) {
    FakeChannel ch;
    for (int i = 0; i < 17; ++i)
        ch.Send("X" + std::to_string(i) + "Y\n");
    EXPECT_EQ(scpiErrorQueueCount(&ch.ifc.errq), 16);
    char text[kScpiErrTextSize];
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(scpiErrorQueuePop(&ch.ifc.errq, text), kScpiErrUndefinedHeader) << i;
        // The entry carries the command as it arrived.
        EXPECT_EQ(std::string(text), "X" + std::to_string(i) + "Y") << i;
    }
    EXPECT_EQ(scpiErrorQueuePop(&ch.ifc.errq, text), kScpiErrQueueOverflow);
    EXPECT_STREQ(text, "");
    EXPECT_STREQ(g_ScpiErrTable[kScpiErrQueueOverflow], "-350,\"Queue overflow\"");
    EXPECT_EQ(scpiErrorQueuePop(&ch.ifc.errq, text), 0);
    EXPECT_STREQ(g_ScpiErrTable[0], "+0,\"No error\"");
}

TEST(ErrorQueue, PushRulesAndWrapAround) {
    ScpiErrorQueue q{};
    EXPECT_EQ(scpiErrorQueuePush(&q, 0, "x"), -1);
    // Long texts are cut to the slot and terminated.
    std::string longText(200, 'a');
    for (int round = 0; round < 3; ++round) {
        for (int i = 1; i <= 10; ++i)
            ASSERT_EQ(scpiErrorQueuePush(&q, i, longText.c_str()), 0);
        char text[kScpiErrTextSize];
        for (int i = 1; i <= 10; ++i) {
            ASSERT_EQ(scpiErrorQueuePop(&q, text), i);
            EXPECT_EQ(std::string(text), std::string(kScpiErrTextSize - 1, 'a'));
        }
    }
    for (int i = 0; i < 16; ++i)
        scpiErrorQueuePush(&q, 5, nullptr);
    EXPECT_EQ(scpiErrorQueuePush(&q, 5, nullptr), -1);
    scpiErrorQueueClear(&q);
    EXPECT_EQ(scpiErrorQueueCount(&q), 0);
    EXPECT_EQ(scpiErrorQueuePopIndex(&q), 0);
}

TEST(ErrorTable, IndicesAndTexts) {
    EXPECT_STREQ(g_ScpiErrTable[53], "-222,\"Data out of range\"");
    EXPECT_STREQ(g_ScpiErrTable[54], "-222,\"Data out of range;01\"");
    EXPECT_STREQ(g_ScpiErrTable[68], "-222,\"Data out of range;15\"");
    EXPECT_STREQ(g_ScpiErrTable[69], "-223,\"Too much data\"");
    EXPECT_STREQ(g_ScpiErrTable[112], "-310,\"System error\"");
    EXPECT_STREQ(g_ScpiErrTable[135], "-800,\"Operation complete\"");
    for (uint32_t i = 0; i < kScpiErrCount; ++i)
        ASSERT_NE(g_ScpiErrTable[i], nullptr) << i;
}

struct EsrCase {
    uint32_t index;
    uint16_t bit;
};

void PrintTo(const EsrCase& c, std::ostream* os) {
    *os << c.index;
}

class EsrClass : public ::testing::TestWithParam<EsrCase> {};

// Each error class sets its standard event bit when its command finishes.
TEST_P(EsrClass, SetsItsBit) {
    FakeChannel ch;
    const uint32_t index = GetParam().index;
    ch.handler = [index](const ParsedCommand& c) { return c.id == 13 ? index : 0u; };
    ch.Send("*TST?\n");
    EXPECT_EQ(scpiEsrGet(&ch.status), GetParam().bit) << g_ScpiErrTable[index];
    // Sticky: a good command leaves it.
    ch.Send("*CLS\n");
    EXPECT_EQ(scpiEsrGet(&ch.status), GetParam().bit);
}

const EsrCase kEsrCases[] = {
    {3, kEsrCme},   {40, kEsrCme},  {41, kEsrExe},  {52, kEsrExe},  {110, kEsrExe},
    {111, kEsrDde}, {126, kEsrDde}, {127, kEsrQye}, {128, kEsrQye}, {131, kEsrQye},
    {132, kEsrPon}, {133, kEsrUrq}, {134, kEsrRqc}, {135, 0},
};
INSTANTIATE_TEST_SUITE_P(Classes, EsrClass, ::testing::ValuesIn(kEsrCases));

TEST(StatusByte, ParserErrorsSetTheirClassBits) {
    FakeChannel ch;
    ch.Send("VOLTA\n");
    EXPECT_EQ(scpiEsrGet(&ch.status), kEsrCme);
    ch.Send("*ESE 4294967296\n");
    EXPECT_EQ(scpiEsrGet(&ch.status), kEsrCme | kEsrExe);
    // Error queue not empty: bit 2.
    EXPECT_EQ(scpiGetStatusByte(&ch.status) & 0x04, 0x04);
}

TEST(StatusByte, ServiceRequestOnACommittedReply) {
    FakeChannel ch;
    scpiSreSet(&ch.status, 0x10);
    ch.Send("*IDN?\n");
    EXPECT_EQ(scpiGetStatusByte(&ch.status), 0x50);
    EXPECT_EQ(ch.Transmit(), "5\n");
    EXPECT_EQ(scpiUpdateStatusByte(&ch.ifc), 0);
    EXPECT_EQ(scpiGetStatusByte(&ch.status), 0x00);
}

TEST(StatusByte, EventStatusSummaryFollowsEse) {
    FakeChannel ch;
    scpiEseSet(&ch.status, kEsrCme);
    scpiSreSet(&ch.status, 0x20);
    ch.Send("VOLTA\n");
    EXPECT_EQ(scpiGetStatusByte(&ch.status), 0x20 | 0x40 | 0x04);
}

struct GroupCase {
    int (*set)(ScpiStatusBlock*, uint32_t, uint16_t);
    uint16_t stbBit;
};

TEST(StatusByte, RegisterGroupsSummariseIntoTheirBits) {
    const GroupCase groups[] = {
        {scpiLockRegSet, 0x01}, {scpiWarnRegSet, 0x02}, {scpiQuesRegSet, 0x08}, {scpiOperRegSet, 0x80}};
    for (const GroupCase& g : groups) {
        FakeChannel ch;
        g.set(&ch.status, kRegEvent, 0x0100);
        scpiUpdateStatusByte(&ch.ifc);
        EXPECT_EQ(scpiGetStatusByte(&ch.status), 0) << "not enabled";
        g.set(&ch.status, kRegEnable, 0x0100);
        scpiUpdateStatusByte(&ch.ifc);
        EXPECT_EQ(scpiGetStatusByte(&ch.status), g.stbBit);
    }
}

TEST(StatusByte, RequestServiceSeesBitSevenOfThePreviousUpdate) {
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
    ScpiStatusBlock b;
    ASSERT_EQ(scpiStatusBlockInit(&b), 0);
    b.ques = ScpiRegGroup{};
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
    // Selectors 2 and 3 are NTR and PTR; the group stores PTR before NTR.
    scpiQuesRegSet(&b, kRegNtr, 0x11);
    scpiQuesRegSet(&b, kRegPtr, 0x22);
    EXPECT_EQ(b.ques.ntr, 0x11);
    EXPECT_EQ(b.ques.ptr, 0x22);
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
    scpiEsrSet(&b, 0x20);
    scpiStatusSetBits(&b, kChanConnected | kChanRxActivity);
    scpiStatusBlockDestroy(&b);
    ASSERT_EQ(scpiStatusBlockInit(&b), 0);
    EXPECT_EQ(scpiOperRegGet(&b, kRegEnable), 0x55);
    EXPECT_EQ(scpiSreGet(&b), 0);
    EXPECT_EQ(scpiEsrGet(&b), 0);
    EXPECT_EQ(scpiStatusIsConnected(&b), 0);
    EXPECT_EQ(scpiStatusSetBits(&b, kChanRxActivity | kChanTxActivity),
              kChanValid | kChanRxActivity | kChanTxActivity);
    EXPECT_EQ(scpiChanTakeActivity(&b), kChanValid | kChanRxActivity | kChanTxActivity);
    EXPECT_EQ(scpiStatusClearBits(&b, 0), kChanValid);
    scpiStatusBlockDestroy(&b);
}

}  // namespace
