#include "remote/web/web_channel.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>

#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "platform/host/wake_event.h"
#include "scpi/channels/remote_port.h"
#include "scpi/channels/scpi_channels.h"

namespace web {
namespace {

constexpr uint32_t kPostedPollMs = 20;  // longest wait for a completion before the loop looks around
constexpr uint32_t kRoomPollMs = 20;    // a frame waiting for room looks for a stop this often
// A client whose handshake has not finished within this is taken as gone (a failed handshake has no
// departure of its own).
constexpr uint64_t kHandshakeMs = 5000;

RemotePort g_webPort;
bool g_webPortMade = false;  // port-80 thread only
ClientLink g_link{};

// The client and the receive buffer are shared by the server's worker threads and the port-80 thread.
std::mutex g_lock;
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

void DropSession() {
    scpi::ChannelDropSession(&g_ScpiIfWeb);
    scpi::PortQueueClear(&g_webPort);
}

// Every committed reply goes to the client as one frame; nothing goes to a client that has left or
// replaced the one the reply was for.
void Transmit() {
    std::string out;
    scpi::PortTakeCommitted(&g_webPort, &out);
    if (out.empty()) return;
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_ready != nullptr && g_link.send != nullptr && !g_dropPending.load())
        g_link.send(g_ready, out.data(), out.size());
}

// The client's place is free again; its input and its session are dropped.
void ReleaseLocked() {
    g_claimed = nullptr;
    g_ready = nullptr;
    g_rxHead = g_rxCount = 0;
    g_messageBytes = 0;
    g_dropPending.store(true);
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
    scpiMailboxPoll(ifc);
    // The menu/control thread builds the identity and runs the set commands: input waits for it.
    while (SysStatusTest(kSysMenuThreadRunning)) {
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
        if (g_ready != nullptr && g_link.close != nullptr) g_link.close(g_ready);
    }
    g_roomMade.Signal();
}

void WebChannelEnd() {
    {
        std::lock_guard<std::mutex> lock(g_lock);
        g_claimed = nullptr;
        g_ready = nullptr;
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
            const bool active = g_ready != nullptr && now - g_lastInputMs < kWebIdleHandOverMs;
            if (handshaking || active) return false;
            // An idle client gives its place up: it is asked to close, and its later frames close it.
            if (g_ready != nullptr && g_link.close != nullptr) g_link.close(g_ready);
            ReleaseLocked();
        }
        g_claimed = client;
        g_claimedAtMs = now;
    }
    g_inputCame.Signal();
    return true;
}

void WebClientReady(void* client) {
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_claimed != client) return;
    g_ready = client;
    g_lastInputMs = plat::NowMs();
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
        std::lock_guard<std::mutex> lock(g_lock);
        if (g_claimed != client) return;
        ReleaseLocked();
    }
    g_inputCame.Signal();
}

}  // namespace web
