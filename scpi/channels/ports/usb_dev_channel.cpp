#include "scpi/channels/ports/usb_dev_channel.h"

#include "core/control/sys_event.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/links/remote_state.h"
#include "core/system/state/output_flags.h"
#include "platform/host/device_node.h"
#include "scpi/channels/ports/device_clear.h"
#include "scpi/channels/ports/device_port.h"
#include "scpi/channels/scpi_channels.h"

namespace scpi {
namespace {

constexpr uint8_t kUsbClassCdc = 1u << 4;
constexpr uint32_t kOpenRetryPasses = 600;  // 1.2 s
constexpr uint32_t kDisabledPauseMs = 100;
// Link-state bits: USB-TMC byte 0 bit 3 device clear; byte 1 bit 0 read status byte, bit 3 go to
// local, bit 4 remote enable. USB-CDC bit 2 a clear condition.
constexpr uint32_t kTmcClear = 1u << 3, kTmcReadStb = 1u << 8, kTmcGoLocal = 1u << 11,
                   kTmcRemoteEnable = 1u << 12;
constexpr uint32_t kCdcClear = 1u << 2;

RemotePort g_tmcPort;
RemotePort g_cdcPort;
bool g_portsMade = false;  // the channel thread's own

int Fd(RemotePort* port) {
    pthread_mutex_lock(&port->mutex);
    const int fd = port->isOpen ? port->fd : -1;
    pthread_mutex_unlock(&port->mutex);
    return fd;
}

// Reads one driver word; 0 when the node does not answer.
uint32_t ReadWord(RemotePort* port, unsigned long request) {
    const int fd = Fd(port);
    uint32_t word = 0;
    if (fd < 0 || plat::DeviceRequest(fd, request, &word) < 0) return 0;
    return word;
}

int UsbInit(const char*, uint32_t) {
    if (g_portsMade) {
        PortDeinit(&g_tmcPort);
        PortDeinit(&g_cdcPort);
    }
    g_portsMade = PortInitTerminal(&g_tmcPort, "/dev/usbtmc0") == 0 &&
                  PortInitTerminal(&g_cdcPort, "/dev/ttyGS0") == 0;
    return g_portsMade ? 0 : -1;
}

int UsbOpen() {
    return PortOpen(UsbDevPort());
}

int UsbWrite(const void* data, uint32_t length, int32_t mode) {
    return PortWrite(UsbDevPort(), data, length, mode == kPortCopyEnd ? kPortCopy : mode);
}

int UsbRead(void* buffer, uint32_t length, int32_t how) {
    if (how != 1) return 0;
    return DevicePortRead(UsbDevPort(), buffer, length, true);
}

int UsbControl(int32_t code, uintptr_t argument) {
    RemotePort* port = UsbDevPort();
    switch (code) {
        case 0:
        case kPortCtlConnected:
            return PortIsOpen(port);
        case kPortCtlRearm:
        case 9:
            return 0;
        case kPortCtlLinkState:
            return UsbDevLinkState();
        case kPortCtlPushStatus: {
            if (UsbDevIsCdc()) return 0;
            const int fd = Fd(port);
            uint32_t stb = static_cast<uint32_t>(argument);
            return fd < 0 ? -1 : plat::DeviceRequest(fd, kTmcPushStb, &stb);
        }
        default:
            return PortControl(port, code, reinterpret_cast<const void*>(argument));
    }
}

int UsbClose() {
    RemotePort* port = UsbDevPort();
    PortClose(port);
    return static_cast<int>(port->isOpen);
}

void UsbDeinit() {
    if (!g_portsMade) return;
    PortDeinit(&g_tmcPort);
    PortDeinit(&g_cdcPort);
    g_portsMade = false;
}

}  // namespace

const ScpiIoOps kUsbDevIoOps = {UsbInit, UsbOpen, UsbWrite, UsbRead, UsbControl, UsbClose, UsbDeinit};

bool UsbDevIsCdc() {
    return (IfaceUsbByte(2) & kUsbClassCdc) != 0;
}

RemotePort* UsbDevPort() {
    return UsbDevIsCdc() ? &g_cdcPort : &g_tmcPort;
}

int UsbDevLinkFromWord(bool cdc, uint32_t word) {
    if (cdc) return (word & kCdcClear) ? 1 : 0;
    if (word & kTmcClear) return 1;
    if (word & kTmcReadStb) return 2;
    if ((word & kTmcGoLocal) && RemoteStateGet() == kRemoteRemote) {
        RemoteStateSet(kRemoteLocal);
        OutputFlagClear(kOutFlagRemote);
    } else if ((word & kTmcRemoteEnable) && RemoteStateGet() == kRemoteLocal) {
        RemoteStateSet(kRemoteRemote);
        OutputFlagSet(kOutFlagRemote);
    }
    return 0;
}

int UsbDevLinkState() {
    RemotePort* port = UsbDevPort();
    const bool cdc = UsbDevIsCdc();
    const int link = UsbDevLinkFromWord(cdc, ReadWord(port, cdc ? kCdcLinkState : kTmcLinkStatus));
    if (cdc && link == 1) {
        // The gadget holds the clear condition until it is acknowledged.
        const int fd = Fd(port);
        uint32_t ack = kCdcClear;
        if (fd >= 0) plat::DeviceRequest(fd, kCdcClearAck, &ack);
    }
    return link;
}

void UsbDevPortClose() {
    PortClose(UsbDevPort());
}

void UsbDevChannelStart() {
    ScpiInterface* ifc = &g_ScpiIfUsb;
    const bool cdc = UsbDevIsCdc();
    ifc->channelId = cdc ? kChanUsbCdc : kChanUsbTmc;
    // Requests taken before the context existed (the sequencer's enable) survive its start.
    const uint32_t enabled = ifc->status->chanFlags.load(std::memory_order_acquire) & kChanEnabled;
    ChannelStart(ifc, cdc ? "USB-CDC" : "USB-TMC-Device", kUsbDevIoOps);
    if (enabled != 0) scpiStatusSetBits(ifc->status, kChanEnabled);
}

uint32_t UsbDevPass(uint32_t pass) {
    ScpiInterface* ifc = &g_ScpiIfUsb;
    ScpiParseState* ps = ifc->parse;
    if (ps->state == kParseHeader) ReselectCmdSet(ifc);
    scpiMailboxPoll(ifc);
    scpiPollPostedCommand(ifc);
    DeviceClearAfterCompletion(ifc);
    DeferredStep(ifc);
    if (IsOpcPending() != 0) return 0;
    uint32_t pause = 0;
    const bool enabled = scpiChanIsEnabled(ifc->status) == 1;
    bool open = ifc->io.control(kPortCtlConnected, 0) == 1;
    if (!enabled) {
        if (open) {
            ifc->io.control(kPortCtlReset, 0);
            ifc->io.close();
            open = false;
            pause = kDisabledPauseMs;
        }
    } else if (open) {
        const int link = ifc->io.control(kPortCtlLinkState, 0);
        if (link == 1) {
            if (ifc->deviceClear == 0) {
                ifc->deviceClear = 1;
                DeviceClear(ifc);
            }
        } else if (link == 2) {
            scpiUpdateStatusByte(ifc);
            ifc->io.control(kPortCtlPushStatus, static_cast<uintptr_t>(scpiGetStatusByte(ifc->status)));
        } else if (ps->state != kParsePosted) {
            // Held while a command is with the menu/control thread: the replies of the message that was
            // cleared are discarded when it ends.
            ifc->deviceClear = 0;
        }
        // The next message is read only once the client has taken the replies before it: a client that
        // reads late holds its commands back (the pass goes on, for a device clear and a stop) instead of
        // losing their replies to a full transmit queue.
        if (ps->state != kParsePosted && ifc->io.control(kPortCtlCommitted, 0) <= 0) scpiProcessInput(ifc);
        if (!DevicePortTransmit(UsbDevPort())) {
            ifc->io.close();
            open = false;
        }
    } else if ((pass - 1) % kOpenRetryPasses == 0 && ifc->io.open() == 1) {
        open = true;
        ifc->deviceClear = 0;
        scpiResetInterface(ifc);
        ifc->io.control(kPortCtlRearm, 0);
    }
    EnterRemoteOnCommand(ifc);
    scpiExecute(ifc);
    ChannelFlagsRefresh(ifc, pass);
    if (enabled && open) scpiUpdateStatusByte(ifc);
    return pause;
}

void UsbDevChannelStop() {
    ScpiInterface* ifc = &g_ScpiIfUsb;
    if (ifc->io.close != nullptr) ifc->io.close();
    if (ifc->io.deinit != nullptr) ifc->io.deinit();
}

}  // namespace scpi
