#include "core/params/access/wiring_state.h"

#include "platform/stage/wiring_codes.h"

std::atomic<uint32_t> g_PhaseMode{0};
std::atomic<uint8_t> g_EditAllPhases{0};

namespace core {

int LastPhaseOfWiring(uint32_t phaseMode) {
    if (phaseMode == kWiring3P4W) return 2;
    if (phaseMode == kWiring1P2W) return 0;
    return 1;
}

}  // namespace core
