#include "core/system/links/parallel_link.h"

#include <cstdio>
#include <cstring>

ParallelLinkRec g_ParallelLink;
std::mutex g_ParallelSerialLock;
std::atomic<uint32_t> g_ParallelActive{0};
std::atomic<uint8_t> g_ParallelMasterFlags{0};
std::atomic<uint8_t> g_ParallelSlaveFlags{0};

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint8_t kRestartRequest = 1u << 3;
}  // namespace

void ParallelSlaveSerial(int i, char* out, unsigned size) {
    if (out == nullptr || size == 0) return;
    out[0] = '\0';
    if (i < 1 || i > 5) return;
    constexpr unsigned kLen = sizeof g_ParallelLink.slave[0].serial;
    char text[kLen + 1] = {};
    {
        std::lock_guard<std::mutex> lock(g_ParallelSerialLock);
        std::memcpy(text, g_ParallelLink.slave[i].serial, kLen);
    }
    std::snprintf(out, size, "%s", text);
}

void core::ParallelSlavesClear() {
    for (ParallelSlaveRec& slave : g_ParallelLink.slave) {
        slave.sysError1.store(0, kRelaxed);
        slave.startupError.store(0, kRelaxed);
        slave.sysError4.store(0, kRelaxed);
        slave.rawFault.store(0, kRelaxed);
        slave.moduleError.store(0, kRelaxed);
        slave.fwError.store(0, kRelaxed);
        for (auto& octet : slave.ip)
            octet.store(0, kRelaxed);
        {
            std::lock_guard<std::mutex> lock(g_ParallelSerialLock);
            for (char& c : slave.serial)
                c = '\0';
        }
        slave.rxCount.store(0, kRelaxed);
        for (auto& half : slave.lowHalf)
            half.store(0, kRelaxed);
    }
}

void core::ParallelLinkReset() {
    ParallelSlavesClear();
    g_ParallelLink.status.store(0, kRelaxed);
    g_ParallelLink.ctrl.store(0, kRelaxed);
    g_ParallelLink.lastFrame.store(0, kRelaxed);
    g_ParallelLink.errorNumber.store(0, kRelaxed);
    g_ParallelLink.joined.store(0, kRelaxed);
    g_ParallelLink.updateKind.store(0, kRelaxed);
    g_ParallelLink.slaveFault.store(0, kRelaxed);
    g_ParallelActive.store(0, kRelaxed);
    g_ParallelMasterFlags.store(0, kRelaxed);
    g_ParallelSlaveFlags.store(0, kRelaxed);
}

bool core::ParallelRestartTaken(std::atomic<uint8_t>& flags) {
    return (flags.fetch_and(static_cast<uint8_t>(~kRestartRequest), kRelaxed) & kRestartRequest) != 0;
}

void ParallelMaster_RequestRestart() {
    g_ParallelMasterFlags.fetch_or(kRestartRequest, kRelaxed);
}

void ParallelSlave_RequestRestart() {
    g_ParallelSlaveFlags.fetch_or(kRestartRequest, kRelaxed);
}
