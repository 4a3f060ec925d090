#include "core/parallel_link.h"

ParallelLinkRec g_ParallelLink;
std::atomic<uint32_t> g_ParallelActive{0};
std::atomic<uint8_t> g_ParallelMasterFlags{0};
std::atomic<uint8_t> g_ParallelSlaveFlags{0};

namespace {
constexpr uint8_t kRestartRequest = 1u << 3;
}  // namespace

void ParallelMaster_RequestRestart() {
    g_ParallelMasterFlags.fetch_or(kRestartRequest, std::memory_order_relaxed);
}

void ParallelSlave_RequestRestart() {
    g_ParallelSlaveFlags.fetch_or(kRestartRequest, std::memory_order_relaxed);
}

// A single unit: no link to run until parallel operation exists.
void ParallelLink_Step() {}
