#include "platform/host/wake_event.h"

#include <chrono>

#include "platform/host/clock.h"

namespace plat {

void WakeEvent::Signal() {
    bool wake;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        signalled_ = true;
        wake = waiting_;
    }
    if (wake) cv_.notify_one();
}

bool WakeEvent::WaitUntilUs(uint64_t deadlineUs) {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!signalled_) {
        const uint64_t now = NowUs();
        if (now >= deadlineUs) return false;
        // The rest of the wait in host time: on a fast test clock it passes as fast as a sleep does.
        const auto hostUs = static_cast<int64_t>(static_cast<double>(deadlineUs - now) / TimeScale());
        waiting_ = true;
        cv_.wait_for(lock, std::chrono::microseconds(hostUs > 0 ? hostUs : 1));
        waiting_ = false;
    }
    signalled_ = false;
    return true;
}

}  // namespace plat
