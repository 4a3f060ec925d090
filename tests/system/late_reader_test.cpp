// Clients of the serial line and the USB-GPIB adapter that send a long run of queries and read the replies
// only later, on one controller for the suite: every reply arrives and none is refused for want of room. Last, a stop while an RS232 client never reads.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <string>
#include <string_view>
#include <thread>

#include "tests/system/controller_fixture.h"
#include "tests/system/pty_fixture.h"

namespace {

using testsupport::PtyClient;
using testsupport::PtyClientPath;
using Clock = std::chrono::steady_clock;

// The replies of this many queries (some 37 bytes each) are more than the stand-in's line holds (about
// 50 KiB each way) together with the port's transmit queue.
constexpr int kQueries = 2000;
// Blanks before the line feed fill the line with few commands: once the controller stops taking them,
// the sender is held back.
const std::string kQuery = "*IDN?" + std::string(122, ' ') + "\n";
// A line that takes nothing for this long is held by the controller: it no longer reads.
constexpr int kHeldMs = 1000;
// The longest wait for the next reply of a controller that has its query.
constexpr int kReplyWaitMs = 15000;

const std::string kNoError = "+0,\"No error\"";
// The USB-GPIB driver's log line of a reply length announced, one per message answered.
const std::string kAnnounced = "qx_gpib 0x40040D0F ";

struct LateRun {
    bool held = false;  // the line stopped taking the queries before all were sent
    int replies = 0;    // lines equal to the identity
    int others = 0;     // any other line
    std::string firstOther;
};

std::string Queries() {
    std::string all;
    for (int i = 0; i < kQueries; ++i)
        all += kQuery;
    return all;
}

// Sends from *sent on, reading nothing, until all is sent (false) or the line is held (true).
bool SendUntilHeld(PtyClient& client, std::string_view out, size_t* sent) {
    while (*sent < out.size()) {
        *sent += client.SendSome(out.substr(*sent));
        if (*sent < out.size() && !client.Writable(kHeldMs)) return true;
    }
    return false;
}

// Sends the queries reading nothing until all are sent or the line is held; then reads the replies,
// sending the rest of the queries as the line takes them.
LateRun SendThenReadLate(PtyClient& client, const std::string& idn) {
    const std::string all = Queries();
    const std::string_view out = all;
    LateRun run;
    size_t sent = 0;
    run.held = SendUntilHeld(client, out, &sent);
    while (run.replies + run.others < kQueries) {
        if (sent < out.size()) sent += client.SendSome(out.substr(sent));
        const std::string line = client.ReadLine(kReplyWaitMs);
        if (line.empty()) break;
        if (line == idn) {
            ++run.replies;
        } else if (run.others++ == 0) {
            run.firstOther = line;
        }
    }
    return run;
}

class LateReader : public testsupport::SharedController {
  protected:
    // The USB-GPIB adapter is served only while its driver module is on the disk.
    static void SetUpTestSuite() { Start({{"/mnt/disk/qx_gpib.ko", "stand-in module\n"}}); }
    static size_t Logged(const std::string& text) {
        return testsupport::CountOf(testsupport::FileText(c().root() + "/var/log/devices.log"), text);
    }
    // Whether the adapter stops taking messages before `total` replies were announced: the count stays
    // for kHeldMs.
    static bool HeldBefore(size_t total) {
        size_t last = Logged(kAnnounced);
        auto since = Clock::now();
        for (const auto end = since + std::chrono::milliseconds(kReplyWaitMs); Clock::now() < end;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            const size_t now = Logged(kAnnounced);
            if (now >= total) return false;
            if (now != last) {
                last = now;
                since = Clock::now();
            } else if (Clock::now() - since >= std::chrono::milliseconds(kHeldMs)) {
                return true;
            }
        }
        return false;
    }
    static bool WaitLogged(const std::string& text, size_t count) {
        for (const auto end = Clock::now() + std::chrono::milliseconds(kReplyWaitMs); Logged(text) < count;) {
            if (Clock::now() > end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }
};

// The serial line, a real port of the running controller (the channels' own tests hold the USB device
// port's case).
TEST_F(LateReader, AnRs232ClientGetsEveryReply) {
    PtyClient rs232(PtyClientPath(c().root(), "ttyS1"));
    ASSERT_TRUE(rs232.Open());
    const std::string idn = rs232.AskUntilAnswered("*IDN?", 30000);
    ASSERT_FALSE(idn.empty()) << c().Output();
    ASSERT_EQ(rs232.Ask("*CLS;*OPC?"), "1");
    const LateRun run = SendThenReadLate(rs232, idn);
    EXPECT_TRUE(run.held) << "the controller took every query while its replies were not read";
    EXPECT_EQ(run.replies, kQueries) << run.firstOther;
    EXPECT_EQ(run.others, 0) << run.firstOther;
    EXPECT_EQ(rs232.Ask("SYST:ERR?"), kNoError);
}

// The GPIB channel reads a message only once the reply before it has left, so a client that reads late is
// held in the line; while the adapter waits for it to read, the bus is still served: a group execute
// trigger (none armed) is taken and queues its error, and no reply is lost or cut by it.
TEST_F(LateReader, AGpibClientGetsEveryReplyAndTheBusIsServedMeanwhile) {
    PtyClient gpib(PtyClientPath(c().root(), "qx_gpib", 30000));
    ASSERT_TRUE(gpib.Open()) << c().Output();
    ASSERT_FALSE(gpib.AskUntilAnswered("*IDN?", 30000).empty()) << c().Output();
    ASSERT_EQ(gpib.Ask("*CLS;*OPC?"), "1");
    // An arbitrary-waveform file: a block of 8260 bytes and the line feed. A dozen of them are more than
    // the line holds.
    const std::string query = "DATA:ARB:FILE? 1\n";
    constexpr size_t kReplySize = 6 + 8260 + 1;
    constexpr int kMessages = 12;
    ASSERT_TRUE(gpib.Send(query));
    const std::string reply = gpib.ReadBytes(kReplySize, kReplyWaitMs);
    ASSERT_EQ(reply.substr(0, 6), "#48260");
    ASSERT_EQ(reply.size(), kReplySize);
    ASSERT_EQ(reply.back(), '\n');
    const size_t announced = Logged(kAnnounced);
    std::string all;
    for (int i = 0; i < kMessages; ++i)
        all += query;
    ASSERT_TRUE(gpib.Send(all));
    ASSERT_TRUE(HeldBefore(announced + kMessages)) << "the controller sent every reply while none was read";
    const std::string trigger = "qx_gpib 0x80040D0B 0x0080";
    const size_t triggers = Logged(trigger);
    ASSERT_TRUE(Panel("gpib get"));
    EXPECT_TRUE(WaitLogged(trigger, triggers + 1))
        << "the trigger was not taken while the client read nothing";
    int replies = 0;
    for (int i = 0; i < kMessages; ++i)
        replies += gpib.ReadBytes(kReplySize, kReplyWaitMs) == reply ? 1 : 0;
    EXPECT_EQ(replies, kMessages);
    EXPECT_EQ(gpib.Ask("SYST:ERR?"), "-211,\"Trigger ignored\"");
    EXPECT_EQ(gpib.Ask("SYST:ERR?"), kNoError);
}

// Last in the suite: it stops the suite's controller. A channel that waits for its client to read still
// lets the program end.
TEST_F(LateReader, AStopEndsTheProgramWhileAnRs232ClientNeverReads) {
    PtyClient rs232(PtyClientPath(c().root(), "ttyS1"));
    ASSERT_TRUE(rs232.Open());
    ASSERT_FALSE(rs232.AskUntilAnswered("*IDN?", 30000).empty()) << c().Output();
    const std::string all = Queries();
    size_t sent = 0;
    EXPECT_TRUE(SendUntilHeld(rs232, all, &sent));
    constexpr int kStopMs = 15000;  // the settings saved on the way out take at most 5 s
    EXPECT_EQ(c().Stop(SIGTERM, kStopMs), 0) << c().Output();
}

}  // namespace
