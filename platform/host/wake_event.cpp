#include "platform/host/wake_event.h"

#include <linux/futex.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include "platform/host/clock.h"

namespace plat {

namespace {

constexpr uint32_t kIdle = 0;
constexpr uint32_t kSignalled = 1;
constexpr uint32_t kWaiting = 2;

// Sleeps while the word still reads `expected`, at most `hostUs` of host time; a wake or a changed word
// ends it early.
void FutexWait(std::atomic<uint32_t>* word, uint32_t expected, int64_t hostUs) {
    const timespec rest{static_cast<time_t>(hostUs / 1000000), static_cast<long>(hostUs % 1000000) * 1000};
    syscall(SYS_futex, reinterpret_cast<uint32_t*>(word), FUTEX_WAIT_PRIVATE, expected, &rest, nullptr, 0);
}

void FutexWakeOne(std::atomic<uint32_t>* word) {
    syscall(SYS_futex, reinterpret_cast<uint32_t*>(word), FUTEX_WAKE_PRIVATE, 1, nullptr, nullptr, 0);
}

}  // namespace

void WakeEvent::Signal() {
    // Release: what the signaller wrote before is seen by the waiter that takes the signal.
    if (word_.exchange(kSignalled, std::memory_order_acq_rel) == kWaiting) FutexWakeOne(&word_);
}

bool WakeEvent::WaitUntilUs(uint64_t deadlineUs) {
    for (;;) {
        uint32_t seen = word_.load(std::memory_order_acquire);
        if (seen == kSignalled) {
            if (word_.compare_exchange_strong(seen, kIdle, std::memory_order_acquire)) return true;
            continue;
        }
        // Only the waiter moves the word between idle and waiting; a signaller only sets it.
        if (seen == kIdle && !word_.compare_exchange_strong(seen, kWaiting, std::memory_order_acquire)) continue;
        const uint64_t now = NowUs();
        if (now >= deadlineUs) {
            uint32_t waiting = kWaiting;
            if (word_.compare_exchange_strong(waiting, kIdle, std::memory_order_acquire)) return false;
            continue;  // a signal came meanwhile: it is taken above
        }
        // The rest of the wait in host time: on a fast test clock it passes as fast as a sleep does.
        const auto hostUs = static_cast<int64_t>(static_cast<double>(deadlineUs - now) / TimeScale());
        FutexWait(&word_, kWaiting, hostUs > 0 ? hostUs : 1);
    }
}

}  // namespace plat
