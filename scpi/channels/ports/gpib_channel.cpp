#include "scpi/channels/ports/gpib_channel.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "core/control/sys_event.h"
#include "core/system/links/usb_state.h"
#include "drivers/board_lines.h"
#include "platform/host/clock.h"
#include "platform/host/device_node.h"
#include "platform/host/root.h"
#include "platform/sandbox/sandbox.h"
#include "scpi/channels/ports/device_clear.h"
#include "scpi/channels/ports/device_port.h"
#include "scpi/channels/scpi_channels.h"
#include "scpi/handlers/scpi_refusals.h"

std::atomic<uint32_t> g_GpibEnable{1};

namespace scpi {
namespace {

constexpr char kGpibNode[] = "/dev/qx_gpib";
constexpr char kModuleFile[] = "/mnt/disk/qx_gpib.ko";
constexpr uint32_t kModulePauseMs = 500;
constexpr int32_t kGpibAddressMax = 30;
constexpr uint16_t kRqs = 0x40;
constexpr uint8_t kUsbGpibPresent = 1u << 2;  // of USB status byte A

RemotePort g_port;
bool g_portMade = false;
int32_t g_address = -1;  // the address last given to the driver; -1 none since the open
GpibStatusPair g_pushed{};
uint32_t g_busStatus = 0;  // the last bus status word read

// The module commands, written by the channel thread before it publishes them; run by the sequencer's
// thread.
char g_insmod[64];
char g_rmmod[32];
std::atomic<bool> g_commandsReady{false};
std::atomic<bool> g_loaded{false};

int Fd() {
    pthread_mutex_lock(&g_port.mutex);
    const int fd = g_port.isOpen ? g_port.fd : -1;
    pthread_mutex_unlock(&g_port.mutex);
    return fd;
}

int Request(unsigned long request, void* arg) {
    const int fd = Fd();
    return fd < 0 ? -1 : plat::DeviceRequest(fd, request, arg);
}

int ReadWord(unsigned long request) {
    uint32_t word = 0;
    if (Request(request, &word) < 0) return -1;
    return static_cast<int>(word);
}

// The bytes of the committed replies, as the driver is told before it sends them.
uint32_t CommittedLength() {
    pthread_mutex_lock(&g_port.mutex);
    const ScpiTxQueue& q = g_port.txq;
    uint32_t sum = 0;
    for (int32_t i = 0; i < q.committed; ++i)
        sum += q.entries[(q.readIdx + static_cast<uint32_t>(i)) % kTxQueueEntries].length;
    pthread_mutex_unlock(&g_port.mutex);
    return sum;
}

// The node stays blocking for the driver, but a reply never waits in write() for a client that does not
// read: the pass has to go on to see a device clear and a stop. It is written only when poll says the node
// takes bytes, and non-blocking, since a blocking write waits until the node has taken all of it; what the
// node does not take now stays queued for the next pass.
bool TransmitWithoutWaiting() {
    pollfd p{Fd(), POLLOUT, 0};
    if (p.fd < 0) return true;
    if (poll(&p, 1, 0) <= 0) return true;
    const int flags = fcntl(p.fd, F_GETFL);
    if (flags < 0 || fcntl(p.fd, F_SETFL, flags | O_NONBLOCK) < 0) return true;
    const bool kept = DevicePortTransmit(&g_port);
    fcntl(p.fd, F_SETFL, flags);
    return kept;
}

int SetAddress(uintptr_t argument) {
    const int32_t address = static_cast<int32_t>(argument);
    if (address < 0 || address > kGpibAddressMax) return -1;  // a damaged setting is not the bus's
    if (address == g_address) return 0;
    int32_t word = address;
    const int rc = Request(kGpibSetAddress, &word);
    if (rc >= 0) g_address = address;
    return rc;
}

int GpibInit(const char*, uint32_t) {
    if (g_portMade) PortDeinit(&g_port);
    g_portMade = PortInit(&g_port, kGpibNode) == 0;
    g_address = -1;
    return g_portMade ? 0 : -1;
}

int GpibOpen() {
    pthread_mutex_lock(&g_port.mutex);
    if (!g_port.isOpen) {
        const int fd = plat::OpenDevice(kGpibNode, O_RDWR);
        if (fd > 0) {
            g_port.fd = fd;
            g_port.isOpen = 1;
            g_port.rxCount = 0;
            g_port.txCount = 0;
        } else if (fd == 0) {
            plat::CloseDevice(fd);  // descriptor 0 means "closed" to the port
        }
    }
    const int open = static_cast<int>(g_port.isOpen);
    pthread_mutex_unlock(&g_port.mutex);
    return open;
}

int GpibWrite(const void* data, uint32_t length, int32_t mode) {
    return PortWrite(&g_port, data, length, mode == kPortCopyEnd ? kPortCopy : mode);
}

int GpibRead(void* buffer, uint32_t length, int32_t how) {
    if (how != 1) return 0;
    // The node is opened blocking: a read only follows what is there, so the pass never waits for the bus.
    pollfd p{Fd(), POLLIN, 0};
    if (p.fd < 0) return 0;
    if (poll(&p, 1, 0) <= 0) return 0;
    return DevicePortRead(&g_port, buffer, length, false);
}

int GpibControl(int32_t code, uintptr_t argument) {
    switch (code) {
        case 0:
        case kPortCtlConnected:
            return g_port.isOpen ? 1 : 0;
        case kPortCtlClearOutput:
            Request(kGpibClearOutput, nullptr);
            return PortQueueClear(&g_port);
        case kPortCtlRearm:
            return SetAddress(argument);
        case 9:
            return 0;
        case 13:
            return ReadWord(kGpibWord07);
        case 14: {
            const auto* given = reinterpret_cast<const GpibStatusPair*>(argument);
            if (given == nullptr) return -1;
            GpibStatusPair pair{static_cast<uint16_t>(given->stb & ~kRqs), static_cast<uint16_t>(given->sre & ~kRqs)};
            return Request(kGpibSetStatus, &pair);
        }
        case kPortCtlLinkState:
            return ReadWord(kGpibBusStatus);
        case 16:
            return ReadWord(kGpibWord0C);
        case 17:
            return ReadWord(kGpibWord10);
        case kPortCtlAnnounceLength: {
            uint32_t length = CommittedLength();
            return Request(kGpibReplyLength, &length);
        }
        case 19:
            return ReadWord(kGpibWord0A);
        case kPortCtlCommitted:
        case kPortCtlReset:
        case kPortCtlReserved:
        case kPortCtlTxCount:
        case kPortCtlRxCount:
            return PortControl(&g_port, code, nullptr);
        default:
            return -1;
    }
}

int GpibClose() {
    PortClose(&g_port);
    g_address = -1;
    return static_cast<int>(g_port.isOpen);
}

void GpibDeinit() {
    if (!g_portMade) return;
    PortDeinit(&g_port);
    g_portMade = false;
    g_address = -1;
}

void RunModuleCommand(const char* command) {
    plat::System(command);
    plat::SleepMs(kModulePauseMs);
    plat::System("sync");
}

}  // namespace

const ScpiIoOps kGpibIoOps = {GpibInit, GpibOpen, GpibWrite, GpibRead, GpibControl, GpibClose, GpibDeinit};

bool GpibDriverPrepare() {
    if (access(plat::MapPath(kModuleFile).c_str(), F_OK) != 0) return false;
    std::snprintf(g_insmod, sizeof g_insmod, "insmod %s", kModuleFile);
    std::snprintf(g_rmmod, sizeof g_rmmod, "rmmod qx_gpib");
    g_commandsReady.store(true, std::memory_order_release);
    return true;
}

void GpibDriverLoadOnce() {
    if (!g_commandsReady.load(std::memory_order_acquire)) return;
    if (g_loaded.exchange(true, std::memory_order_acq_rel)) return;
    RunModuleCommand(g_insmod);
}

void GpibDriverUnload() {
    if (!g_commandsReady.load(std::memory_order_acquire)) return;
    if (!g_loaded.exchange(false, std::memory_order_acq_rel)) return;
    RunModuleCommand(g_rmmod);
}

void GpibChannelStart() {
    g_UsbState.statusA.fetch_or(kUsbGpibPresent);
    ScpiInterface* ifc = &g_ScpiIfGpib;
    ifc->channelId = kChanUsbGpib;
    const uint32_t enabled = ifc->status->chanFlags.load(std::memory_order_acquire) & kChanEnabled;
    ChannelStart(ifc, "USB-GPIB", kGpibIoOps);
    if (enabled != 0) scpiStatusSetBits(ifc->status, kChanEnabled);
    g_pushed = GpibStatusPair{};
    g_busStatus = 0;
}

void GpibPass(uint32_t pass) {
    ScpiInterface* ifc = &g_ScpiIfGpib;
    ScpiParseState* ps = ifc->parse;
    if (ps->state == kParseHeader) ReselectCmdSet(ifc);
    const bool wasEnabled = scpiChanIsEnabled(ifc->status) == 1;
    const bool disableAsked = (ifc->status->reqBits.load(std::memory_order_acquire) & kReqDisable) != 0;
    scpiMailboxPoll(ifc);
    const bool enabled = scpiChanIsEnabled(ifc->status) == 1;
    if (!enabled && (wasEnabled || disableAsked)) {
        // Disabled: nothing of the old session stays, and the adapter is reset by its line.
        scpiErrorQueueClear(&ifc->errq);
        ifc->io.control(kPortCtlReset, 0);
        ifc->io.control(kPortCtlClearOutput, 0);
        ifc->io.close();
        PeripheralResetPulse();
    }
    scpiPollPostedCommand(ifc);
    DeviceClearAfterCompletion(ifc);
    if (IsOpcPending() != 0) return;
    if (enabled) {
        if (ifc->io.control(kPortCtlConnected, 0) != 1) {
            if (ifc->io.open() == 1) {
                ifc->io.control(kPortCtlRearm, ifc->status->reqValue);
                ifc->io.control(19, 0);
                scpiResetInterface(ifc);
            }
        } else {
            DeferredStep(ifc);
            if (ifc->io.control(kPortCtlCommitted, 0) > 0) {
                if (!TransmitWithoutWaiting()) ifc->io.close();
            } else if (ps->state != kParsePosted) {
                scpiProcessInput(ifc);
            }
            const int bus = ifc->io.control(kPortCtlLinkState, 0);
            if (bus > 0) {
                g_busStatus = static_cast<uint32_t>(bus);
                if (g_busStatus & kGpibDeviceClear) DeviceClear(ifc);
                if (g_busStatus & kGpibTrigger) scpiBusTrigger(ifc, 1);
            }
            scpiUpdateStatusByte(ifc);
            const int stb = scpiGetStatusByte(ifc->status), sre = scpiSreGet(ifc->status);
            GpibStatusPair pair{static_cast<uint16_t>(stb & ~kRqs), static_cast<uint16_t>(sre & ~kRqs)};
            if (pair.stb != g_pushed.stb || pair.sre != g_pushed.sre) {
                ifc->io.control(14, reinterpret_cast<uintptr_t>(&pair));
                g_pushed = pair;
            }
        }
    }
    EnterRemoteOnCommand(ifc);
    scpiExecute(ifc);
    ChannelFlagsRefresh(ifc, pass);
}

void GpibChannelStop() {
    ScpiInterface* ifc = &g_ScpiIfGpib;
    if (ifc->io.close != nullptr) ifc->io.close();
    if (ifc->io.deinit != nullptr) ifc->io.deinit();
    GpibDriverUnload();
}

}  // namespace scpi
