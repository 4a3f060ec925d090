#include "scpi/channels/ports/lan_channel.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "core/system/links/thread_ctl.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "platform/host/options.h"
#include "platform/host/wake_event.h"
#include "scpi/channels/remote_port.h"
#include "scpi/channels/scpi_channels.h"

namespace scpi {
namespace {

constexpr int kPollMs = 20;  // longest wait for the client before the loop looks around
constexpr int kAcceptWaitMs =
    100;  // longest wait for a connection before the accept loop looks for a restart
constexpr int kHangUpGraceMs = 50;   // how long a newcomer waits to see the client ahead of it leave
constexpr uint32_t kWaitPassMs = 2;  // pass period while a large reply drains or the queue is full
// The listener's queue holds a burst of clients as the web ports' does: connections beyond it would wait
// for SYN retries of a second and more.
constexpr int kLanBacklog = 200;

RemotePort g_lanPort;
bool g_lanPortMade = false;  // session thread only
std::atomic<int> g_listenFd{-1};
// The listeners taken at start, until their thread takes them; the ports are set before any thread runs.
struct ClaimedPort {
    int port = -1;
    std::atomic<int> fd{-1};
};
ClaimedPort g_claimed[2];
// The client is handed from the accept thread to the session thread under g_clientLock. A connection
// that arrives while every client ahead of it has already hung up is not turned away: the session
// notices a hang-up only at its next wait and then still finishes the client's last command, so the
// newcomer waits in line (a few at most) and is served when the sessions ahead of it have ended. A
// client that sent its commands and left at once is still served from what it sent.
constexpr size_t kMaxWaiting = 4;
std::mutex g_clientLock;
std::atomic<int> g_clientFd{-1};
int g_waiting[kMaxWaiting];  // under g_clientLock, oldest first
size_t g_waitingCount = 0;
std::atomic<uint32_t> g_connected{0};  // set by the accept thread, cleared by the session thread
// The accept thread wakes the session thread with a new client; never destroyed.
plat::WakeEvent& g_clientArrived = *new plat::WakeEvent;

struct RxBuffer {
    uint8_t data[kLanRxSize];
    uint32_t pos;
    uint32_t count;
};
RxBuffer g_rx;

// Ends the client's connection; with takeNext a connection waiting as the next client becomes the
// client, otherwise it is closed too.
void CloseClient(bool takeNext) {
    pthread_mutex_lock(&g_lanPort.mutex);
    g_lanPort.isOpen = 0;
    g_lanPort.fd = 0;
    std::memset(&g_lanPort.txq, 0, sizeof(g_lanPort.txq));
    pthread_mutex_unlock(&g_lanPort.mutex);
    g_rx.pos = g_rx.count = 0;
    int fd;
    int dropped[kMaxWaiting];
    size_t droppedCount = 0;
    {
        std::lock_guard<std::mutex> lock(g_clientLock);
        fd = g_clientFd.exchange(-1);
        if (takeNext && g_waitingCount > 0) {
            g_clientFd.store(g_waiting[0]);
            std::copy(g_waiting + 1, g_waiting + g_waitingCount, g_waiting);
            --g_waitingCount;
        } else {
            std::copy(g_waiting, g_waiting + g_waitingCount, dropped);
            droppedCount = g_waitingCount;
            g_waitingCount = 0;
            g_connected.store(0);
        }
    }
    if (fd >= 0) close(fd);
    for (size_t i = 0; i < droppedCount; ++i)
        close(dropped[i]);
}

// The peer of a connection has closed its side (or the connection is gone), seen within waitMs. A client
// that closes and connects again at once can have its new connection accepted before its hang-up of the
// old one is seen (the two travel apart on a loaded machine): the short wait lets the hang-up arrive.
bool PeerHasLeft(int fd, int waitMs) {
    pollfd p{fd, POLLRDHUP, 0};
    return poll(&p, 1, waitMs) > 0 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) != 0;
}

// A waiting connection whose client has left without sending a byte: its session would have nothing to
// serve.
bool LeftWithoutAWord(int fd) {
    char byte;
    return PeerHasLeft(fd, 0) && recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
}

// Under g_clientLock, with the line full: the connections in it that left without a word are closed and
// give their places up, so that a burst of clients that connect and close turns no later client away.
void DropThoseThatLeftWithoutAWord() {
    size_t kept = 0;
    for (size_t i = 0; i < g_waitingCount; ++i) {
        if (LeftWithoutAWord(g_waiting[i])) {
            close(g_waiting[i]);
        } else {
            g_waiting[kept++] = g_waiting[i];
        }
    }
    g_waitingCount = kept;
}

int LanInit(const char*, uint32_t) {
    if (!g_lanPortMade) {
        if (PortInit(&g_lanPort, kPortSocketPath) != 0) return -1;
        g_lanPortMade = true;
    }
    return 0;
}

int LanOpen() {
    CloseClient(false);
    int old = g_listenFd.exchange(-1);
    if (old >= 0) close(old);
    const int port = plat::Port(kLanScpiPort);
    int fd = LanTakeListener(port);
    if (fd > 0) {
        // Waited on with poll: a connection that is gone again before accept() must not block it.
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        g_listenFd.store(fd);
        std::printf("LAN: SCPI socket listening on port %d\n", port);
        std::fflush(stdout);
    }
    return fd;
}

int LanWrite(const void* data, uint32_t length, int32_t mode) {
    return PortWrite(&g_lanPort, data, length, mode == kPortCopyEnd ? kPortCopy : mode);
}

int LanRead(void* buffer, uint32_t length, int32_t) {
    uint32_t n = g_rx.count - g_rx.pos;
    if (n > length) n = length;
    if (n == 0) return 0;
    std::memcpy(buffer, g_rx.data + g_rx.pos, n);
    g_rx.pos += n;
    return static_cast<int>(n);
}

int LanControl(int32_t code, uintptr_t) {
    switch (code) {
        case 0:
        case kPortCtlConnected:
            return static_cast<int>(g_connected.load());
        case kPortCtlClearOutput:
        case kPortCtlCommitted:
        case kPortCtlTxCount:
        case kPortCtlRxCount:
            return PortControl(&g_lanPort, code, nullptr);
        default:
            return 0;
    }
}

int LanClose() {
    CloseClient(false);
    return static_cast<int>(g_lanPort.isOpen);
}

void LanDeinit() {
    CloseClient(false);
    const int listener = g_listenFd.exchange(-1);
    if (listener >= 0) close(listener);
    if (g_lanPortMade) PortDeinit(&g_lanPort);
    g_lanPortMade = false;
}

bool Serving() {
    return g_ThreadCtl.running[kRunLanConn].load() == 1 && g_ThreadCtl.control.load() != kIfaceStop &&
           !LanRestartRequested();
}

void BeginSession(int fd) {
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    int flags = fcntl(fd, F_GETFL);
    if (flags >= 0) fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    pthread_mutex_lock(&g_lanPort.mutex);
    g_lanPort.fd = fd;
    g_lanPort.isOpen = 1;
    g_lanPort.rxCount = 0;
    g_lanPort.txCount = 0;
    pthread_mutex_unlock(&g_lanPort.mutex);
    g_rx.pos = g_rx.count = 0;
    // Nothing of an earlier client reaches this one: no pending reply, no half-parsed command.
    ChannelDropSession(&g_ScpiIfLan);
}

// Waits a little for the client's next bytes. False when the client has gone.
bool Receive(int fd) {
    pollfd p{fd, POLLIN, 0};
    int r = poll(&p, 1, kPollMs);
    if (r == 0 || (r < 0 && errno == EINTR)) return true;
    if (r < 0) return false;
    ssize_t n = recv(fd, g_rx.data, kLanRxSize, 0);
    if (n > 0) {
        g_rx.pos = 0;
        g_rx.count = static_cast<uint32_t>(n);
        pthread_mutex_lock(&g_lanPort.mutex);
        g_lanPort.rxCount += static_cast<int32_t>(n);
        pthread_mutex_unlock(&g_lanPort.mutex);
        return true;
    }
    return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR);
}

