#include "remote/web/web_http.h"

#include <arpa/inet.h>
#include <civetweb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "core/system/links/remote_state.h"
#include "platform/host/clock.h"
#include "platform/host/options.h"
#include "platform/host/root.h"
#include "remote/web/web_admit.h"
#include "remote/web/web_capture.h"
#include "remote/web/web_channel.h"
#include "remote/web/web_client_socket.h"
#include "remote/web/web_frame.h"
#include "remote/web/web_index.h"
#include "remote/web/web_key.h"
#include "remote/web/web_lock_release.h"
#include "remote/web/web_range.h"
#include "remote/web/web_turn.h"

// civetweb stamps its Date and Last-Modified headers with gmtime(), from every worker of both servers at
// once, also where it answers by itself (files, errors); the C library keeps gmtime's result in one buffer
// for the whole process. This definition takes the C library's place in the program, so that each thread
// writes a buffer of its own.
extern "C" struct tm* gmtime(const time_t* clock) {
    thread_local struct tm result;
    return gmtime_r(clock, &result);
}

namespace web {
namespace {

// Worker threads of one server: civetweb gives each connection a worker of its own from its first byte,
// and a websocket client keeps one for as long as it stays. A request's headers must be in within the
// time-out, so an idle or slow connection holds a worker that long at most: with this many workers and
// this time-out, 300 idle connections delay a new request by about 0.9 s. A websocket client is not held
// to it.
constexpr char kWorkerThreads[] = "128";
constexpr char kRequestTimeoutMs[] = "500";

bool IsMethod(mg_connection* conn, const char* method) {
    const mg_request_info* info = mg_get_request_info(conn);
    return info != nullptr && info->request_method != nullptr &&
           std::strcmp(info->request_method, method) == 0;
}

void SendHeaders(mg_connection* conn) {
    mg_response_header_send(conn);
}

int SendText(mg_connection* conn, int status, const char* text) {
    const size_t length = std::strlen(text);
    mg_response_header_start(conn, status);
    mg_response_header_add(conn, "Content-Type", "text/plain", -1);
    mg_response_header_add(conn, "Cache-Control", "no-store", -1);
    mg_response_header_add(conn, "Content-Length", std::to_string(length).c_str(), -1);
    SendHeaders(conn);
    if (!IsMethod(conn, "HEAD")) mg_write(conn, text, length);
    return status;
}

const char* StatusText(int status) {
    switch (status) {
        case 200:
            return "OK\n";
        case 400:
            return "Bad Request\n";
        case 403:
            return "Forbidden\n";
        case 404:
            return "Not Found\n";
        case 405:
            return "Method Not Allowed\n";
        case 416:
            return "Range Not Satisfiable\n";
        case 500:
            return "Internal Server Error\n";
        default:
            return "Service Unavailable\n";
    }
}

int Reply(mg_connection* conn, int status) {
    return SendText(conn, status, StatusText(status));
}

int OnCapture(mg_connection* conn, void*) {
    const bool head = IsMethod(conn, "HEAD");
    if (!IsMethod(conn, "GET") && !head) return Reply(conn, 405);
    std::string jpeg;
    // The picture is read and the flag given back before a slow client gets it.
    const int status = WebScreenCapture(&jpeg);
    if (status != kCaptureOk) return Reply(conn, status);
    mg_response_header_start(conn, 200);
    mg_response_header_add(conn, "Content-Type", "image/jpeg", -1);
    mg_response_header_add(conn, "Cache-Control", "no-store", -1);
    mg_response_header_add(conn, "Content-Length", std::to_string(jpeg.size()).c_str(), -1);
    SendHeaders(conn);
    if (!head) mg_write(conn, jpeg.data(), jpeg.size());
    return 200;
}

int OnWebKey(mg_connection* conn, void*) {
    if (!IsMethod(conn, "POST")) return Reply(conn, 405);
    const mg_request_info* info = mg_get_request_info(conn);
    return Reply(conn, WebKeyPost(info->query_string != nullptr ? info->query_string : ""));
}

int OnUnlock(mg_connection* conn, void*) {
    if (!IsMethod(conn, "POST")) return Reply(conn, 405);
    // The timer thread's 2 s step takes the request: remote with lock-out (LREMote) becomes plain remote.
    // Any other state has nothing to release, and a request left from before is withdrawn, so that it
    // cannot release a lock set later.
    const bool locked = RemoteStateGet() == kRemoteLRemote;
    g_WebLockReleaseReq.store(locked ? 1 : 0);
    return SendText(conn, 200, locked ? "released\n" : "nothing to release\n");
}

// A request that acts on the instrument, which a page of another site may not make: a POST ("/webkey",
// "/unlock") or a websocket handshake ("/scpi"). Told by its kind, not its URI, which civetweb matches
// regardless of letter case and repeated slashes.
bool Acts(mg_connection* conn) {
    return IsMethod(conn, "POST") || mg_get_header(conn, "Upgrade") != nullptr;
}

// An answer that ends the request before civetweb acts on it. Written out whole: civetweb's header
// functions send nothing for a websocket handshake.
int Refuse(mg_connection* conn, int status) {
    const mg_request_info* info = mg_get_request_info(conn);
    const char* version = info != nullptr && info->http_version != nullptr ? info->http_version : "1.0";
    const char* text = StatusText(status);
    mg_printf(conn,
              "HTTP/%s %d %.*s\r\nContent-Type: text/plain\r\nCache-Control: no-store\r\n"
              "Content-Length: %zu\r\nConnection: close\r\n\r\n%s",
              version, status, static_cast<int>(std::strlen(text) - 1), text, std::strlen(text),
              IsMethod(conn, "HEAD") ? "" : text);
    return 0;
}

// Every request passes here before civetweb acts on it (in place of civetweb's password files, which it
// would look for outside the web root). Only the methods the server serves go on: civetweb would write
// the web root for PUT and DELETE.
int Admit(mg_connection* conn, void*) {
    const mg_request_info* info = mg_get_request_info(conn);
    if (info == nullptr || info->local_uri == nullptr) return Refuse(conn, 400);
    if (!IsMethod(conn, "GET") && !IsMethod(conn, "HEAD") && !IsMethod(conn, "POST"))
        return Refuse(conn, 405);
    if (Acts(conn) && !WebOriginAllowed(mg_get_header(conn, "Origin"), mg_get_header(conn, "Host")))
        return Refuse(conn, 403);
    if (!WebPathInsideRoot(mg_get_option(mg_get_context(conn), "document_root"), info->local_uri))
        return Refuse(conn, 404);
    const char* range = mg_get_header(conn, "Range");
    const bool served =
        range != nullptr && (IsMethod(conn, "GET") || IsMethod(conn, "HEAD")) && !Acts(conn) &&
        WebServeRange(conn, mg_get_option(mg_get_context(conn), "document_root"), info->local_uri, range);
    return served ? 0 : 1;
}

// civetweb's own error answers (a missing file, a folder without an index) carry their text to a HEAD
// request too: a HEAD gets the status and headers alone.
int OnHttpError(mg_connection* conn, int status, const char*) {
    if (!IsMethod(conn, "HEAD")) return 1;
    mg_response_header_start(conn, status);
    mg_response_header_add(conn, "Content-Type", "text/plain", -1);
    mg_response_header_add(conn, "Cache-Control", "no-store", -1);
    SendHeaders(conn);
    return 0;
}

// What the server keeps of a websocket client once its handshake is done (civetweb's connection data):
// its socket, and whether a close frame went to it, after which no other goes.
struct SocketClient {
    ClientSocket socket;
    bool closeSent = false;  // under g_sendTurn
};

SocketClient* ClientOf(const mg_connection* conn) {
    return static_cast<SocketClient*>(mg_get_user_connection_data(conn));
}

bool FindSocket(const mg_connection* conn, ClientSocket* found) {
    const mg_request_info* info = mg_get_request_info(conn);
    return info != nullptr &&
           FindClientSocket(info->remote_addr, info->remote_port, info->server_port, found);
}

// All of `bytes` on the socket by the deadline, or false. Waits only for room, never past the deadline.
bool SendBy(int fd, std::string_view bytes, uint64_t deadlineMs) {
    while (!bytes.empty()) {
        const ssize_t n = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            bytes.remove_prefix(static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        const uint64_t now = plat::NowMs();
        if (now >= deadlineMs) return false;
        pollfd p{fd, POLLOUT, 0};
        poll(&p, 1, static_cast<int>(std::min<uint64_t>(deadlineMs - now, kWebSendWaitMs)));
    }
    return true;
}

// Frames to websocket clients go out one at a time (replies from the port-80 thread, pongs from the
// client's worker). civetweb writes none of its own to them: pings are answered here.
std::mutex g_sendTurn;

// One frame to a websocket client in one write, or within kWebSendWaitMs not at all: a frame that has
// not gone out whole ends the connection (the stream would no longer be frames), and civetweb's worker
// then sees its client leave.
bool SendFrame(mg_connection* conn, uint8_t opcode, std::string_view payload) {
    SocketClient* client = ClientOf(conn);
    if (client == nullptr) return false;
    const int fd = client->socket.fd;
    const std::string frame = WebFrame(opcode, payload);
    const uint64_t deadline = plat::NowMs() + kWebSendWaitMs;
    std::unique_lock<std::mutex> turn(g_sendTurn, std::defer_lock);
    const bool turnTaken = TakeTurnWithin(turn, kWebSendWaitMs);
    // A number that is no longer this connection belongs to another one: nothing goes to it, and it is
    // not shut.
    if (!IsSameConnection(client->socket)) return false;
    // After its close frame the client is sent nothing more: a second close is done already.
    if (turnTaken && client->closeSent) return opcode == kWsClose;
    const bool sent = turnTaken && SendBy(fd, frame, deadline);
    if (!sent) shutdown(fd, SHUT_RDWR);
    if (sent && opcode == kWsClose) client->closeSent = true;
    return sent;
}

// The socket of the client that passed the handshake test, found once and kept until its handshake is
// done (one client at a time passes it). A handshake that fails after the test has no close of its own,
// so nothing is allocated for it here.
std::mutex g_foundLock;
const mg_connection* g_foundFor = nullptr;  // under g_foundLock
ClientSocket g_found;                       // under g_foundLock

int OnSocketConnect(const mg_connection* constConn, void*) {
    // civetweb passes the connection as const, but its handshake answer is still to be written on it.
    mg_connection* conn = const_cast<mg_connection*>(constConn);
    // The one place is taken first: a refused handshake costs no socket lookup.
    if (!WebClientClaim(conn)) {
        Refuse(conn, 403);
        return 1;
    }
    // A client whose socket cannot be told from another connection of its peer is refused: its replies
    // could go to the other connection.
    ClientSocket socket;
    if (!FindSocket(conn, &socket)) {
        WebClientLeave(conn);
        Refuse(conn, 400);
        return 1;
    }
    std::lock_guard<std::mutex> lock(g_foundLock);
    g_foundFor = conn;
    g_found = socket;
    return 0;
}

// The socket found at the handshake test is kept only now, while it still is that connection.
void OnSocketReady(mg_connection* conn, void*) {
    auto client = std::make_unique<SocketClient>();
    bool found = false;
    {
        std::lock_guard<std::mutex> lock(g_foundLock);
        found = g_foundFor == conn && IsSameConnection(g_found);
        if (found) client->socket = g_found;
        g_foundFor = nullptr;
    }
    if (!found) {
        // The client lost its place meanwhile, or its connection is gone: its frames close it.
        WebClientLeave(conn);
        return;
    }
    // Each frame is one write already: nothing is gained by holding a small one back.
    const int on = 1;
    setsockopt(client->socket.fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    mg_set_user_connection_data(conn, client.release());
    if (!WebClientReady(conn)) WebHttpSendClose(conn);
}

constexpr int kFinalFrame = 0x80;  // FIN, the first bit of a websocket frame

int OnSocketData(mg_connection* conn, int bits, char* data, size_t length, void*) {
    switch (bits & 0x0F) {
        case MG_WEBSOCKET_OPCODE_TEXT:
        case MG_WEBSOCKET_OPCODE_CONTINUATION:
            return WebClientFrame(conn, data, length, (bits & kFinalFrame) != 0) ? 1 : 0;
        case MG_WEBSOCKET_OPCODE_CONNECTION_CLOSE:
            // Answered with a close that echoes the client's status when a close frame may carry it.
            SendFrame(conn, kWsClose, WebCloseReply(std::string_view(data, length)));
            return 0;
        case MG_WEBSOCKET_OPCODE_PING:
            return SendFrame(conn, kWsPong, std::string_view(data, length)) ? 1 : 0;
        default:
            return 1;  // pongs answer nothing; binary frames are not SCPI
    }
}

void OnSocketClose(const mg_connection* conn, void*) {
    // Once the channel has let go of the client, no send reads what was kept of it.
    WebClientLeave(conn);
    delete ClientOf(conn);
    mg_set_user_connection_data(conn, nullptr);
}

constexpr uint32_t kNudgeMs = 10;

// A connection to the server's own port on loopback, closed at once.
void Nudge(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    close(fd);
}

// civetweb reports a port it cannot bind on its own; the thread reports it once instead.
int Quiet(const mg_connection*, const char*) {
    return 1;
}

constexpr bool kWithScpi = true, kWithoutScpi = false;

// The routes are in place before the server takes its first request (a request that came before them
// would find none).
void AddRoutes(const mg_context* constCtx) {
    mg_context* ctx = const_cast<mg_context*>(constCtx);
    mg_set_request_handler(ctx, "/capture.jpg$", OnCapture, nullptr);
    mg_set_request_handler(ctx, "/webkey$", OnWebKey, nullptr);
    mg_set_request_handler(ctx, "/unlock$", OnUnlock, nullptr);
    mg_set_auth_handler(ctx, "/", Admit, nullptr);
    if (*static_cast<const bool*>(mg_get_user_data(ctx)))
        mg_set_websocket_handler(ctx, "/scpi$", OnSocketConnect, OnSocketReady, OnSocketData, OnSocketClose,
                                 nullptr);
}

}  // namespace

mg_context* WebHttpStart(int instrumentPort, bool withScpi) {
    static std::once_flag library;
    std::call_once(library, [] { mg_init_library(MG_FEATURES_WEBSOCKET); });
    const std::string port = std::to_string(plat::Port(instrumentPort));
    const std::string root = plat::MapPath(kWebRoot);
    const char* options[] = {"listening_ports", port.c_str(), "document_root", root.c_str(), "num_threads",
                             kWorkerThreads, "request_timeout_ms", kRequestTimeoutMs,
                             "enable_directory_listing", "no", "index_files", "index.html",
                             // Web pages come from update packages: nothing in them runs on the host.
                             "cgi_pattern", "", "ssi_pattern", "",
                             // No cross-site reads or requests are offered to browsers.
                             "access_control_allow_origin", "", "access_control_allow_methods", "",
                             "access_control_allow_headers", "", nullptr};
    mg_callbacks callbacks{};
    callbacks.log_message = Quiet;
    callbacks.http_error = OnHttpError;
    callbacks.init_context = AddRoutes;
    // civetweb passes the user data on as a pointer to mutable data, but never writes through it.
    void* scpi = const_cast<bool*>(withScpi ? &kWithScpi : &kWithoutScpi);
    return mg_start(&callbacks, scpi, options);
}

void WebHttpStop(mg_context* ctx) {
    if (ctx == nullptr) return;
    mg_server_port port{};
    if (mg_get_server_ports(ctx, 1, &port) != 1) {
        mg_stop(ctx);
        return;
    }
    // civetweb's listener looks at its stop flag only between waits for a connection of up to 2 s: a
    // connection of our own ends such a wait, so that the port is free within a few milliseconds.
    std::atomic<bool> stopped{false};
    std::thread nudger([&stopped, number = port.port] {
        pthread_setname_np(pthread_self(), "WebStopNudge");
        while (!stopped.load()) {
            Nudge(number);
            plat::SleepMs(kNudgeMs);
        }
    });
    mg_stop(ctx);
    stopped.store(true);
    nudger.join();
}

bool WebHttpSendFrame(void* client, const char* data, size_t length, bool binary) {
    return SendFrame(static_cast<mg_connection*>(client), binary ? kWsBinary : kWsText,
                     std::string_view(data, length));
}

bool WebHttpClientGone(void* client) {
    const SocketClient* known = ClientOf(static_cast<mg_connection*>(client));
    if (known == nullptr) return false;
    if (!IsSameConnection(known->socket)) return true;
    pollfd p{known->socket.fd, POLLRDHUP, 0};
    return poll(&p, 1, 0) == 1 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
}

void WebHttpSendClose(void* client) {
    static constexpr char kGoingAway[] = {0x03, static_cast<char>(0xE9)};  // status 1001
    SendFrame(static_cast<mg_connection*>(client), kWsClose, std::string_view(kGoingAway, sizeof kGoingAway));
}

}  // namespace web
