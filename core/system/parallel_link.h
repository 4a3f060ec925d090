#pragma once
// g_ParallelLink: the state of the link between the units of a parallel system. So far the per-slave
// words that the fault lookup of the register bus reads and the words that the control task and the
// output-on check use; the link's own state objects join them with the link.
#include <atomic>
#include <cstdint>

struct ParallelSlaveRec {
    std::atomic<int32_t> startupError{0};  // set when the slave reports a start-up error (item 21)
    std::atomic<uint32_t> rawFault{0};     // the slave's raw fault word (items 23 and 24)
};

struct ParallelLinkRec {
    ParallelSlaveRec slave[6];  // index 1-5 = slaves; 0 unused
    // Link control word (register 2480): bit 0 link on, bit 1 master, bit 2 every slave seen.
    std::atomic<uint32_t> ctrl{0};
    std::atomic<uint8_t> errorNumber{0};  // shown with "Parallel Communication \nError(%d)"
    // The slaves' alarm words and a further slave fault word, as the master keeps them; any nonzero
    // word keeps the output off.
    std::atomic<uint32_t> slaveAlarm[3]{};
    std::atomic<uint32_t> slaveFault{0};
};

extern ParallelLinkRec g_ParallelLink;

// 1 while the unit works as part of a connected parallel system.
extern std::atomic<uint32_t> g_ParallelActive;
// Bits of the parallel master and slave flag bytes: bit 3 restart request.
extern std::atomic<uint8_t> g_ParallelMasterFlags;
extern std::atomic<uint8_t> g_ParallelSlaveFlags;

namespace core {
// A single unit with no link, as at start (tests).
void ParallelLinkReset();
}  // namespace core

void ParallelMaster_RequestRestart();
void ParallelSlave_RequestRestart();

// The parallel-link object, stepped every 20 ms by the timer thread.
void ParallelLink_Step();

// Switches the unit into master (role 1) or slave (role 0) operation through the link object; the
// result of the start request, -1 when the link object cannot start.
int32_t ParallelWaitConnect(int32_t role);
