#pragma once
// A turn on a lock that the web server's threads wait for only so long. std::timed_mutex would do it, but
// its timed wait goes through a call ThreadSanitizer does not see, so every unlock after it is reported
// as an unlock of a mutex nobody held; short polls of try_lock keep the lock visible.
#include <cstdint>
#include <mutex>

#include "platform/host/clock.h"

namespace web {

// Takes `turn` (made with std::defer_lock) within waitMs; false, and not held, when it could not.
inline bool TakeTurnWithin(std::unique_lock<std::mutex>& turn, uint32_t waitMs) {
    const uint64_t deadline = plat::NowMs() + waitMs;
    while (!turn.try_lock()) {
        if (plat::NowMs() >= deadline) return false;
        plat::SleepMs(1);
    }
    return true;
}

}  // namespace web
