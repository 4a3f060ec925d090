// The web server threads: running words, the interface stop request freeing both ports within a second,
// and new threads serving again.
#include "remote/web_server.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "core/system/state/thread_ctl.h"
#include "platform/host/clock.h"
#include "scpi/channels/scpi_channels.h"
#include "tests/support/tcp_client.h"
#include "tests/support/temp_root.h"

namespace {

class WebServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(scpiStatusBlockInit(&scpi::g_StatusWeb), 0);
        g_ThreadCtl.control.store(kIfaceIdle);
    }
    void TearDown() override {
        g_ThreadCtl.control.store(kIfaceStop);
        for (std::thread& t : threads)
            if (t.joinable()) t.join();
        g_ThreadCtl.control.store(kIfaceIdle);
    }
    void Start() {
        threads.emplace_back(WebServerThread80, nullptr);
        threads.emplace_back(WebServerThread81, nullptr);
    }
    static int Port(int instrumentPort) { return instrumentPort + testsupport::TestPortOffset(); }
    // The status line of a plain request, "" when the port does not answer.
    static std::string Ask(int instrumentPort, const std::string& request, int timeoutMs = 3000) {
        testsupport::TcpClient client(Port(instrumentPort), timeoutMs);
        if (!client.Connected() || !client.Send(request + " HTTP/1.0\r\n\r\n")) return "";
        return client.ReadLine();
    }

    testsupport::TempRoot root;
    std::vector<std::thread> threads;
};

TEST_F(WebServerTest, StopRequestFreesBothPortsWithinASecondAndNewThreadsServeAgain) {
    Start();
    EXPECT_EQ(Ask(80, "GET /webkey"), "HTTP/1.0 405 Method Not Allowed\r\n");
    EXPECT_EQ(Ask(81, "POST /webkey?code=300"), "HTTP/1.0 400 Bad Request\r\n");
    EXPECT_EQ(g_ThreadCtl.running[kRunWeb80].load(), 1u);
    EXPECT_EQ(g_ThreadCtl.running[kRunWeb81].load(), 1u);
    // A websocket client stays connected over the stop.
    testsupport::TcpClient ws(Port(80));
    ws.Send("GET /scpi HTTP/1.1\r\nHost: x\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
            "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n");
    EXPECT_EQ(ws.ReadLine(), "HTTP/1.1 101 Switching Protocols\r\n");
    for (std::string header = ws.ReadLine(); header != "\r\n" && !header.empty();)
        header = ws.ReadLine();

    g_ThreadCtl.control.store(kIfaceStop);
    const uint64_t start = plat::NowMs();
    // The server asks the client to go (close, 1001), and the client answers as a browser does.
    EXPECT_EQ(ws.ReadBytes(4, 1000), std::string("\x88\x02\x03\xE9", 4));
    ws.Send(std::string("\x88\x80\x01\x02\x03\x04", 6));
    while ((g_ThreadCtl.running[kRunWeb80].load() | g_ThreadCtl.running[kRunWeb81].load()) != 0 &&
           plat::NowMs() - start < 1000)
        plat::SleepMs(5);
    EXPECT_EQ(g_ThreadCtl.running[kRunWeb80].load(), 0u);
    EXPECT_EQ(g_ThreadCtl.running[kRunWeb81].load(), 0u);
    EXPECT_EQ(Ask(80, "GET /", 0), "");
    EXPECT_EQ(Ask(81, "GET /", 0), "");
    for (std::thread& t : threads)
        t.join();
    threads.clear();

    g_ThreadCtl.control.store(kIfaceIdle);
    Start();
    EXPECT_EQ(Ask(81, "POST /unlock"), "HTTP/1.0 200 OK\r\n");
    EXPECT_EQ(g_WebLockReleaseReq.exchange(0), 1u);
}

TEST_F(WebServerTest, APortTakenByAnotherIsReportedOnceAndServedOnceItIsFree) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    const int one = 1;  // a connection of the test before in TIME_WAIT does not keep it out
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(Port(81)));
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(listen(fd, 1), 0);
    testing::internal::CaptureStderr();
    threads.emplace_back(WebServerThread81, nullptr);
    plat::SleepMs(2500);  // three tries
    close(fd);
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(told, "Web: cannot listen on port " + std::to_string(Port(81)) + ", retrying every second\n");
    EXPECT_EQ(g_ThreadCtl.running[kRunWeb81].load(), 1u);
    EXPECT_EQ(Ask(81, "POST /unlock", 3000), "HTTP/1.0 200 OK\r\n");
    EXPECT_EQ(g_WebLockReleaseReq.exchange(0), 1u);
}

}  // namespace
