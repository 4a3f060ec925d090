// The web channel "UNIX SOCKET" in-process: frames from a websocket client through the channel's passes,
// replies as one frame each, one client at a time, and what a departed client leaves.
#include "remote/web/web_channel.h"

#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <string>
#include <vector>

#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "scpi/channels/scpi_channels.h"
#include "scpi/parser/scpi_parse_state.h"

namespace {

std::mutex g_sentLock;
std::vector<std::string> g_sent;  // frames, tagged with the client they went to
int g_clientA = 0, g_clientB = 0;

bool Record(void* client, const char* data, size_t length) {
    std::lock_guard<std::mutex> lock(g_sentLock);
    g_sent.push_back((client == &g_clientA ? "A:" : "B:") + std::string(data, length));
    return true;
}

void RecordClose(void* client) {
    Record(client, "(close)", 7);
}

class WebChannelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(scpiStatusBlockInit(&scpi::g_StatusWeb), 0);
        SysStatusSet(kSysMenuThreadRunning);
        web::WebChannelStart({Record, RecordClose});
        std::lock_guard<std::mutex> lock(g_sentLock);
        g_sent.clear();
    }
    void TearDown() override {
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
    const std::vector<std::string> want = {"A:-292,\"Referenced name does not exist\"\n",
                                           "A:+0;+0,\"No error\"\n"};
    EXPECT_EQ(Serve(2), want);
}

TEST_F(WebChannelTest, OneClientAtATimeAndADepartedClientsInputIsDropped) {
    Connect(&g_clientA);
    EXPECT_FALSE(web::WebClientClaim(&g_clientB));
    ASSERT_TRUE(Frame(&g_clientA, "DATA:SEQ? 0"));
    web::WebClientLeave(&g_clientA);
    EXPECT_FALSE(Frame(&g_clientA, "SYST:ERR?"));  // a client that has gone is closed
    Connect(&g_clientB);
    ASSERT_TRUE(Frame(&g_clientB, "SYST:ERR?"));
    const std::vector<std::string> want = {"B:+0,\"No error\"\n"};
    EXPECT_EQ(Serve(2), want);
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
    const std::vector<std::string> want = {"B:+0,\"No error\"\n"};
    EXPECT_EQ(Serve(1), want);
}

TEST_F(WebChannelTest, AFrameLongerThanTheReceiveBufferIsFedAsTheChannelReadsAndGivesUpWhenNobodyReads) {
    Connect(&g_clientA);
    std::string big;
    big.assign(3 * web::kWebRxSize, '\n');  // empty lines do nothing
    big += "*ESE?";
    auto sent = std::async(std::launch::async, [&big] { return Frame(&g_clientA, big); });
    const std::vector<std::string> want = {"A:+0\n"};
    EXPECT_EQ(Serve(1), want);
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
    const std::vector<std::string> want = {"A:(close)", "B:+0\n"};
    EXPECT_EQ(Serve(2), want);
}

}  // namespace
