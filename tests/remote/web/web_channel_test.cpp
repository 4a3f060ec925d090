// The web channel "UNIX SOCKET" in-process: frames from a websocket client through the channel's passes,
// replies as one frame each, one client at a time, and what a departed client leaves.
#include "remote/web/web_channel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <mutex>
#include <string>
#include <vector>

#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "remote/web/web_frame.h"
#include "scpi/channels/scpi_channels.h"
#include "scpi/parser/scpi_parse_state.h"

namespace {

std::mutex g_sentLock;
std::vector<std::string> g_sent;  // frames, tagged with the client they went to
int g_clientA = 0, g_clientB = 0;
// A client that does not read: its frame is recorded, then the send waits while held (at most 10 s) and
// fails when told to.
std::atomic<bool> g_holdSends{false}, g_failSends{false};

bool Record(void* client, const char* data, size_t length, bool binary) {
    {
        std::lock_guard<std::mutex> lock(g_sentLock);
        g_sent.push_back((client == &g_clientA ? "A:" : "B:") + std::string(binary ? "(binary)" : "") +
                         std::string(data, length));
    }
    for (int i = 0; i < 1000 && g_holdSends.load(); ++i)
        plat::SleepMs(10);
    return !g_failSends.load();
}

void RecordClose(void* client) {
    Record(client, "(close)", 7, false);
}

class WebChannelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(scpiStatusBlockInit(&scpi::g_StatusWeb), 0);
        SysStatusSet(kSysMenuThreadRunning);
        SysStatusSet(kSysReady);
        web::WebChannelStart({Record, RecordClose, nullptr});
        std::lock_guard<std::mutex> lock(g_sentLock);
        g_sent.clear();
    }
    void TearDown() override {
        g_holdSends.store(false);
        g_failSends.store(false);
        plat::SetTimeScale(1);
        web::WebChannelStopping();
        web::WebChannelEnd();
    }
    static void Connect(int* client) {
        ASSERT_TRUE(web::WebClientClaim(client));
        web::WebClientReady(client);
    }
    static bool Frame(int* client, const std::string& text) {
        return web::WebClientFrame(client, text.data(), text.size());
    }
    // Serves until `count` frames have gone out (at most 2 s); the frames sent.
    static std::vector<std::string> Serve(size_t count) {
        for (int i = 0; i < 100; ++i) {
            {
                std::lock_guard<std::mutex> lock(g_sentLock);
                if (g_sent.size() >= count) break;
            }
            web::WebChannelServe(20);
        }
        std::lock_guard<std::mutex> lock(g_sentLock);
        return g_sent;
    }
};

TEST_F(WebChannelTest, FrameIsAProgramMessageAndEachReplyOneFrameWithTheWebChannelsErrors) {
    Connect(&g_clientA);
    ASSERT_TRUE(Frame(&g_clientA, "DATA:SEQ? 0"));
    ASSERT_TRUE(Frame(&g_clientA, "SYST:ERR?\n"));
    ASSERT_TRUE(web::WebClientFrame(&g_clientA, "*ESE?;", 6, false));  // one message in two fragments
    ASSERT_TRUE(Frame(&g_clientA, "SYST:ERR?"));
    // The refused query is answered with an empty line.
    const std::vector<std::string> want = {"A:\n", "A:-292,\"Referenced name does not exist\"\n",
                                           "A:+0;+0,\"No error\"\n"};
    EXPECT_EQ(Serve(3), want);
}

TEST_F(WebChannelTest, OneClientAtATimeAndADepartedClientsInputIsDropped) {
    Connect(&g_clientA);
    EXPECT_FALSE(web::WebClientClaim(&g_clientB));
    ASSERT_TRUE(Frame(&g_clientA, "DATA:SEQ? 0"));
    web::WebClientLeave(&g_clientA);
    EXPECT_FALSE(Frame(&g_clientA, "SYST:ERR?"));  // a client that has gone is closed
    Connect(&g_clientB);
    ASSERT_TRUE(Frame(&g_clientB, "SYST:ERR?"));
    EXPECT_EQ(Serve(2), (std::vector<std::string>{"B:+0,\"No error\"\n"}));
}

