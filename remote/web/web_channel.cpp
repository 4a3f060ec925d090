#include "remote/web/web_channel.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <utility>

#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "platform/host/wake_event.h"
#include "remote/web/web_frame.h"
#include "scpi/channels/remote_port.h"
#include "scpi/channels/scpi_channels.h"

namespace web {
namespace {

constexpr uint32_t kPostedPollMs = 20;  // longest wait for a completion before the loop looks around
constexpr uint32_t kRoomPollMs = 20;    // a frame waiting for room looks for a stop this often
// A client whose handshake has not finished within this is taken as gone (a failed handshake has no
// departure of its own).
constexpr uint64_t kHandshakeMs = 5000;
// A departing client waits this long at most for a frame being sent to it (the send gives up sooner).
constexpr uint32_t kLeaveWaitMs = kWebSendWaitMs + 1000;

RemotePort g_webPort;
bool g_webPortMade = false;  // port-80 thread only
ClientLink g_link{};

// The client and the receive buffer are shared by the server's worker threads and the port-80 thread.
// Nothing is sent under the lock: a client that stops reading must not keep a newcomer or its own
// departure waiting on it.
std::mutex g_lock;
std::condition_variable g_sendEnded;
void* g_sending = nullptr;        // the client a frame is going to; it does not leave before the send ends
void* g_toClose = nullptr;        // a client that lost its place, to be asked to close by the port-80 thread
const void* g_claimed = nullptr;  // the client that passed the handshake test
uint64_t g_claimedAtMs = 0;
void* g_ready = nullptr;     // the same once replies may go to it
uint64_t g_lastInputMs = 0;  // when the client last sent a frame (or became ready)
size_t g_messageBytes = 0;   // bytes of the message whose fragments are coming in
bool g_stopping = false;
uint8_t g_rx[kWebRxSize];
uint32_t g_rxHead = 0;
uint32_t g_rxCount = 0;
// Set when a client leaves; the port-80 thread drops the session's parser state and output before it
// serves anyone again. Replies committed meanwhile are not sent.
std::atomic<bool> g_dropPending{false};
// Never destroyed: worker threads may still wait while the process ends.
plat::WakeEvent& g_inputCame = *new plat::WakeEvent;
plat::WakeEvent& g_roomMade = *new plat::WakeEvent;

int WebInit(const char*, uint32_t) {
    if (!g_webPortMade) {
        if (scpi::PortInit(&g_webPort, "websocket") != 0) return -1;
        g_webPortMade = true;
    }
    return 0;
}

int WebWrite(const void* data, uint32_t length, int32_t mode) {
    // Transmitting is the port-80 thread's own step: the websocket sends frames, not descriptor writes.
    if (mode == kPortTransmit) return -1;
    return PortWrite(&g_webPort, data, length, mode == kPortCopyEnd ? kPortCopy : mode);
}

int WebRead(void* buffer, uint32_t length, int32_t) {
    uint32_t n = 0;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        n = std::min(length, g_rxCount);
        for (uint32_t i = 0; i < n; ++i)
            static_cast<uint8_t*>(buffer)[i] = g_rx[(g_rxHead + i) % kWebRxSize];
        g_rxHead = (g_rxHead + n) % kWebRxSize;
        g_rxCount -= n;
    }
    if (n > 0) {
        g_roomMade.Signal();
        pthread_mutex_lock(&g_webPort.mutex);
        g_webPort.rxCount += static_cast<int32_t>(n);
        pthread_mutex_unlock(&g_webPort.mutex);
    }
    return static_cast<int>(n);
}

bool Connected() {
    std::lock_guard<std::mutex> lock(g_lock);
    return g_ready != nullptr;
}

int WebControl(int32_t code, uintptr_t) {
    switch (code) {
        case 0:
        case kPortCtlConnected:
            return Connected() ? 1 : 0;
        case kPortCtlClearOutput:
        case kPortCtlCommitted:
        case kPortCtlTxCount:
        case kPortCtlRxCount:
            return scpi::PortControl(&g_webPort, code, nullptr);
        default:
            return 0;
    }
}

int WebClose() {
    std::lock_guard<std::mutex> lock(g_lock);
    return g_ready != nullptr ? 1 : 0;
}

bool RxEmpty() {
    std::lock_guard<std::mutex> lock(g_lock);
    return g_rxCount == 0;
}

std::string g_unsent;  // committed bytes of a reply not yet whole (port-80 thread only)

void DropSession() {
    scpi::ChannelDropSession(&g_ScpiIfWeb);
    scpi::PortQueueClear(&g_webPort);
    g_unsent.clear();
}

// The client's place is free again; its input and its session are dropped.
void ReleaseLocked() {
    g_claimed = nullptr;
    g_ready = nullptr;
    g_rxHead = g_rxCount = 0;
    g_messageBytes = 0;
    g_dropPending.store(true);
}

// Port-80 thread: `client` (read under the lock by `pick`) is held from leaving while `send` runs
// outside the lock. False when there was no client to send to.
template <typename Pick, typename Send>
bool SendOutsideLock(Pick pick, Send send) {
    void* client = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        client = pick();
        if (client == nullptr) return false;
        g_sending = client;
    }
    const bool sent = send(client);
    {
        std::lock_guard<std::mutex> lock(g_lock);
        g_sending = nullptr;
        // A client whose frame could not go out whole is gone (the link has ended its connection).
        if (!sent && g_ready == client) ReleaseLocked();
    }
    g_sendEnded.notify_all();
    return true;
}

