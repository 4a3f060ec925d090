#pragma once
// g_ParallelLink: the state of the link between the units of a parallel system, as the link objects, the
// master's frame handling, the fault lookup of the register bus, the control task and the alarm monitor
// share it.
#include <atomic>
#include <cstdint>
#include <mutex>

struct ParallelSlaveRec {
    std::atomic<int32_t> sysError1{0};     // "System Error(1)" reported (item 20)
    std::atomic<int32_t> startupError{0};  // set when the slave reports a start-up error (item 21)
    std::atomic<int32_t> sysError4{0};     // "System Error(4)" reported (item 22)
    std::atomic<uint32_t> rawFault{0};     // the slave's raw fault word (items 23 and 24)
    std::atomic<uint8_t> moduleError{0};   // module-error index (item 34)
    std::atomic<uint8_t> fwError{0};       // firmware-error index (item 35)
    std::atomic<uint8_t> ip[4]{};          // IP address octets (items 11-14)
    char serial[17]{};                     // serial number text (items 26-33)
    std::atomic<int32_t> rxCount{0};       // the master's copy of the slave's receive counter, 0-4095
    // Low halves waiting for their high half, per item pair (alarm words 3/4 ... 9/10, fault word 23/24):
    // each slave has its own, so two slaves reporting at once never mix their halves.
    std::atomic<uint32_t> lowHalf[5]{};
};

struct ParallelLinkRec {
    ParallelSlaveRec slave[6];  // index 1-5 = slaves; 0 unused
    // Link status (register 2050): bits 0-7 own address, 8-15 slaves seen, 16 link up, 20-23 all ones =
    // units join without the hand-shake, 24-29 link error bits.
    std::atomic<uint32_t> status{0};
    // Link control word (register 2480): bit 0 link on, bit 1 master, bit 2 every slave seen.
    std::atomic<uint32_t> ctrl{0};
    std::atomic<uint32_t> lastFrame{0};   // last frame sent or received
    std::atomic<uint8_t> errorNumber{0};  // shown with "Parallel Communication \nError(%d)"
    std::atomic<uint32_t> joined{0};      // slaves that completed the hand-shake
    std::atomic<uint32_t> updateKind{0};  // 0 none, 1-4 what the slaves are updating
    // A further slave fault word as the master keeps it; nonzero keeps the output off.
    std::atomic<uint32_t> slaveFault{0};
};

extern ParallelLinkRec g_ParallelLink;
// The slaves' serial texts are written by the master's frame handling on the timer thread while the panel
// shows them: both sides hold this lock; a reader copies the 17 bytes out under it (ParallelSlaveSerial).
extern std::mutex g_ParallelSerialLock;
// Slave i's (1-5) serial text into out (size bytes, always terminated, at most 17 characters); "" for
// another i.
void ParallelSlaveSerial(int i, char* out, unsigned size);

// 1 while the unit works as part of a connected parallel system.
extern std::atomic<uint32_t> g_ParallelActive;
// Bits of the parallel master and slave flag bytes: bit 3 restart request.
extern std::atomic<uint8_t> g_ParallelMasterFlags;
extern std::atomic<uint8_t> g_ParallelSlaveFlags;

namespace core {
// A single unit with no link, as at start (tests).
// Tests start each case from a clean state through it.
void ParallelLinkReset();
// Clears every per-slave record.
void ParallelSlavesClear();
// Takes a restart request from a role's flag byte: true when one was pending (it is cleared).
bool ParallelRestartTaken(std::atomic<uint8_t>& flags);
}  // namespace core

void ParallelMaster_RequestRestart();
void ParallelSlave_RequestRestart();
