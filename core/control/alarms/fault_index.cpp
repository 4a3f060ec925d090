#include "core/control/alarms/fault_index.h"

#include "core/regbus/bus_transfer.h"
#include "core/regbus/reg_read.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "platform/stage/reg_map.h"

namespace {

constexpr int kFaultBits = 20;
constexpr int kSlaves = 5;
constexpr int kSlaveWordPolls = 50;
constexpr uint32_t kSlaveWordPollMs = 5;

}  // namespace

namespace regbus {

int LowestClearFaultBit(uint32_t word) {
    for (int bit = 0; bit < kFaultBits; ++bit) {
        if (((word >> bit) & 1u) == 0) return bit;
    }
    return 0;
}

}  // namespace regbus

int BusReg_GetFaultIndex() {
    int slave = 0;
    for (int n = 1; n <= kSlaves; ++n) {
        if (g_ParallelLink.slave[n].startupError.load(std::memory_order_relaxed) > 0) slave = n;
    }
    if (slave == 0) return regbus::LowestClearFaultBit(BusReg_ReadRaw(0, regmap::kFaultWord));

    SysStatusSet(kSysParallelLinkFault);
    // The slave's word arrives over the link in two frames; give it time to come in.
    auto& word = g_ParallelLink.slave[slave].rawFault;
    for (int i = 0; i < kSlaveWordPolls && word.load(std::memory_order_relaxed) == 0; ++i) {
        plat::SleepMs(kSlaveWordPollMs);
    }
    return regbus::LowestClearFaultBit(word.load(std::memory_order_relaxed));
}