TEST_F(WebChannelTest, AClientWhoseHandshakeNeverEndsIsReplacedAfterFiveSeconds) {
    plat::SetTimeScale(100);
    ASSERT_TRUE(web::WebClientClaim(&g_clientA));
    EXPECT_FALSE(web::WebClientClaim(&g_clientB));
    plat::SleepMs(5000);
    Connect(&g_clientB);
    web::WebClientReady(&g_clientA);  // too late: B is the client
    web::WebClientLeave(&g_clientA);
    plat::SetTimeScale(1);
    ASSERT_TRUE(Frame(&g_clientB, "SYST:ERR?"));
    EXPECT_EQ(Serve(1), (std::vector<std::string>{"B:+0,\"No error\"\n"}));
}

TEST_F(WebChannelTest, AFrameLongerThanTheReceiveBufferIsFedAsTheChannelReadsAndGivesUpWhenNobodyReads) {
    Connect(&g_clientA);
    std::string big;
    big.assign(3 * web::kWebRxSize, '\n');  // empty lines do nothing
    big += "*ESE?";
    auto sent = std::async(std::launch::async, [&big] { return Frame(&g_clientA, big); });
    EXPECT_EQ(Serve(1), (std::vector<std::string>{"A:+0\n"}));
    EXPECT_TRUE(sent.get());

    plat::SetTimeScale(100);
    const uint64_t start = plat::NowMs();
    EXPECT_FALSE(Frame(&g_clientA, big));
    EXPECT_GE(plat::NowMs() - start, uint64_t{web::kWebFrameWaitMs});
}

// A frame, or a message in fragments, longer than one command's data closes its client before a byte of
// it is taken.
TEST_F(WebChannelTest, AFrameOrMessagePastTheLimitIsRefusedWhole) {
    Connect(&g_clientA);
    const std::string huge(kScpiDataAreaSize + 1, ' ');
    EXPECT_FALSE(Frame(&g_clientA, huge));
    ASSERT_TRUE(web::WebClientFrame(&g_clientA, "*ESE?;", 6, false));
    EXPECT_FALSE(web::WebClientFrame(&g_clientA, huge.data(), kScpiDataAreaSize - 5, false));
    char buffer[16];
    EXPECT_EQ(web::kWebIoOps.read(buffer, sizeof buffer, 0), 6);  // the first fragment alone
    EXPECT_EQ(std::string(buffer, 6), "*ESE?;");
}

// A client that has sent nothing for the idle time gives its place to a newcomer: it is asked to close,
// its input is dropped, and its frames are refused from then on.
TEST_F(WebChannelTest, AnIdleClientGivesItsPlaceToANewcomer) {
    Connect(&g_clientA);
    plat::SetTimeScale(100);
    plat::SleepMs(static_cast<uint32_t>(web::kWebIdleHandOverMs / 2));
    ASSERT_TRUE(web::WebClientFrame(&g_clientA, "*ESE?;", 6, false));
    plat::SleepMs(static_cast<uint32_t>(web::kWebIdleHandOverMs / 2));
    EXPECT_FALSE(web::WebClientClaim(&g_clientB)) << "A sent a frame within the idle time";
    plat::SleepMs(static_cast<uint32_t>(web::kWebIdleHandOverMs / 2) + 100);
    plat::SetTimeScale(1);
    Connect(&g_clientB);
    EXPECT_FALSE(Frame(&g_clientA, "*ESE 4"));
    ASSERT_TRUE(Frame(&g_clientB, "*ESE?"));
    EXPECT_EQ(Serve(2), (std::vector<std::string>{"A:(close)", "B:+0\n"}));
}

// A client replaced by a newcomer just before the interface stops is asked to close by the stop itself,
// before the newcomer.
TEST_F(WebChannelTest, AClientReplacedJustBeforeAStopIsAskedToCloseByIt) {
    Connect(&g_clientA);
    plat::SetTimeScale(100);
    plat::SleepMs(static_cast<uint32_t>(web::kWebIdleHandOverMs) + 100);
    plat::SetTimeScale(1);
    Connect(&g_clientB);
    web::WebChannelStopping();
    std::lock_guard<std::mutex> lock(g_sentLock);
    EXPECT_EQ(g_sent, (std::vector<std::string>{"A:(close)", "B:(close)"}));
}

