// The web server threads: running words, the interface stop request freeing both ports within a second,
// new threads serving again; what a request must meet (its Origin, its method, a path inside the web
// root), the lock release's answer, and idle connections.
#include "remote/web_server.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <memory>
#include <thread>

#include "core/system/links/remote_state.h"
#include "core/system/links/thread_ctl.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "scpi/channels/scpi_channels.h"
#include "tests/support/tcp_client.h"
#include "tests/support/temp_root.h"
#include "tests/support/web_socket.h"

namespace {

class WebServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(scpiStatusBlockInit(&scpi::g_StatusWeb), 0);
        g_ThreadCtl.control.store(kIfaceIdle);
        SysStatusSet(kSysMenuThreadRunning);  // the web channel serves its client once the system is ready
        SysStatusSet(kSysReady);
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

    // The whole response to a request given with its headers ("" when the port does not answer).
    static std::string Exchange(int instrumentPort, const std::string& request) {
        testsupport::TcpClient client(Port(instrumentPort), 3000);
        if (!client.Connected() || !client.Send(request + "\r\n")) return "";
        return client.ReadBytes(1 << 20, 3000);
    }
    static std::string StatusOf(const std::string& response) {
        return response.substr(0, response.find("\r\n"));
    }
    static std::string BodyOf(const std::string& response) {
        const size_t end = response.find("\r\n\r\n");
        return end == std::string::npos ? "" : response.substr(end + 4);
    }
    // Waits until port 80 serves its page (the thread writes it at its start).
    void StartAndWait() {
        Start();
        for (int i = 0; i < 300 && Ask(80, "GET /index.html", 100) != "HTTP/1.0 200 OK\r\n"; ++i)
            plat::SleepMs(10);
    }

    testsupport::TempRoot root;
    std::vector<std::thread> threads;
};

constexpr char kHandshake[] =
    "GET /scpi HTTP/1.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
    "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n";

using testsupport::WsClientFrame;
using testsupport::WsReadFrame;
using testsupport::WsUpgrade;

// A request that acts on the instrument and names an Origin is served only when the Origin is the
// server as the request names it; a request without one is served.
TEST_F(WebServerTest, ActingRequestsFromAnotherOriginAreForbidden) {
    StartAndWait();
    const std::string host = "127.0.0.1:" + std::to_string(Port(80));
    const std::string local = "localhost:" + std::to_string(Port(80));
    g_RemoteState.store(kRemoteLRemote << kRemoteStateShift);
    const std::string key = "POST /webkey?code=300 HTTP/1.0\r\n", unlock = " HTTP/1.0\r\nHost: x:81\r\n";
    const std::string forbidden = "HTTP/1.0 403 Forbidden", toKeys = "HTTP/1.0 400 Bad Request";
    const struct {
        int port;
        std::string request, status;
    } rows[] = {
        {80, key + "Host: " + host + "\r\n", toKeys},  // no Origin: the request went on to the key parser
        {80, key + "Host: " + host + "\r\nOrigin: http://evil.example\r\n", forbidden},
        {80, key + "Host: " + host + "\r\nOrigin: null\r\n", forbidden},
        {80, key + "Host: " + host + "\r\nOrigin: https://127.0.0.1\r\n", forbidden},
        {80, key + "Host: " + host + "\r\nOrigin: http://127.0.0.1\r\n", forbidden},  // another port
        {80, key + "Host: " + host + "\r\nOrigin: http://127.0.0.1:1\r\n", forbidden},
        {80, key + "Host: LOCALHOST:" + std::to_string(Port(80)) + "\r\nOrigin: http://" + local + "\r\n",
         toKeys},
        {80, key + "Host: vrn:80\r\nOrigin: http://vrn\r\n", toKeys},  // port 80 named or not is the same
        {80, key + "Origin: http://" + host + "\r\n", forbidden},      // an Origin but no Host
        // civetweb takes these three for the same handler.
        {81, "POST /unlock" + unlock + "Origin: http://evil\r\n", forbidden},
        {81, "POST /UNLOCK" + unlock + "Origin: http://evil\r\n", forbidden},
        {81, "POST //unlock" + unlock + "Origin: http://evil\r\n", forbidden},
    };
    for (const auto& row : rows)
        EXPECT_EQ(StatusOf(Exchange(row.port, row.request)), row.status) << row.request;
    EXPECT_EQ(g_WebLockReleaseReq.load(), 0u);
    const std::string foreign = std::string(kHandshake) + "Host: " + host + "\r\nOrigin: http://evil\r\n";
    EXPECT_EQ(StatusOf(Exchange(80, foreign)), "HTTP/1.1 403 Forbidden");
    testsupport::TcpClient own(Port(80));
    own.Send(std::string(kHandshake) + "Host: " + host + "\r\nOrigin: http://" + host + "\r\n\r\n");
    EXPECT_EQ(own.ReadLine(), "HTTP/1.1 101 Switching Protocols\r\n");
    g_RemoteState.store(0);
}

