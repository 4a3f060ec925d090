#pragma once
// A wake-up that one thread waits for and other threads give: a timed wait on the instrument clock that
// a Signal ends early. A signal given while nobody waits is kept for the next wait, so a wake-up given
// between two waits is never lost; several signals before a wait count as one. The process ends while
// its threads still wait: an event that lives as long as the process is made with new and never
// destroyed.
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace plat {

class WakeEvent {
  public:
    void Signal();
    // Waits until a signal or until the instrument clock reads deadlineUs (plat::NowUs). True when a
    // signal ended the wait (the signal is taken), false when the deadline came first.
    bool WaitUntilUs(uint64_t deadlineUs);

  private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool signalled_ = false;  // under mutex_
    bool waiting_ = false;    // under mutex_
};

}  // namespace plat
