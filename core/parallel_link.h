#pragma once
// g_ParallelLink: the state of the link between the units of a parallel system. So far only the per-slave
// words that the fault lookup of the register bus reads; the link's own state joins them with the link.
#include <atomic>
#include <cstdint>

struct ParallelSlaveRec {
    std::atomic<int32_t> startupError{0};  // set when the slave reports a start-up error (item 21)
    std::atomic<uint32_t> rawFault{0};     // the slave's raw fault word (items 23 and 24)
};

struct ParallelLinkRec {
    ParallelSlaveRec slave[6];  // index 1-5 = slaves; 0 unused
};

extern ParallelLinkRec g_ParallelLink;
