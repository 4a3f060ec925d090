#include "remote/modbus/modbus_server.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/system/links/thread_ctl.h"
#include "platform/host/clock.h"
#include "remote/modbus/modbus_request.h"

namespace remote {
namespace {

constexpr int kSelectTimeoutUs = 100000;  // the enable word is looked at again after this at the latest
constexpr int kSendTimeoutUs = 100000;    // a client that does not take its answer is dropped
constexpr int kListenRetryMs = 1000;
constexpr int kDisabledPollMs = 50;  // while disabled: how often the enable word is looked at
// The listener's queue holds a burst of clients as the web ports' does: those beyond the places wait
// their turn in it.
constexpr int kBacklog = 200;
constexpr size_t kMaxClients = 32;
// Only a client silent this long gives its place to a newcomer: one accepted in the same burst, whose
// request is still on its way, keeps it.
constexpr uint64_t kEvictAfterSilentMs = 1000;

bool Enabled() {
    return g_ThreadCtl.running[kRunModbus].load(std::memory_order_acquire) == 1;
}

// The listener first: once a client sees its connection end, no new one is taken.
void CloseAll(ModbusServer* s) {
    if (s->listener >= 0) close(s->listener);
    s->listener = -1;
    for (const ModbusClient& c : s->clients)
        close(c.fd);
    s->clients.clear();
}

bool Listen(ModbusServer* s) {
    if (plat::NowMs() < s->nextListenMs) return false;
    s->listener = modbus_tcp_listen(s->ctx, kBacklog);
    if (s->listener < 0) {
        if (!s->listenFailReported)
            std::fprintf(stderr, "ModbusThread: cannot listen on port %d: %s\n", s->port,
                         modbus_strerror(errno));
        s->listenFailReported = true;
        s->nextListenMs = plat::NowMs() + kListenRetryMs;
        return false;
    }
    s->listenFailReported = false;
    // Accepted until the queue is empty, without waiting for the next connection.
    fcntl(s->listener, F_SETFL, fcntl(s->listener, F_GETFL) | O_NONBLOCK);
    std::printf("ModbusThread: listening on port %d\n", s->port);
    std::fflush(stdout);
    return true;
}

// The client that has gone longest without sending a byte (since it connected, when it never sent
// one); the first of them in accept order.
std::vector<ModbusClient>::iterator LongestSilent(ModbusServer* s) {
    return std::min_element(
        s->clients.begin(), s->clients.end(),
        [](const ModbusClient& a, const ModbusClient& b) { return a.lastByteMs < b.lastByteMs; });
}

// A newcomer would have a place: a free one, or that of the client silent longest once it has been
// silent kEvictAfterSilentMs. Clients that hold a connection and send nothing cannot lock the others out.
bool Room(ModbusServer* s) {
    return s->clients.size() < kMaxClients ||
           plat::NowMs() - LongestSilent(s)->lastByteMs >= kEvictAfterSilentMs;
}

// A newcomer joins the clients, the last in accept order.
void Admit(ModbusServer* s, int fd) {
    timeval send{0, kSendTimeoutUs};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &send, sizeof send);
    // Each answer is whole in one send: the next one must not wait for the client's delayed ACK.
    const int noDelay = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    ModbusClient client;
    client.fd = fd;
    client.lastByteMs = plat::NowMs();
    s->clients.push_back(client);
}

// Every connection waiting in the listener's queue that has a place; the others stay queued.
void AcceptAll(ModbusServer* s) {
    while (Room(s)) {
        const int fd = accept4(s->listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) return;
        // select cannot watch a descriptor past FD_SETSIZE; the newcomer beyond the limit is turned away.
        if (fd >= FD_SETSIZE) {
            close(fd);
            continue;
        }
        if (s->clients.size() >= kMaxClients) {
            const auto silent = LongestSilent(s);
            close(silent->fd);
            s->clients.erase(silent);
        }
        Admit(s, fd);
    }
}
// The whole answer, within the send time-out; false when the client does not take it.
bool SendAll(int fd, const uint8_t* bytes, int length) {
    while (length > 0) {
        const ssize_t n = send(fd, bytes, static_cast<size_t>(length), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        length -= static_cast<int>(n);
    }
    return true;
}

// The answer to the client's whole request; false when the client is to be closed.
bool Answer(const ModbusClient& c) {
    uint8_t answer[kMaxAdu];
    const int length = ModbusAnswer(c.request, c.have, answer);
    return length > 0 && SendAll(c.fd, answer, length);
}

// Takes the bytes that arrived for the client's request (without waiting for more), and answers it once
// it is whole; false when the client is to be closed. Only the request's own bytes are read: a next one
// waits in the socket for the next pass.
bool Receive(ModbusClient* c) {
    for (;;) {
        const int frame = ModbusFrameLength(c->request, c->have);
        if (frame < 0) return false;
        if (frame > 0 && c->have == frame) {
            const bool kept = Answer(*c);
            c->have = 0;
            return kept;
        }
        const int want = (frame == 0 ? kMbapSize : frame) - c->have;
        const ssize_t n = recv(c->fd, c->request + c->have, static_cast<size_t>(want), MSG_DONTWAIT);
        if (n == 0) return false;
        if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        c->have += static_cast<int>(n);
        c->lastByteMs = plat::NowMs();
    }
}

bool Stalled(const ModbusServer& s, const ModbusClient& c, uint64_t now) {
    return c.have > 0 && now > c.lastByteMs + s.stallMs;
}

}  // namespace

bool ModbusServerInit(ModbusServer* s, int port) {
    s->port = port;
    // "0.0.0.0": every address (the library takes a text beginning with '0' as any address).
    s->ctx = modbus_new_tcp("0.0.0.0", port);
    return s->ctx != nullptr;
}

void ModbusServerPass(ModbusServer* s) {
    if (!Enabled()) {
        CloseAll(s);
        plat::SleepMs(kDisabledPollMs);
        return;
    }
    if (s->listener < 0 && !Listen(s)) {
        plat::SleepMs(kDisabledPollMs);
        return;
    }
    fd_set ready;
    FD_ZERO(&ready);
    // While every place is held by a client not yet silent long enough, newcomers wait in the queue.
    if (Room(s)) FD_SET(s->listener, &ready);
    int top = s->listener;
    for (const ModbusClient& c : s->clients) {
        FD_SET(c.fd, &ready);
        top = std::max(top, c.fd);
    }
    timeval wait{0, kSelectTimeoutUs};
    const int events = select(top + 1, &ready, nullptr, nullptr, &wait);
    // Clients in accept order, each with what it sent; the enable word may drop meanwhile, and then
    // nothing more is served.
    std::vector<ModbusClient> kept;
    kept.reserve(s->clients.size());
    for (ModbusClient& c : s->clients) {
        const bool served = !Enabled() || events <= 0 || !FD_ISSET(c.fd, &ready) || Receive(&c);
        if (served && !Stalled(*s, c, plat::NowMs())) {
            kept.push_back(c);
        } else {
            close(c.fd);
        }
    }
    s->clients.swap(kept);
    if (events > 0 && Enabled() && FD_ISSET(s->listener, &ready)) AcceptAll(s);
}

void ModbusServerFree(ModbusServer* s) {
    CloseAll(s);
    if (s->ctx != nullptr) modbus_free(s->ctx);
    s->ctx = nullptr;
}

}  // namespace remote
