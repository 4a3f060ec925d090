#include "scpi/channels/ports/uart_channel.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "core/control/sys_event.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/links/thread_ctl.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "platform/host/device_node.h"
#include "scpi/channels/scpi_channels.h"

std::atomic<int32_t> g_UartPollState{0};

namespace {

constexpr char kUartPath[] = "/dev/ttyS1";
constexpr uint32_t kReopenSteps = 600;     // a closed port is tried again after this many steps
constexpr uint32_t kFlagSteps = 200;       // the channel flags are refreshed this often
constexpr uint64_t kIdlePauseUs = 100000;  // waiting for the enable setting, or after a close
constexpr uint64_t kRestartPauseUs = 500000;

enum UartState : int32_t { kUartWaitEnable = 0, kUartStart = 1, kUartRestart = 2, kUartRunning = 3 };

// The supervisor thread's own; the menu/control thread writes replies of a posted set command through
// the port's locked queue only.
RemotePort g_uartPort;
bool g_uartPortMade = false;
uint32_t g_steps = 0;
uint32_t g_closedSteps = 0;
bool g_openDue = false;     // the next running step opens at once (start, restart)
bool g_dropDue = false;     // the client went away while a command of it was with the menu/control thread
uint64_t g_pauseUntil = 0;  // no step before this time (platform clock, microseconds)

constexpr speed_t kBauds[] = {B1200, B2400, B4800, B9600, B19200, B38400, B57600, B115200};

uint8_t SettingByte(uint8_t& byte) {
    return std::atomic_ref<uint8_t>(byte).load(std::memory_order_relaxed);
}

// A damaged settings store must not pick a speed past the table nor hang the line up with B0: the
// field takes its default, said once so that a log does not fill with it.
std::atomic<bool> g_told[4];
void TellOutOfRange(int field, const char* name, unsigned code, const char* taken) {
    if (!g_told[field].exchange(true))
        std::fprintf(stderr, "RS232: %s code %u out of range, %s taken\n", name, code, taken);
}

void Pause(uint64_t us) {
    g_pauseUntil = plat::NowUs() + us;
}

bool IsOpen() {
    pthread_mutex_lock(&g_uartPort.mutex);
    const bool open = g_uartPort.isOpen != 0;
    pthread_mutex_unlock(&g_uartPort.mutex);
    return open;
}

int UartInit(const char*, uint32_t) {
    if (g_uartPortMade) return 0;
    if (scpi::PortInit(&g_uartPort, kUartPath) != 0) return -1;
    g_uartPortMade = true;
    return 0;
}

int UartOpen() {
    if (!IsOpen()) {
        termios t{};
        scpi::UartBuildTermios(&t);
        pthread_mutex_lock(&g_uartPort.mutex);
        g_uartPort.inUse = t;
        pthread_mutex_unlock(&g_uartPort.mutex);
    }
    return scpi::PortOpen(&g_uartPort);
}

// The carrier dropped since the last look: the client let go of the line (closed its port).
bool CarrierLost() {
    pthread_mutex_lock(&g_uartPort.mutex);
    int bits = TIOCM_CD;
    const bool lost = g_uartPort.isOpen && plat::DeviceRequest(g_uartPort.fd, TIOCMGET, &bits) == 0 &&
                      (bits & TIOCM_CD) == 0;
    pthread_mutex_unlock(&g_uartPort.mutex);
    return lost;
}

int UartWrite(const void* data, uint32_t length, int32_t mode) {
    return PortWrite(&g_uartPort, data, length, mode == kPortCopyEnd ? kPortCopy : mode);
}

int UartRead(void* buffer, uint32_t length, int32_t how) {
    if (how != 1) return 0;
    pthread_mutex_lock(&g_uartPort.mutex);
    if (!g_uartPort.isOpen) {
        pthread_mutex_unlock(&g_uartPort.mutex);
        return 0;
    }
    const ssize_t n = read(g_uartPort.fd, buffer, length);
    if (n > 0) g_uartPort.rxCount += static_cast<int32_t>(n);
    // errno means something only after -1; a line with nothing to read now says EAGAIN and stays open.
    const bool gone = n == 0 || (n < 0 && (errno == ENOENT || errno == EBADF || errno == ENODEV || errno == ENOMSG));
    pthread_mutex_unlock(&g_uartPort.mutex);
    if (gone) scpi::PortClose(&g_uartPort);
    return n > 0 ? static_cast<int>(n) : 0;
}

int UartControl(int32_t code, uintptr_t argument) {
    switch (code) {
        case 0:
            return IsOpen() ? 1 : 0;
        case 6:
        case 9:
            return 0;
        case kPortCtlSerialApply:
            return SerialApply(&g_uartPort, reinterpret_cast<const void*>(argument));
        default:
            return scpi::PortControl(&g_uartPort, code, reinterpret_cast<const void*>(argument));
    }
}

int UartClose() {
    scpi::PortClose(&g_uartPort);
    return IsOpen() ? 1 : 0;
}

void UartDeinit() {
    if (g_uartPortMade) scpi::PortDeinit(&g_uartPort);
    g_uartPortMade = false;
}

constexpr ScpiIoOps kUartIoOps = {UartInit, UartOpen, UartWrite, UartRead, UartControl, UartClose, UartDeinit};

void ResetParser(ScpiInterface* ifc) {
    scpiResetInterface(ifc);
    ifc->parse->curNode = scpi::CmdSetDesc(ifc)->mainRoot;
}

// Sends what is committed as far as the line takes it; a full line keeps the rest for the next step,
// a failing one is closed.
void Transmit() {
    while (scpi::PortCommittedCount(&g_uartPort) > 0) {
        const int rc = PortWrite(&g_uartPort, nullptr, 0, kPortTransmit);
        if (rc > 0) continue;
        if (rc < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) scpi::PortClose(&g_uartPort);
        return;
    }
}

void RefreshFlags(ScpiStatusBlock* block) {
    const auto flag = [block](uint32_t bit, bool on) {
        if (on)
            scpiStatusSetBits(block, bit);
        else
            scpiStatusClearBits(block, bit);
    };
    flag(kChanReplyWaiting, scpi::PortCommittedCount(&g_uartPort) > 0);
    flag(kChanRxActivity, scpi::PortControl(&g_uartPort, kPortCtlRxCount, nullptr) > 0);
    flag(kChanTxActivity, scpi::PortControl(&g_uartPort, kPortCtlTxCount, nullptr) > 0);
    flag(kChanConnected, IsOpen());
}

// A restart takes the new settings at the next open. A port that is closed has nothing to restart: the
// channel starts over from the enable setting instead of waiting for an open that nothing would make.
void Restart(ScpiInterface* ifc) {
    // The menu/control thread writes into the queue until its command completes.
    scpiPollPostedCommand(ifc);
    if (ifc->parse->state == kParsePosted) return;
    if (!IsOpen()) {
        int32_t expected = kUartRestart;
        g_UartPollState.compare_exchange_strong(expected, kUartWaitEnable);
        return;
    }
    ifc->io.control(kPortCtlReset, 0);
    ifc->io.close();
    ifc->io.init("UART", ifc->channelId);
    scpi::LogClear(ifc);
    ResetParser(ifc);
    g_openDue = true;
    Pause(kRestartPauseUs);
    int32_t expected = kUartRestart;
    g_UartPollState.compare_exchange_strong(expected, kUartRunning);
}

// A client that closes the line and opens it again finds the channel as a new session finds the LAN
// one: no part of the last message, no reply of it. A command still with the menu/control thread is
// waited for on a later step (this step must not block); its reply is dropped then.
void DropClient(ScpiInterface* ifc) {
    scpiPollPostedCommand(ifc);
    g_dropDue = ifc->parse->state == kParsePosted;
    if (!g_dropDue) scpi::ChannelDropSession(ifc);
}

void Run(ScpiInterface* ifc) {
    scpiMailboxPoll(ifc);
    if (IsOpcPending() != 0) {
        scpiPollPostedCommand(ifc);
        scpi::DeferredStep(ifc);
        return;
    }
    const bool enabled = scpiChanIsEnabled(ifc->status) != 0;
    if (!enabled) {
        scpiPollPostedCommand(ifc);
        if (IsOpen()) {
            ifc->io.control(kPortCtlReset, 0);
            ifc->io.close();
        }
        Pause(kIdlePauseUs);
    } else if (IsOpen()) {
        if (CarrierLost() || g_dropDue) DropClient(ifc);
        if (!g_dropDue) {
            // The next message is read only once the client has taken the replies before it: a client
            // that reads late holds its commands back, as a full socket holds the LAN session, instead
            // of losing their replies to a full transmit queue. The step itself never waits.
            Transmit();
            if (scpi::PortCommittedCount(&g_uartPort) == 0 && scpi::ChannelPass(ifc)) Transmit();
        }
        if (!IsOpen()) {
            // The line went away under the read or the write.
            ifc->io.control(kPortCtlReset, 0);
            ifc->io.close();
            g_closedSteps = 0;
            Pause(kIdlePauseUs);
        }
    } else {
        scpiPollPostedCommand(ifc);
        if (g_openDue || ++g_closedSteps >= kReopenSteps) {
            g_openDue = false;
            g_closedSteps = 0;
            if (ifc->io.open() == 1 && ifc->parse->state != kParsePosted) {
                ResetParser(ifc);
                ifc->io.control(kPortCtlRearm, 0);
            }
        }
    }
    if (++g_steps % kFlagSteps == 0) RefreshFlags(ifc->status);
}

}  // namespace

