#pragma once
// The remote/local state of the front panel. Bits 1-2 hold the state (0 LOCal, 1 REMote, 2 RWLock,
// 3 LREMote); the SCPI header lexer and the USB-TMC link write it, the panel key filter and the timer's
// lock-release step read it.
#include <atomic>
#include <cstdint>

extern std::atomic<uint32_t> g_RemoteState;

enum RemoteStateValue : uint32_t {
    kRemoteLocal = 0,
    kRemoteRemote = 1,
    kRemoteRwLock = 2,
    kRemoteLRemote = 3
};

constexpr uint32_t kRemoteStateShift = 1;
constexpr uint32_t kRemoteStateMask = 3u << kRemoteStateShift;

inline uint32_t RemoteStateGet() {
    return (g_RemoteState.load(std::memory_order_acquire) & kRemoteStateMask) >> kRemoteStateShift;
}

inline void RemoteStateSet(uint32_t state) {
    uint32_t old = g_RemoteState.load(std::memory_order_relaxed);
    uint32_t next;
    do {
        next = (old & ~kRemoteStateMask) | ((state << kRemoteStateShift) & kRemoteStateMask);
    } while (!g_RemoteState.compare_exchange_weak(old, next, std::memory_order_acq_rel,
                                                  std::memory_order_relaxed));
}