// POST /unlock releases remote with lock-out (LREMote) only and says whether it did; a request made
// while there was nothing to release does not stay to release a later lock.
TEST_F(WebServerTest, UnlockReleasesOnlyALockOutAndSaysSo) {
    StartAndWait();
    g_WebLockReleaseReq.store(1);  // left from before
    for (uint32_t state : {kRemoteLocal, kRemoteRemote, kRemoteRwLock}) {
        g_RemoteState.store(state << kRemoteStateShift);
        EXPECT_EQ(BodyOf(Exchange(81, "POST /unlock HTTP/1.0\r\n")), "nothing to release\n") << state;
        EXPECT_EQ(g_WebLockReleaseReq.load(), 0u) << state;
    }
    g_RemoteState.store(kRemoteLRemote << kRemoteStateShift);
    EXPECT_EQ(BodyOf(Exchange(80, "POST /unlock HTTP/1.0\r\n")), "released\n");
    EXPECT_EQ(g_WebLockReleaseReq.exchange(0), 1u);
    g_RemoteState.store(0);
}

// Three hundred connections that send nothing are shed quickly enough that a request behind them is
// answered within 2 s; a websocket client that sends nothing for longer keeps its connection.
TEST_F(WebServerTest, IdleConnectionsAreShedWithinTwoSecondsOfANewRequest) {
    StartAndWait();
    testsupport::TcpClient ws(Port(80));
    ASSERT_EQ(WsUpgrade(ws), "HTTP/1.1 101 Switching Protocols\r\n");
    std::vector<std::unique_ptr<testsupport::TcpClient>> idle;
    for (int i = 0; i < 300; ++i)
        idle.push_back(std::make_unique<testsupport::TcpClient>(Port(80), 1000));
    const uint64_t start = plat::NowMs();
    EXPECT_EQ(Ask(80, "GET /", 15000), "HTTP/1.0 200 OK\r\n");
    EXPECT_LT(plat::NowMs() - start, 2000u);
    EXPECT_TRUE(idle.back()->WaitClosed(5000));
    ws.Send(WsClientFrame(0x1, "*ESE?"));
    EXPECT_EQ(WsReadFrame(ws).payload, "+0\n");
}

