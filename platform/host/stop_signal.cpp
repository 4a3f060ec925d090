#include "platform/host/stop_signal.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/host/clock.h"

namespace plat {
namespace {

// Sent to the waiter alone, to end it: never to the process.
constexpr int kWaiterEnd = SIGUSR2;

sigset_t StopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, kWaiterEnd);
    return set;
}

int WaitStopSignal() {
    sigset_t set = StopSignals();
    int signal = 0;
    while (sigwait(&set, &signal) != 0) {
    }
    return signal;
}

std::atomic<int> g_stopSignal{0};
std::atomic<bool> g_restart{false};
// Under WaitLock.
bool g_waiterRunning = false;
pthread_t g_waiter;

// Threads may still wait on these when the process ends: made once and never destroyed.
std::mutex& WaitLock() {
    static auto* lock = new std::mutex;
    return *lock;
}
std::condition_variable& WaitCv() {
    static auto* cv = new std::condition_variable;
    return *cv;
}

}  // namespace

void BlockStopSignals() {
    sigset_t set = StopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void StopWaiterStart() {
    std::lock_guard<std::mutex> hold(WaitLock());
    g_waiterRunning = true;
    std::thread waiter([] {
        pthread_setname_np(pthread_self(), "StopSignal");
        for (int signal = WaitStopSignal(); signal != kWaiterEnd; signal = WaitStopSignal())
            RequestStop(signal);
        {
            std::lock_guard<std::mutex> ended(WaitLock());
            g_waiterRunning = false;
        }
        WaitCv().notify_all();
    });
    g_waiter = waiter.native_handle();
    waiter.detach();
}

bool StopWaiterEnd(uint32_t ms) {
    std::unique_lock<std::mutex> lock(WaitLock());
    if (!g_waiterRunning) return true;
    if (pthread_kill(g_waiter, kWaiterEnd) != 0) return false;
    return WaitCv().wait_for(lock, std::chrono::milliseconds(ms), [] { return !g_waiterRunning; });
}

void RequestStop(int signal) {
    {
        // Under the waiters' lock, so that a waiter between its check and its wait cannot miss it.
        std::lock_guard<std::mutex> hold(WaitLock());
        int none = 0;
        g_stopSignal.compare_exchange_strong(none, signal != 0 ? signal : SIGTERM, std::memory_order_acq_rel);
    }
    WaitCv().notify_all();
}

bool StopRequested() {
    return g_stopSignal.load(std::memory_order_acquire) != 0;
}

int StopSignalNumber() {
    return g_stopSignal.load(std::memory_order_acquire);
}

bool StopWaitMs(uint32_t ms) {
    const uint64_t deadlineUs = NowUs() + static_cast<uint64_t>(ms) * 1000u;
    std::unique_lock<std::mutex> lock(WaitLock());
    while (!StopRequested()) {
        const uint64_t now = NowUs();
        if (now >= deadlineUs) return false;
        // The rest in host time: on a fast test clock it passes as fast as a sleep does.
        const auto hostUs = static_cast<int64_t>(static_cast<double>(deadlineUs - now) / TimeScale());
        WaitCv().wait_for(lock, std::chrono::microseconds(hostUs > 0 ? hostUs : 1));
    }
    return true;
}

void RequestRestart() {
    g_restart.store(true, std::memory_order_release);
}

bool RestartRequested() {
    return g_restart.load(std::memory_order_acquire);
}

void StopReset() {
    std::lock_guard<std::mutex> hold(WaitLock());
    g_stopSignal.store(0, std::memory_order_release);
    g_restart.store(false, std::memory_order_release);
}

}  // namespace plat