// A reply that cannot go out holds nothing but its own client: a newcomer is answered while the send
// hangs, and a send that fails drops the client, whose place is then free.
TEST_F(WebChannelTest, ASendThatHangsHoldsNoOneElseAndOneThatFailsDropsItsClient) {
    Connect(&g_clientA);
    g_holdSends.store(true);
    ASSERT_TRUE(Frame(&g_clientA, "*ESE?"));
    auto serving = std::async(std::launch::async, [] { return Serve(1); });
    for (int i = 0; i < 500 && Serve(0).empty(); ++i)
        plat::SleepMs(10);
    auto claim = std::async(std::launch::async, [] { return web::WebClientClaim(&g_clientB); });
    ASSERT_EQ(claim.wait_for(std::chrono::seconds(5)), std::future_status::ready) << "the claim waited on the send";
    EXPECT_FALSE(claim.get()) << "A is active";
    g_holdSends.store(false);
    serving.get();

    g_failSends.store(true);
    ASSERT_TRUE(Frame(&g_clientA, "*ESE?"));
    EXPECT_EQ(Serve(2).size(), 2u);
    g_failSends.store(false);
    for (int i = 0; i < 100 && !web::WebClientClaim(&g_clientB); ++i)
        web::WebChannelServe(20);
    web::WebClientReady(&g_clientB);
    EXPECT_FALSE(Frame(&g_clientA, "*ESE?")) << "A was dropped";
    ASSERT_TRUE(Frame(&g_clientB, "*ESE?"));
    EXPECT_EQ(Serve(3), (std::vector<std::string>{"A:+0\n", "A:+0\n", "B:+0\n"}));
}

// Where a reply ends in what the channel committed: at its line feed, past a definite-length block
// (whose bytes may hold line feeds), and not before the whole block is there; a block makes it binary.
TEST_F(WebChannelTest, AReplyEndsAtItsLineFeedPastAnyBlockAndABlockIsBinary) {
    struct Row {
        std::string out;
        size_t length;
        bool binary;
    };
    const Row rows[] = {
        {"+0\n", 3, false},
        {"+0", 0, false},
        {"+1\n+2\n", 3, false},
        {"#15\n\n\n\n\n\n", 9, true},
        {"#15ab", 0, false},
        {"#15abcde", 0, false},  // the line feed after the block has not come
        {std::string("#210\0\n\n\n\n\n\n\n\n\n\n", 15), 15, true},
        {"#3", 0, false},
        {"1;#12ab\n", 8, true},
        {"#H1F\n", 5, false},  // a hexadecimal number, not a block
        {"#1x\n", 4, false},
        {"#0\n", 3, false},
    };
    for (const Row& row : rows) {
        bool binary = !row.binary;
        EXPECT_EQ(web::WebReplyLength(row.out, &binary), row.length) << row.out;
        if (row.length > 0) {
            EXPECT_EQ(binary, row.binary) << row.out;
        }
    }
    // Server frames: final, never masked, the length in 7 bits, then 16, then 64.
    struct Header {
        size_t length;
        std::string head;
    };
    const Header heads[] = {{0, std::string("\x81\x00", 2)},
                            {125, "\x81\x7D"},
                            {126, std::string("\x81\x7E\x00\x7E", 4)},
                            {65535, "\x81\x7E\xFF\xFF"},
                            {65536, std::string("\x81\x7F\x00\x00\x00\x00\x00\x01\x00\x00", 10)}};
    for (const Header& h : heads) {
        const std::string frame = web::WebFrame(web::kWsText, std::string(h.length, 'x'));
        EXPECT_EQ(frame.substr(0, h.head.size()), h.head) << h.length;
        EXPECT_EQ(frame.size(), h.head.size() + h.length) << h.length;
    }
}

}  // namespace