bool AskToClose(void* client) {
    if (g_link.close != nullptr) g_link.close(client);
    return true;
}

// Port-80 thread: the client that lost its place to a newcomer is asked to close.
void CloseReplaced() {
    SendOutsideLock([] { return std::exchange(g_toClose, nullptr); }, AskToClose);
}

// Every committed reply goes to the client as one frame once it is whole (a block and the line feed
// after it are committed apart); nothing goes to a client that has left or replaced the one the reply
// was for.
void Transmit() {
    scpi::PortTakeCommitted(&g_webPort, &g_unsent);
    bool binary = false;
    for (size_t length; (length = WebReplyLength(g_unsent, &binary)) > 0;) {
        const bool someone = SendOutsideLock([] { return g_dropPending.load() ? nullptr : g_ready; },
                                             [&](void* client) {
                                                 return g_link.send == nullptr ||
                                                        g_link.send(client, g_unsent.data(), length, binary);
                                             });
        g_unsent.erase(0, someone ? length : g_unsent.size());
    }
}

}  // namespace

const ScpiIoOps kWebIoOps = {WebInit, nullptr, WebWrite, WebRead, WebControl, WebClose, nullptr};

void WebChannelStart(const ClientLink& link) {
    ScpiInterface* ifc = &g_ScpiIfWeb;
    // The menu/control thread uses the context until a command posted to it completes.
    if (ifc->parse->state == kParsePosted) scpi::ChannelDropSession(ifc);
    g_link = link;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        g_stopping = false;
    }
    scpi::ChannelStart(ifc, kWebChannelName, kWebIoOps);
    scpi::PortQueueClear(&g_webPort);
}

void WebChannelServe(uint32_t waitMs) {
    ScpiInterface* ifc = &g_ScpiIfWeb;
    const uint64_t deadline = plat::NowUs() + uint64_t{waitMs} * 1000u;
    CloseReplaced();
    scpiMailboxPoll(ifc);
    // The menu/control thread builds the identity and runs the set commands, and the panel takes keys
    // once the system is ready: input waits for both, as on the LAN socket.
    while (SysStatusTest(kSysMenuThreadRunning) && SysStatusTest(kSysReady)) {
        if (g_dropPending.exchange(false)) DropSession();
        if (scpi::WaitsForInput(ifc) && RxEmpty()) break;
        if (scpi::ChannelPass(ifc)) Transmit();
        scpi::ChannelAwaitProgress(ifc, kPostedPollMs);
        if (plat::NowUs() >= deadline) return;
    }
    g_inputCame.WaitUntilUs(deadline);
}