// Sends everything committed. False on a send error (the client has gone).
bool TransmitAll(int fd) {
    while (Serving()) {
        if (PortCommittedCount(&g_lanPort) <= 0) return true;
        const int rc = PortWrite(&g_lanPort, nullptr, 0, kPortTransmit);
        const int err = errno;
        if (rc > 0) continue;
        if (rc < 0 && (err == EAGAIN || err == EWOULDBLOCK || err == EINTR)) {
            // The client reads slower than we answer: wait for room, noticing a hang-up.
            pollfd p{fd, POLLOUT, 0};
            if (poll(&p, 1, kPollMs) > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL))) return false;
            continue;
        }
        return false;
    }
    return true;
}

}  // namespace

const ScpiIoOps kLanIoOps = {LanInit, LanOpen, LanWrite, LanRead, LanControl, LanClose, LanDeinit};

int LanListen(int port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return 0;
    if (fd == 0) {
        // Descriptor 0 means "none" to the channel.
        int moved = fcntl(fd, F_DUPFD_CLOEXEC, 1);
        close(fd);
        if (moved < 0) return 0;
        fd = moved;
    }
    int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    // A socket that is bound but does not listen accepts nobody: that is a failure too.
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, kLanBacklog) != 0) {
        const int error = errno;
        close(fd);
        errno = error;
        return 0;
    }
    return fd;
}

