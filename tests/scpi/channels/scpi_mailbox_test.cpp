// The request mailbox: another thread asks the channel thread to reset, enable, disable or reconfigure
// its port, and waits until it has.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <thread>

#include "platform/host/clock.h"
#include "scpi/status/scpi_status.h"
#include "tests/scpi/scpi_channel_fixture.h"

namespace {

using scpitest::FakeChannel;

// The channel thread's part: one mailbox poll per pass, until the thread object goes.
std::jthread ChannelThread(FakeChannel* ch) {
    return std::jthread([ch](std::stop_token stop) {
        while (!stop.stop_requested()) {
            scpiMailboxPoll(&ch->ifc);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
}

bool HasControl(const FakeChannel& ch, int32_t code) {
    return std::any_of(ch.controls.begin(), ch.controls.end(), [code](auto& c) { return c.first == code; });
}

TEST(Mailbox, RequestsAreHandledByTheChannelBeforeThePosterReturns) {
    FakeChannel ch;
    ch.Send("SOUR:VOLT 5;FREQ");  // a header half read
    {
        auto thread = ChannelThread(&ch);
        EXPECT_EQ(scpiPostInterfaceRequest(&ch.status, kReqEnable | kReqResetParser, 0), 0);
        EXPECT_EQ(scpiChanIsEnabled(&ch.status), 1);

        uint8_t settings[kScpiReqBlockSize];
        for (uint32_t i = 0; i < sizeof(settings); ++i)
            settings[i] = static_cast<uint8_t>(i + 1);
        EXPECT_EQ(scpiPostInterfaceRequest(&ch.status, kReqSetBlock | kReqSetValue,
                                           reinterpret_cast<uintptr_t>(settings)),
                  0);
        // The 60-byte block went to the port's terminal settings, the value to control 6.
        EXPECT_EQ(std::memcmp(&ch.port.inUse, settings, sizeof(settings)), 0);
        EXPECT_TRUE(HasControl(ch, kPortCtlSerialApply));
        EXPECT_TRUE(HasControl(ch, kPortCtlRearm));

        // Enable and disable in one request: disable is handled last.
        EXPECT_EQ(scpiPostInterfaceRequest(&ch.status,
                                           kReqEnable | kReqDisable | kReqResetPort | kReqClearOutput, 0),
                  0);
        EXPECT_EQ(scpiChanIsEnabled(&ch.status), 0);
        EXPECT_TRUE(HasControl(ch, kPortCtlReset));
        EXPECT_TRUE(HasControl(ch, kPortCtlClearOutput));
    }
    // The parser reset took the channel back to the root.
    EXPECT_EQ(ch.parse.curNode, scpi::CmdSetDesc(&ch.ifc)->mainRoot);
    ch.Send("OUTP ON\n");
    EXPECT_EQ(ch.Describe(), "320 i5; 136 c1");
}

TEST(Mailbox, PosterGivesUpOnAChannelThatDoesNotRun) {
    FakeChannel ch;
    plat::SetTimeScale(100.0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(scpiPostInterfaceRequest(&ch.status, kReqEnable, 0), -1);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_LT(waited, std::chrono::milliseconds(500));
    // The request stays pending and is handled when the channel runs.
    scpiMailboxPoll(&ch.ifc);
    EXPECT_EQ(scpiChanIsEnabled(&ch.status), 1);
    // Its late "done" is not taken for the next request's.
    EXPECT_EQ(scpiPostInterfaceRequest(&ch.status, kReqDisable, 0), -1);
    plat::SetTimeScale(1.0);
    scpiMailboxPoll(&ch.ifc);
    EXPECT_EQ(scpiChanIsEnabled(&ch.status), 0);
    // A block that is not valid, or none, refuses posts at once.
    ScpiStatusBlock invalid;
    invalid.chanFlags.store(0);
    EXPECT_EQ(scpiPostInterfaceRequest(&invalid, kReqEnable, 0), -1);
    EXPECT_EQ(scpiPostInterfaceRequest(nullptr, kReqEnable, 0), -1);
}

TEST(Mailbox, RequestsWaitWhileACommandIsInFlight) {
    FakeChannel ch;
    plat::SetTimeScale(100.0);
    for (uint32_t busy : {kParsePosted, kParseDeferred}) {
        ch.parse.state = busy;
        ch.ifc.deferredState = busy == kParseDeferred ? 2 : 0;
        // The menu/control thread holds the context, or the reply still drains: nothing is reset.
        EXPECT_EQ(scpiPostInterfaceRequest(&ch.status, kReqResetParser | kReqEnable, 0), -1);
        scpiMailboxPoll(&ch.ifc);
        EXPECT_EQ(ch.parse.state, busy);
        EXPECT_EQ(ch.ifc.deferredState, busy == kParseDeferred ? 2u : 0u);
        EXPECT_EQ(scpiChanIsEnabled(&ch.status), 0);
        // Once the command is over the request is carried out.
        ch.parse.state = kParseHeader;
        ch.ifc.deferredState = 0;
        scpiMailboxPoll(&ch.ifc);
        EXPECT_EQ(scpiChanIsEnabled(&ch.status), 1);
        scpiStatusClearBits(&ch.status, kChanEnabled);
    }
    plat::SetTimeScale(1.0);
}

TEST(Mailbox, ChannelThatStartsAgainKeepsItsSemaphoresAndDropsOldRequests) {
    FakeChannel ch;
    plat::SetTimeScale(100.0);
    EXPECT_EQ(scpiPostInterfaceRequest(&ch.status, kReqEnable, 0), -1);  // nobody serves it
    plat::SetTimeScale(1.0);
    ch.status.esr = 4;
    ASSERT_EQ(scpiStatusBlockInit(&ch.status), 0);  // the channel thread starts again
    EXPECT_EQ(ch.status.esr, 0);
    scpiMailboxPoll(&ch.ifc);
    EXPECT_EQ(scpiChanIsEnabled(&ch.status), 0);  // the old thread's request went with it
    // A poster is served by the new thread through the same semaphores.
    auto thread = ChannelThread(&ch);
    EXPECT_EQ(scpiPostInterfaceRequest(&ch.status, kReqEnable, 0), 0);
    EXPECT_EQ(scpiChanIsEnabled(&ch.status), 1);
}

}  // namespace
