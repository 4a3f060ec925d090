#pragma once
// The process-wide system status word. Every thread reads and writes single bits of it. A bit often
// announces data written before it (the identity text before "menu/control thread running"): bits are
// set and cleared with release and tested with acquire.
#include <atomic>
#include <cstdint>

extern std::atomic<uint32_t> g_SysStatus;

namespace core {
// All bits clear, as at start (tests).
// Tests start each case from a clean state through it.
void SysStatusReset();
}  // namespace core

// Bits of g_SysStatus shared by several parts of the instrument.
enum SysStatusBit : uint32_t {
    kSysRebootRequest = 0,
    kSysMenuThreadRunning = 1,
    kSysAlarmLatched = 2,
    kSysScreenCopyPending = 3,
    kSysCaliProcessing = 4,
    kSysReady = 5,
    kSysSyncSourceMissing = 6,
    // Service access, given by the service code remotely: keys work while the bus is held or a copy or
    // calibration runs.
    kSysUnlocked = 7,
    kSysNvMemFailure = 8,
    kSysResolvConfWritten = 9,
    kSysCalPageRead = 10,
    kSysStorageError = 11,
    kSysResetSaveRequest = 12,
    kSysLimiterMessage = 13,
    kSysLimiterAcknowledged = 14,
    kSysReconfigLow = 15,     // bits 15-16: output-reconfiguration hand-shake field
    kSysRemoteResetLow = 17,  // bits 17-18: remote-reset hand-shake field
    kSysResetDone = 19,
    kSysCaliAccess = 20,
    kSysSetCommandsBarred = 21,
    kSysRestartPending = 22,
    kSysRestartHandled = 23,
    kSysKeysBlocked = 24,
    kSysParallelMismatch = 25,
    kSysParallelLinkFault = 26,
    // A remote CONTinuous leaves SEQ/SIM: set while that exit runs (bit 19, where the remote command's
    // own layout puts it, is the reset-done bit).
    kSysSeqSimExitRequest = 27,
    // Parallel operation was switched off from the link-failure prompt of a parallel model.
    kSysParallelRetry = 28,
};

inline bool SysStatusTest(SysStatusBit bit) {
    return (g_SysStatus.load(std::memory_order_acquire) >> bit) & 1u;
}
inline void SysStatusSet(SysStatusBit bit) {
    g_SysStatus.fetch_or(1u << bit, std::memory_order_release);
}
inline void SysStatusClear(SysStatusBit bit) {
    g_SysStatus.fetch_and(~(1u << bit), std::memory_order_release);
}

// The instrument is going down: remote set commands are refused from now on and the periodic services'
// save before a restart carries the reboot out.
void sysRebootRequest();
