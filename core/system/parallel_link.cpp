#include "core/system/parallel_link.h"

ParallelLinkRec g_ParallelLink;
std::atomic<uint32_t> g_ParallelActive{0};
std::atomic<uint8_t> g_ParallelMasterFlags{0};
std::atomic<uint8_t> g_ParallelSlaveFlags{0};

void core::ParallelLinkReset() {
    constexpr auto kRelaxed = std::memory_order_relaxed;
    for (ParallelSlaveRec& slave : g_ParallelLink.slave) {
        slave.startupError.store(0, kRelaxed);
        slave.rawFault.store(0, kRelaxed);
    }
    g_ParallelLink.ctrl.store(0, kRelaxed);
    g_ParallelLink.errorNumber.store(0, kRelaxed);
    for (auto& word : g_ParallelLink.slaveAlarm)
        word.store(0, kRelaxed);
    g_ParallelLink.slaveFault.store(0, kRelaxed);
    g_ParallelActive.store(0, kRelaxed);
    g_ParallelMasterFlags.store(0, kRelaxed);
    g_ParallelSlaveFlags.store(0, kRelaxed);
}

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

int32_t ParallelWaitConnect(int32_t role) {
    // The role being left is ended in any case; the link object that would connect the new role comes
    // with parallel operation, so the start is refused.
    if (role == 1) ParallelSlave_RequestRestart();
    if (role == 0) ParallelMaster_RequestRestart();
    return -1;
}
