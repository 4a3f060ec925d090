#include "scpi/channels/scpi_threads.h"

#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "core/system/links/thread_ctl.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "platform/host/options.h"
#include "scpi/channels/ports/gpib_channel.h"
#include "scpi/channels/ports/lan_channel.h"
#include "scpi/channels/ports/usb_dev_channel.h"
#include "scpi/channels/scpi_channels.h"

namespace {

// A stop request is seen within this time; a posted request ends the wait at once.
constexpr long kStartWaitNs = 50L * 1000 * 1000;
constexpr uint32_t kPassMs = 2;
constexpr uint32_t kUsbStartDelayMs = 2000;
constexpr uint32_t kChannelSettleMs = 2000;

bool StopAsked() {
    return g_ThreadCtl.control.load() == kIfaceStop;
}

bool WaitForRequest(ScpiStatusBlock* block) {
    timespec until{};
    clock_gettime(CLOCK_REALTIME, &until);
    until.tv_nsec += kStartWaitNs;
    if (until.tv_nsec >= 1000000000L) {
        until.tv_sec += 1;
        until.tv_nsec -= 1000000000L;
    }
    return sem_timedwait(&block->reqSem, &until) == 0;
}

// Before its context exists a channel only notes enable and disable, so that a poster (the USB port
// sequencers in the timer step) is not held up for the mailbox's whole wait and the enable is not lost.
void TakeRequest(ScpiStatusBlock* block) {
    const uint32_t bits = block->reqBits.exchange(0, std::memory_order_acq_rel);
    if (bits & kReqEnable) scpiStatusSetBits(block, kChanEnabled);
    if (bits & kReqDisable) scpiStatusClearBits(block, kChanEnabled);
    scpiMailboxDone(block);
}

// False when a stop was asked meanwhile.
bool WaitNotingRequests(ScpiStatusBlock* block, uint32_t ms) {
    const uint64_t until = plat::NowMs() + ms;
    while (plat::NowMs() < until) {
        if (StopAsked()) return false;
        if (WaitForRequest(block)) TakeRequest(block);
    }
    return !StopAsked();
}

// The channel takes its requests in full while it settles.
bool SettleServingMailbox(ScpiInterface* ifc, uint32_t ms) {
    const uint64_t until = plat::NowMs() + ms;
    while (plat::NowMs() < until) {
        if (StopAsked()) return false;
        scpiMailboxPoll(ifc);
        plat::SleepMs(kPassMs);
    }
    return true;
}

}  // namespace

void* UsbDevThread(void*) {
    if (!WaitNotingRequests(&scpi::g_StatusUsb, kUsbStartDelayMs)) return nullptr;
    scpi::UsbDevChannelStart();
    g_ThreadCtl.running[kRunUsbDev].store(1);
    if (SettleServingMailbox(&g_ScpiIfUsb, kChannelSettleMs)) {
        for (uint32_t pass = 1; !StopAsked(); ++pass)
            plat::SleepMs(kPassMs + scpi::UsbDevPass(pass));
    }
    scpi::UsbDevChannelStop();
    g_ThreadCtl.running[kRunUsbDev].store(0);
    return nullptr;
}

void* UsbGpibThread(void*) {
    while (!SysStatusTest(kSysMenuThreadRunning)) {
        if (StopAsked()) return nullptr;
        plat::SleepMs(kPassMs);
    }
    // No adapter without its driver: the thread ends, and the sequencer never sees the adapter.
    if (g_GpibEnable.load() != 1 || !scpi::GpibDriverPrepare()) return nullptr;
    scpi::GpibChannelStart();
    g_ThreadCtl.running[kRunUsbGpib].store(1);
    if (SettleServingMailbox(&g_ScpiIfGpib, kChannelSettleMs)) {
        for (uint32_t pass = 1; !StopAsked(); ++pass) {
            scpi::GpibPass(pass);
            plat::SleepMs(kPassMs);
        }
    }
    scpi::GpibChannelStop();
    g_ThreadCtl.running[kRunUsbGpib].store(0);
    return nullptr;
}

namespace {
constexpr uint32_t kLanStartDelayMs = 50;
constexpr uint32_t kLanRetryMs = 1000;
constexpr uint32_t kLanPollMs = 2;
// Longest wait for a client between sessions: the thread still notices stop and restart requests.
constexpr uint32_t kLanIdleWaitMs = 20;

// Listens on `port` until it succeeds, retrying every second; says once when it cannot.
int ListenWithRetry(int port, const char* what) {
    bool told = false;
    for (;;) {
        int fd = scpi::LanTakeListener(port);
        if (fd > 0) return fd;
        if (!told) {
            std::fprintf(stderr, "LAN: cannot listen on %s port %d, retrying every second\n", what, port);
            told = true;
        }
        plat::SleepMs(kLanRetryMs);
    }
}
}  // namespace

void* LanRestartThread(void*) {
    plat::SleepMs(kLanStartDelayMs);
    const int port = plat::Port(scpi::kLanRestartPort);
    int fd = ListenWithRetry(port, "the restart");
    std::printf("LAN: restart port %d listening\n", port);
    std::fflush(stdout);
    for (;;) {
        int client = accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (client >= 0) {
            // The supervisor acts on the request: it re-creates the LAN threads and this listener.
            if (g_LanRestartReq.load() != 1) g_LanRestartReq.store(1);
            close(client);
            close(fd);
            return nullptr;
        }
        plat::SleepMs(kLanPollMs);
    }
}

// The LAN connection and accept threads are asked to end by the restart request and end at their next
// wait: an asynchronous cancellation could strike inside a lock, and a cancelled thread unwinds past
// frames that the sanitizers still track. The supervisor's cancellation only waits for that.
void* LanConnThread(void*) {
    pthread_setcancelstate(PTHREAD_CANCEL_DISABLE, nullptr);
    scpi::LanChannelStart();
    g_ThreadCtl.running[kRunLanConn].store(1);
    plat::SleepMs(kLanStartDelayMs);
    bool told = false;
    while (g_ScpiIfLan.io.open() <= 0) {
        if (scpi::LanRestartRequested()) return nullptr;
        if (!told) {
            std::fprintf(stderr, "LAN: cannot listen on the SCPI port %d, retrying every second\n",
                         plat::Port(scpi::kLanScpiPort));
            told = true;
        }
        plat::SleepMs(kLanRetryMs);
    }
    while (!scpi::LanRestartRequested()) {
        // Serves only while its running word is 1; a stop request clears it and the start request sets
        // it again.
        if (g_ThreadCtl.control.load() == kIfaceStop) g_ThreadCtl.running[kRunLanConn].store(0);
        if (g_ThreadCtl.running[kRunLanConn].load() == 1) scpiMailboxPoll(&g_ScpiIfLan);
        // A client that arrives while serving is stopped is closed again.
        if (scpi::LanClientConnected()) scpi::LanServeClient();
        scpi::LanWaitForClient(kLanIdleWaitMs);
    }
    return nullptr;
}

void* LanAcceptThread(void*) {
    pthread_setcancelstate(PTHREAD_CANCEL_DISABLE, nullptr);
    plat::SleepMs(kLanStartDelayMs);
    while (!scpi::LanRestartRequested()) {
        scpi::LanAcceptOne();
        plat::SleepMs(kLanPollMs);
    }
    return nullptr;
}
