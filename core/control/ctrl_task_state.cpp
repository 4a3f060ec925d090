#include "core/control/ctrl_task_state.h"

#include "core/system/state/ctrl_words.h"

namespace {
constexpr uint32_t kHoldOffPasses = 10;
}  // namespace

namespace core {
std::atomic<uint16_t> g_PowerOnCountdown{0};
}  // namespace core

void CtrlTask_HoldOff() {
    g_OutputShadow[0][core::kShwHoldOff] = kHoldOffPasses;
}