// Only what lies inside the web root is served: a link out of it is not followed, PUT and DELETE write
// nothing, a script is a file like any other, and our icon is there.
TEST_F(WebServerTest, NothingOutsideTheWebRootIsServedAndNothingRuns) {
    StartAndWait();
    const std::string web = root.path() + "/mnt/disk/httpd";
    root.Write("/mnt/tst/secret.txt", "secret");
    root.Write("/mnt/disk/httpd/sub/inside.txt", "inside");
    ASSERT_EQ(symlink((root.path() + "/mnt/tst/secret.txt").c_str(), (web + "/out.txt").c_str()), 0);
    ASSERT_EQ(symlink((root.path() + "/mnt/tst").c_str(), (web + "/outdir").c_str()), 0);
    ASSERT_EQ(symlink("sub/inside.txt", (web + "/in.txt").c_str()), 0);
    // A sibling folder whose name begins with the root's is outside it.
    root.Write("/mnt/disk/httpd2/sibling.txt", "sibling");
    ASSERT_EQ(symlink((root.path() + "/mnt/disk/httpd2/sibling.txt").c_str(), (web + "/sib.txt").c_str()), 0);
    // civetweb serves a folder's index.html, and for a missing file its ".gz" twin.
    std::filesystem::create_directories(web + "/folder");
    for (const char* link : {"/folder/index.html", "/packed.txt.gz"})
        ASSERT_EQ(symlink((root.path() + "/mnt/tst/secret.txt").c_str(), (web + link).c_str()), 0);
    for (const auto& [port, path] : {std::pair{80, "/out.txt"},
                                     {81, "/outdir/secret.txt"},
                                     {81, "/out%2Etxt"},
                                     {80, "/sib.txt"},
                                     {80, "/folder/"},
                                     {80, "/packed.txt"}})
        EXPECT_EQ(
            StatusOf(Exchange(port, std::string("GET ") + path + " HTTP/1.0\r\nAccept-Encoding: gzip\r\n")),
            "HTTP/1.0 404 Not Found")
            << path;
    EXPECT_EQ(BodyOf(Exchange(80, "GET /in.txt HTTP/1.0\r\n")), "inside");

    EXPECT_EQ(StatusOf(Exchange(80, "PUT /new.txt HTTP/1.0\r\nContent-Length: 2\r\n\r\nhi")),
              "HTTP/1.0 405 Method Not Allowed");
    EXPECT_EQ(StatusOf(Exchange(80, "DELETE /in.txt HTTP/1.0\r\n")), "HTTP/1.0 405 Method Not Allowed");
    EXPECT_FALSE(std::filesystem::exists(web + "/new.txt"));
    EXPECT_TRUE(std::filesystem::exists(web + "/sub/inside.txt"));

    const std::string script = "#!/bin/sh\necho Content-Type: text/plain\necho\necho ran\n";
    root.Write("/mnt/disk/httpd/t.cgi", script);
    std::filesystem::permissions(web + "/t.cgi", std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    root.Write("/mnt/disk/httpd/t.shtml", "<!--#exec \"echo ran\" -->");
    EXPECT_EQ(BodyOf(Exchange(80, "GET /t.cgi HTTP/1.0\r\n")), script);
    EXPECT_EQ(BodyOf(Exchange(80, "GET /t.shtml HTTP/1.0\r\n")), "<!--#exec \"echo ran\" -->");

    // HEAD answers wherever GET does, and never with a body.
    root.Write("/mnt/disk/httpd/sized.txt", std::string(2448, 'x'));
    const std::pair<const char*, const char*> heads[] = {
        {"/sized.txt", "HTTP/1.0 200 OK"},      {"/", "HTTP/1.0 200 OK"},
        {"/capture.jpg", "HTTP/1.0 200 OK"},    {"/webkey", "HTTP/1.0 405 Method Not Allowed"},
        {"/out.txt", "HTTP/1.0 404 Not Found"}, {"/missing.txt", "HTTP/1.0 404 Not Found"}};
    for (const auto& [path, status] : heads) {
        const std::string head = Exchange(81, std::string("HEAD ") + path + " HTTP/1.0\r\n");
        EXPECT_EQ(StatusOf(head), status) << path;
        EXPECT_EQ(BodyOf(head), "") << path;
    }

    // favicon.ico: an icon file (reserved 0, type 1, one image) of 16x16 pixels.
    const std::string icon = BodyOf(Exchange(81, "GET /favicon.ico HTTP/1.0\r\n"));
    ASSERT_GE(icon.size(), 8u);
    EXPECT_EQ(icon.substr(0, 8), std::string("\0\0\1\0\1\0\x10\x10", 8));
}

// A Range of a file gets that part of it (206, its place in Content-Range), a range that starts past the
// end gets 416 with the file's length, and a Range the server does not take (several ranges, a last byte
// before the first, another unit) gets the whole file.
TEST_F(WebServerTest, ARangeOfAFileGetsThatPart) {
    StartAndWait();
    root.Write("/mnt/disk/httpd/t.txt", "0123456789abcdefghij");
    const struct {
        const char* range;
        const char* status;        // the code: the reason text is the library's
        const char* contentRange;  // "" for none
        const char* body;          // nullptr: any, as long as Content-Length counts it
    } rows[] = {
        {"bytes=0-9", "206", "bytes 0-9/20", "0123456789"},
        {"bytes=10-", "206", "bytes 10-19/20", "abcdefghij"},
        {"bytes=15-30", "206", "bytes 15-19/20", "fghij"},
        {"bytes=-5", "206", "bytes 15-19/20", "fghij"},
        {"bytes=-50", "206", "bytes 0-19/20", "0123456789abcdefghij"},
        {"bytes=19-19", "206", "bytes 19-19/20", "j"},
        {"bytes=20-", "416", "bytes */20", nullptr},
        {"bytes=9-3", "200", "", "0123456789abcdefghij"},
        {"bytes=-", "200", "", "0123456789abcdefghij"},
        {"bytes=0-1,5-6", "200", "", "0123456789abcdefghij"},
        {"items=0-3", "200", "", "0123456789abcdefghij"},
    };
    for (const auto& row : rows) {
        const std::string response =
            Exchange(80, std::string("GET /t.txt HTTP/1.0\r\nRange: ") + row.range + "\r\n");
        EXPECT_EQ(StatusOf(response).substr(0, 12), std::string("HTTP/1.0 ") + row.status) << row.range;
        const std::string header = std::string("\r\nContent-Range: ") + row.contentRange;
        EXPECT_EQ(response.find(header + (row.contentRange[0] != '\0' ? "\r\n" : "")) != std::string::npos,
                  row.contentRange[0] != '\0')
            << row.range;
        const std::string body = BodyOf(response);
        EXPECT_NE(response.find("\r\nContent-Length: " + std::to_string(body.size()) + "\r\n"),
                  std::string::npos)
            << row.range;
        if (row.body != nullptr) {
            EXPECT_EQ(body, row.body) << row.range;
        }
    }
    // A folder's index, and the ".gz" twin of a missing file for a client that takes gzip, as without a
    // Range.
    root.Write("/mnt/disk/httpd/sub/index.html", "<p>index");
    root.Write("/mnt/disk/httpd/z.txt.gz", "0123");
    EXPECT_EQ(BodyOf(Exchange(80, "GET /sub/ HTTP/1.0\r\nRange: bytes=3-\r\n")), "index");
    const std::string twin =
        Exchange(80, "GET /z.txt HTTP/1.0\r\nAccept-Encoding: gzip\r\nRange: bytes=2-\r\n");
    EXPECT_EQ(BodyOf(twin), "23");
    EXPECT_NE(twin.find("\r\nContent-Encoding: gzip\r\n"), std::string::npos);
    const std::string head = Exchange(81, "HEAD /t.txt HTTP/1.0\r\nRange: bytes=0-9\r\n");
    EXPECT_EQ(StatusOf(head), "HTTP/1.0 206 Partial Content");
    EXPECT_NE(head.find("\r\nContent-Range: bytes 0-9/20\r\n"), std::string::npos);
    EXPECT_EQ(BodyOf(head), "");
}

// How soon the ports are free is a benchmark's figure: this waits (bounded) for the words and the ports.
TEST_F(WebServerTest, StopRequestFreesBothPortsAndNewThreadsServeAgain) {
    StartAndWait();
    EXPECT_EQ(Ask(80, "GET /webkey"), "HTTP/1.0 405 Method Not Allowed\r\n");
    EXPECT_EQ(Ask(81, "POST /webkey?code=300"), "HTTP/1.0 400 Bad Request\r\n");
    EXPECT_EQ(g_ThreadCtl.running[kRunWeb80].load(), 1u);
    EXPECT_EQ(g_ThreadCtl.running[kRunWeb81].load(), 1u);
    // A websocket client stays connected over the stop.
    testsupport::TcpClient ws(Port(80));
    EXPECT_EQ(WsUpgrade(ws), "HTTP/1.1 101 Switching Protocols\r\n");

    g_ThreadCtl.control.store(kIfaceStop);
    const uint64_t start = plat::NowMs();
    // The server asks the client to go (close, 1001), and the client answers as a browser does.
    EXPECT_EQ(ws.ReadBytes(4, 10000), std::string("\x88\x02\x03\xE9", 4));
    ws.Send(std::string("\x88\x80\x01\x02\x03\x04", 6));
    while ((g_ThreadCtl.running[kRunWeb80].load() | g_ThreadCtl.running[kRunWeb81].load()) != 0 &&
           plat::NowMs() - start < 20000)
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
    std::string answer;
    for (const uint64_t again = plat::NowMs(); answer.empty() && plat::NowMs() - again < 20000;)
        answer = Ask(81, "POST /unlock", 100);
    EXPECT_EQ(answer, "HTTP/1.0 200 OK\r\n");
}

TEST_F(WebServerTest, APortTakenByAnotherIsReportedOnceAndServedOnceItIsFree) {
    // With SO_REUSEADDR: a connection of the test before in TIME_WAIT does not keep it out.
    const int fd = testsupport::Listener(Port(81));
    ASSERT_GE(fd, 0);
    testing::internal::CaptureStderr();
    threads.emplace_back(WebServerThread81, nullptr);
    plat::SleepMs(2500);  // three tries
    close(fd);
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(told, "Web: cannot listen on port " + std::to_string(Port(81)) + ", retrying every second\n");
    EXPECT_EQ(g_ThreadCtl.running[kRunWeb81].load(), 1u);
    EXPECT_EQ(Ask(81, "POST /unlock", 3000), "HTTP/1.0 200 OK\r\n");
}

// A client that stops reading while it keeps asking is dropped once a reply to it cannot go out within
// the send time-out, and a newcomer takes the channel and is served; the stalled client never holds the
// channel's place against it.
TEST_F(WebServerTest, AClientThatStopsReadingIsDroppedAndANewcomerIsServed) {
    StartAndWait();
    testsupport::TcpClient hog(Port(80), 4096, 1000);
    ASSERT_EQ(WsUpgrade(hog), "HTTP/1.1 101 Switching Protocols\r\n");
    std::atomic<bool> stop{false};
    std::thread asking([&] {
        std::string questions = "*ESE?";
        for (int i = 0; i < 15; ++i)
            questions += ";*ESE?";
        const std::string ask = WsClientFrame(1, questions);
        while (!stop.load() && hog.Send(ask)) {
        }
    });
    // Newcomers are refused while the hog is served, then one is taken. The bound is wide: the hog is
    // dropped only once its reply buffers are full, which a slow (instrumented) server takes long to reach;
    // a stalled client used to hold its place for as long as it kept asking.
    std::string status;
    const uint64_t start = plat::NowMs();
    std::unique_ptr<testsupport::TcpClient> newcomer;
    while (status != "HTTP/1.1 101 Switching Protocols\r\n" && plat::NowMs() - start < 120000) {
        newcomer = std::make_unique<testsupport::TcpClient>(Port(80));
        status = WsUpgrade(*newcomer);
        if (status != "HTTP/1.1 101 Switching Protocols\r\n") plat::SleepMs(50);
    }
    stop.store(true);
    asking.join();
    ASSERT_EQ(status, "HTTP/1.1 101 Switching Protocols\r\n") << "after " << plat::NowMs() - start << " ms";
    newcomer->Send(WsClientFrame(1, "*ESE?"));
    const testsupport::WsFrame reply = WsReadFrame(*newcomer);
    EXPECT_EQ(reply.header, 0x81);
    EXPECT_EQ(reply.payload, "+0\n");
    EXPECT_TRUE(hog.WaitClosed(5000));
}

// A client that leaves abruptly (its connection reset, no close frame) holds the channel no longer: a
// newcomer right behind it is served, every time.
TEST_F(WebServerTest, ANewcomerRightAfterAClientLeftAbruptlyIsServed) {
    StartAndWait();
    auto last = std::make_unique<testsupport::TcpClient>(Port(80));
    ASSERT_EQ(WsUpgrade(*last), "HTTP/1.1 101 Switching Protocols\r\n");
    for (int i = 0; i < 100; ++i) {
        last->Send(WsClientFrame(1, "*ESE?"));
        ASSERT_EQ(WsReadFrame(*last).payload, "+0\n") << i;
        last->Abort();
        last = std::make_unique<testsupport::TcpClient>(Port(80));
        ASSERT_EQ(WsUpgrade(*last), "HTTP/1.1 101 Switching Protocols\r\n") << "newcomer " << i;
    }
}

// Each frame goes out at once: the server's end of a websocket waits for no acknowledgement before it
// sends a small frame (Nagle's wait would add tens of milliseconds to every round trip). A ping gets a
// pong with the ping's data, a second client a refusal, and a close a close with the client's status
// before the connection ends.
TEST_F(WebServerTest, WebsocketFramesGoOutWithoutNaglesWaitAndAPingGetsAPongAndACloseAClose) {
    StartAndWait();
    testsupport::TcpClient ws(Port(80));
    ASSERT_EQ(WsUpgrade(ws), "HTTP/1.1 101 Switching Protocols\r\n");
    ws.Send(WsClientFrame(0x9, "hi"));
    const testsupport::WsFrame pong = WsReadFrame(ws);
    EXPECT_EQ(pong.header, 0x8A);
    EXPECT_EQ(pong.payload, "hi");
    ws.Send(WsClientFrame(0x1, "*ESE?"));
    const testsupport::WsFrame reply = WsReadFrame(ws);
    EXPECT_EQ(reply.header, 0x81);
    EXPECT_EQ(reply.payload, "+0\n");
    int noDelay = -1;
    for (int fd = 0; fd < 4096; ++fd) {
        sockaddr_in local{}, peer{};
        socklen_t size = sizeof local;
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size) != 0 || local.sin_family != AF_INET ||
            ntohs(local.sin_port) != Port(80))
            continue;
        size = sizeof peer;
        if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &size) != 0) continue;  // the listener
        socklen_t length = sizeof noDelay;
        getsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, &length);
    }
    EXPECT_EQ(noDelay, 1) << "-1: the server's end of the websocket was not found";
    // A second client is refused with a status while the first holds the channel.
    testsupport::TcpClient second(Port(80));
    EXPECT_EQ(WsUpgrade(second), "HTTP/1.1 403 Forbidden\r\n");
    EXPECT_TRUE(second.WaitClosed());
    ws.Send(WsClientFrame(0x8, std::string("\x03\xE8") + "bye"));  // 1000, normal closure
    EXPECT_EQ(ws.ReadBytes(4), std::string("\x88\x02\x03\xE8", 4));
    EXPECT_TRUE(ws.WaitClosed());

    // A close is answered with a status a close frame may carry: the client's own, or 1002 (protocol
    // error) for one that is for reports only, unassigned or cut short. {client's close data, answer}
    const std::pair<std::string, std::string> closes[] = {
        {std::string("\x0F\xA0", 2), std::string("\x88\x02\x0F\xA0", 4)},  // 4000, an application's
        {std::string("\x03\xF6", 2), std::string("\x88\x02\x03\xF6", 4)},  // 1014
        {"", std::string("\x88\x00", 2)},                                  // no status: none
        {std::string("\x03\xED", 2), std::string("\x88\x02\x03\xEA", 4)},  // 1005, reports only
        {std::string("\x03\xEE", 2), std::string("\x88\x02\x03\xEA", 4)},  // 1006, reports only
        {std::string("\x03\xF7", 2), std::string("\x88\x02\x03\xEA", 4)},  // 1015, reports only
        {std::string("\x03\xEC", 2), std::string("\x88\x02\x03\xEA", 4)},  // 1004, reserved
        {std::string("\x03\xE7", 2), std::string("\x88\x02\x03\xEA", 4)},  // 999
        {std::string("\x07\xD0", 2), std::string("\x88\x02\x03\xEA", 4)},  // 2000, unassigned
        {std::string("\x13\x88", 2), std::string("\x88\x02\x03\xEA", 4)},  // 5000
        {std::string("\x03", 1), std::string("\x88\x02\x03\xEA", 4)},      // cut short
    };
    for (const auto& [data, answer] : closes) {
        SCOPED_TRACE(testing::PrintToString(data));
        // The last client's place is free once the server has seen it leave.
        std::unique_ptr<testsupport::TcpClient> next;
        std::string status;
        for (const uint64_t start = plat::NowMs();
             status != "HTTP/1.1 101 Switching Protocols\r\n" && plat::NowMs() - start < 5000;) {
            next = std::make_unique<testsupport::TcpClient>(Port(80));
            status = WsUpgrade(*next);
        }
        ASSERT_EQ(status, "HTTP/1.1 101 Switching Protocols\r\n");
        next->Send(WsClientFrame(0x8, data));
        EXPECT_EQ(next->ReadBytes(answer.size()), answer);
        EXPECT_TRUE(next->WaitClosed());
    }
}