int32_t UartInterfaceInit() {
    ScpiInterface* ifc = &g_ScpiIfUart;
    if (scpi::ChannelStart(ifc, "UART", kUartIoOps) != 0) return -1;
    scpiStatusSetBits(ifc->status, kChanEnabled);
    g_UartPollState.store(kUartWaitEnable);
    g_pauseUntil = 0;
    g_openDue = false;
    g_dropDue = false;
    g_ThreadCtl.running[kRunRs232].store(1);
    return 0;
}

int32_t UartPollStep() {
    // The RS232 settings are the stored ones only once the menu/control thread has loaded them (it sets its
    // running bit after): before that they are being written, and a port opened on them would be wrong.
    if (!SysStatusTest(kSysMenuThreadRunning)) return g_UartPollState.load();
    if (plat::NowUs() < g_pauseUntil) return g_UartPollState.load();
    ScpiInterface* ifc = &g_ScpiIfUart;
    int32_t state = g_UartPollState.load();
    switch (state) {
        case kUartWaitEnable:
            if (SettingByte(g_IfaceCfg.rs232Enable) == 1)
                g_UartPollState.compare_exchange_strong(state, kUartStart);
            else
                Pause(kIdlePauseUs);
            break;
        case kUartStart:
            g_openDue = true;
            g_UartPollState.compare_exchange_strong(state, kUartRunning);
            break;
        case kUartRestart:
            Restart(ifc);
            break;
        default:
            Run(ifc);
            break;
    }
    return g_UartPollState.load();
}