int LanClaimPorts() {
    const int scpiPort = plat::Port(kLanScpiPort), restartPort = plat::Port(kLanRestartPort);
    const int scpiFd = LanListen(scpiPort);
    if (scpiFd <= 0) return scpiPort;
    const int restartFd = LanListen(restartPort);
    if (restartFd <= 0) {
        const int error = errno;
        close(scpiFd);
        errno = error;
        return restartPort;
    }
    g_claimed[0].port = scpiPort;
    g_claimed[1].port = restartPort;
    g_claimed[0].fd.store(scpiFd, std::memory_order_release);
    g_claimed[1].fd.store(restartFd, std::memory_order_release);
    return 0;
}

int LanTakeListener(int port) {
    for (ClaimedPort& claimed : g_claimed) {
        if (claimed.port != port) continue;
        const int fd = claimed.fd.exchange(-1, std::memory_order_acq_rel);
        if (fd > 0) return fd;
    }
    return LanListen(port);
}

void LanChannelStart() {
    ScpiInterface* ifc = &g_ScpiIfLan;
    // The menu/control thread uses the context until a command posted to it completes.
    if (ifc->parse->state == kParsePosted) ChannelDropSession(ifc);
    ChannelStart(ifc, "LAN", kLanIoOps);
    PortQueueClear(&g_lanPort);
}

void LanAcceptOne() {
    int listenFd = g_listenFd.load();
    if (listenFd < 0) return;
    pollfd p{listenFd, POLLIN, 0};
    if (poll(&p, 1, kAcceptWaitMs) <= 0) return;
    int fd = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;
    // Held while looking for a hang-up too: the session closes a client only under the lock, so the
    // descriptor looked at stays the client's.
    std::lock_guard<std::mutex> lock(g_clientLock);
    if (g_connected.load() == 0) {
        g_clientFd.store(fd);
        g_connected.store(1);
        g_clientArrived.Signal();
    } else if (PeerHasLeft(g_waitingCount > 0 ? g_waiting[g_waitingCount - 1] : g_clientFd.load(),
                           kHangUpGraceMs)) {
        if (g_waitingCount == kMaxWaiting) DropThoseThatLeftWithoutAWord();
        if (g_waitingCount < kMaxWaiting) {
            g_waiting[g_waitingCount++] = fd;
        } else {
            close(fd);  // the line is full of clients that sent commands before they left
        }
    } else {
        close(fd);  // one client at a time
    }
}

bool LanClientConnected() {
    return g_connected.load() == 1;
}

void LanWaitForClient(uint32_t waitMs) {
    // A client that waited in line behind the last one is served after the pause between sessions.
    if (LanClientConnected()) {
        plat::SleepMs(kWaitPassMs);
        return;
    }
    g_clientArrived.WaitUntilUs(plat::NowUs() + uint64_t{waitMs} * 1000u);
}

bool LanRestartRequested() {
    return g_LanRestartReq.load() == 1;
}

void LanServeClient() {
    const int fd = g_clientFd.load();
    ScpiInterface* ifc = &g_ScpiIfLan;
    // The menu/control thread builds the identity and runs the set commands, and the panel takes keys
    // once the system is ready: a client that comes in the first moments after start waits for both, so
    // that a key pressed after the first answer is never dropped as one pressed during the start.
    while (fd >= 0 && Serving() && !(SysStatusTest(kSysMenuThreadRunning) && SysStatusTest(kSysReady)))
        plat::SleepMs(kWaitPassMs);
    if (fd >= 0) {
        BeginSession(fd);
        bool alive = true;
        while (alive && Serving()) {
            scpiMailboxPoll(ifc);
            if (WaitsForInput(ifc) && g_rx.pos >= g_rx.count) {
                alive = Receive(fd);
                continue;
            }
            if (ChannelPass(ifc)) alive = TransmitAll(fd);
            ChannelAwaitProgress(ifc, kPollMs);
        }
        ChannelDropSession(ifc);
    }
    CloseClient(true);
}

}  // namespace scpi