// A websocket client's frames go to its own connection, told from another to the same port by the peer's
// address as well as its port: a connection made first from another loopback address and the same port
// gets none of them. A peer that reaches two of the server's addresses from one port has two connections
// that differ only in the address it reached: a websocket on one of them is refused, as its frames could
// go to the other one (and, once that one closes, to whatever socket takes its number). Should the other
// connection be dropped (request time-out, 0.5 s) before the handshake, the websocket is served.
TEST_F(WebServerTest, FramesGoToTheirClientAndNotToOneOfTheSamePortFromAnotherAddress) {
    StartAndWait();
    // {the other one's address and the server's it reached, the websocket's server address, refusable}
    const struct {
        const char *otherFrom, *otherTo, *wsTo;
        bool mayRefuse;
    } rows[] = {{"127.0.0.2", "127.0.0.1", "127.0.0.1", false},
                {"127.0.0.1", "127.0.0.2", "127.0.0.1", true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.otherTo);
        testsupport::TcpClient other(Port(80), r.otherFrom, 0, r.otherTo);
        ASSERT_TRUE(other.Connected());
        testsupport::TcpClient ws(Port(80), "127.0.0.1", other.LocalPort(), r.wsTo);
        ASSERT_TRUE(ws.Connected()) << "port " << other.LocalPort() << " taken on 127.0.0.1";
        const std::string status = WsUpgrade(ws);
        if (status == "HTTP/1.1 101 Switching Protocols\r\n" || !r.mayRefuse) {
            ASSERT_EQ(status, "HTTP/1.1 101 Switching Protocols\r\n");
            ws.Send(WsClientFrame(0x9, "hi"));
            const testsupport::WsFrame pong = WsReadFrame(ws);
            EXPECT_EQ(pong.header, 0x8A);
            EXPECT_EQ(pong.payload, "hi");
        } else {
            EXPECT_EQ(status, "HTTP/1.1 400 Bad Request\r\n");
            EXPECT_TRUE(ws.WaitClosed());
        }
        EXPECT_EQ(other.ReadBytes(2, r.mayRefuse ? 5000 : 0), "") << "a frame went to the other connection";
    }
}

}  // namespace