void UartChannelRestart() {
    g_UartPollState.store(kUartRestart);
}

namespace scpi {

int32_t UartPollState() {
    return g_UartPollState.load();
}

void UartBuildTermios(termios* t) {
    *t = termios{};
    unsigned baud = SettingByte(g_IfaceCfg.rs232Baud);
    if (baud >= sizeof kBauds / sizeof kBauds[0]) {
        TellOutOfRange(0, "baud", baud, "9600");
        baud = 3;
    }
    unsigned bits = SettingByte(g_IfaceCfg.rs232DataBits);
    if (bits > 1) {
        TellOutOfRange(1, "data bits", bits, "8 bits");
        bits = 1;
    }
    unsigned parity = SettingByte(g_IfaceCfg.rs232Parity);
    if (parity > 2) {
        TellOutOfRange(2, "parity", parity, "none");
        parity = 0;
    }
    unsigned stop = SettingByte(g_IfaceCfg.rs232StopBits);
    if (stop > 1) {
        TellOutOfRange(3, "stop bits", stop, "1 stop bit");
        stop = 0;
    }
    t->c_cflag = CREAD | CLOCAL | (bits == 0 ? CS7 : CS8);
    if (parity == 0) t->c_iflag |= IGNPAR;
    if (parity == 1) t->c_cflag |= PARENB | PARODD;
    if (parity == 2) t->c_cflag |= PARENB;
    if (stop != 0) t->c_cflag |= CSTOPB;
    t->c_cc[VTIME] = 0;
    t->c_cc[VMIN] = 1;
    cfsetispeed(t, kBauds[baud]);
    cfsetospeed(t, kBauds[baud]);
}

const RemotePort* UartPort() {
    return &g_uartPort;
}

}  // namespace scpi