void WebChannelStopping() {
    {
        std::lock_guard<std::mutex> lock(g_lock);
        g_stopping = true;
    }
    g_roomMade.Signal();
    CloseReplaced();
    SendOutsideLock([] { return g_ready; }, AskToClose);
}

void WebChannelEnd() {
    {
        std::lock_guard<std::mutex> lock(g_lock);
        g_claimed = nullptr;
        g_ready = nullptr;
        g_toClose = nullptr;
        g_rxHead = g_rxCount = 0;
        g_messageBytes = 0;
    }
    g_dropPending.store(false);
    DropSession();
}

bool WebClientClaim(const void* client) {
    {
        std::lock_guard<std::mutex> lock(g_lock);
        const uint64_t now = plat::NowMs();
        if (g_stopping) return false;
        if (g_claimed != nullptr) {
            const bool handshaking = g_ready == nullptr && now - g_claimedAtMs < kHandshakeMs;
            // The server sees a departure only once its worker notices it.
            const bool gone = g_ready != nullptr && g_link.gone != nullptr && g_link.gone(g_ready);
            const bool active = g_ready != nullptr && now - g_lastInputMs < kWebIdleHandOverMs && !gone;
            if (handshaking || active) return false;
            // An idle client gives its place up: the port-80 thread asks it to close, and its later
            // frames close it.
            if (!gone) g_toClose = g_ready;
            ReleaseLocked();
        }
        g_claimed = client;
        g_claimedAtMs = now;
    }
    g_inputCame.Signal();
    return true;
}

bool WebClientReady(void* client) {
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_stopping) return false;
    if (g_claimed != client) return true;
    g_ready = client;
    g_lastInputMs = plat::NowMs();
    return true;
}

bool WebClientFrame(const void* client, const char* data, size_t length, bool final) {
    {
        std::lock_guard<std::mutex> lock(g_lock);
        if (g_claimed != client || g_stopping) return false;
        // A message longer than any command can take is refused before a byte of it is kept.
        if (length > kWebMessageMax - g_messageBytes) return false;
        g_messageBytes = final ? 0 : g_messageBytes + length;
        g_lastInputMs = plat::NowMs();
    }
    const bool addLineFeed = final && (length == 0 || data[length - 1] != '\n');
    const size_t total = length + (addLineFeed ? 1 : 0);
    size_t done = 0;
    const uint64_t deadline = plat::NowUs() + uint64_t{kWebFrameWaitMs} * 1000u;
    while (done < total) {
        size_t n = 0;
        {
            std::lock_guard<std::mutex> lock(g_lock);
            if (g_claimed != client || g_stopping) return false;
            n = std::min<size_t>(total - done, kWebRxSize - g_rxCount);
            for (size_t i = 0; i < n; ++i) {
                const size_t at = done + i;
                g_rx[(g_rxHead + g_rxCount + i) % kWebRxSize] =
                    at < length ? static_cast<uint8_t>(data[at]) : '\n';
            }
            g_rxCount += static_cast<uint32_t>(n);
        }
        done += n;
        if (n > 0) g_inputCame.Signal();
        if (done == total) break;
        const uint64_t now = plat::NowUs();
        if (now >= deadline) return false;
        g_roomMade.WaitUntilUs(std::min(deadline, now + kRoomPollMs * 1000u));
    }
    return true;
}

void WebClientLeave(const void* client) {
    {
        std::unique_lock<std::mutex> lock(g_lock);
        // The server frees the connection once this returns: a frame going to it is waited for.
        g_sendEnded.wait_for(lock, std::chrono::milliseconds(kLeaveWaitMs),
                             [client] { return g_sending != client; });
        if (g_toClose == client) g_toClose = nullptr;
        if (g_claimed != client) return;
        ReleaseLocked();
    }
    g_inputCame.Signal();
}

}  // namespace web
