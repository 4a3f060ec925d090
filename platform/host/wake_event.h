#pragma once
// A wake-up that one thread waits for and other threads give: a timed wait on the instrument clock that
// a Signal ends early. A signal given while nobody waits is kept for the next wait, so a wake-up given
// between two waits is never lost; several signals before a wait count as one. The process ends while
// its threads still wait: an event that lives as long as the process is made with new and never
// destroyed.
//
// One word carries the whole state and the kernel waits on it directly: a paced thread that waits here
// on every pass (the menu/control thread, the idle supervisor) pays one system call per wait, where a
// condition variable's mutex, taken back after each timed wait, costs a second one to release.
#include <atomic>
#include <cstdint>

namespace plat {

class WakeEvent {
  public:
    void Signal();
    // Waits until a signal or until the instrument clock reads deadlineUs (plat::NowUs). True when a
    // signal ended the wait (the signal is taken), false when the deadline came first. One thread waits.
    bool WaitUntilUs(uint64_t deadlineUs);

  private:
    // kIdle, kSignalled (kept for the next wait) or kWaiting (a waiter may sleep in the kernel).
    std::atomic<uint32_t> word_{0};
};

}  // namespace plat
