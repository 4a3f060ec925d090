#pragma once
// The service override words, toggled by the service pages and 0 at every start.
#include <atomic>
#include <cstdint>

struct ServiceFlags {
    std::atomic<uint32_t> detailAlarm{0};       // alarm messages with their service texts
    std::atomic<uint32_t> clearHwAlarm{0};      // clear hardware alarms
    std::atomic<uint32_t> threePhase1P2W{0};    // 1P2W shows all three phases
    std::atomic<uint32_t> tempDisplay{0};       // temperature display
    std::atomic<uint32_t> rdTestMode{0};        // R&D test mode: no NV writes, no Vpp AC limiting
    std::atomic<uint32_t> calDataUnitIndex{0};  // unit whose calibration data the service lists handle
};
extern ServiceFlags g_ServiceFlags;

namespace core {
// Every override off, as at each start (tests).
void ServiceFlagsReset();
// Nonzero while the R&D test mode keeps the non-volatile memory unwritten and the AC voltage free of its
// Vpp ceiling.
inline bool NvWritesDisabled() {
    return g_ServiceFlags.rdTestMode.load(std::memory_order_relaxed) != 0;
}
}  // namespace core
