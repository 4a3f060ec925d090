#include "core/params/access/wiring_state.h"

std::atomic<uint32_t> g_PhaseMode{0};
std::atomic<uint8_t> g_EditAllPhases{0};

namespace {
constexpr uint32_t kPhaseMode3P4W = 0, kPhaseMode1P2W = 1;
}  // namespace

namespace core {

int LastPhaseOfWiring(uint32_t phaseMode) {
    if (phaseMode == kPhaseMode3P4W) return 2;
    if (phaseMode == kPhaseMode1P2W) return 0;
    return 1;
}

}  // namespace core
