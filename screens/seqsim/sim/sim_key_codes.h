#pragma once
// Key codes the SIMULATE handlers tell apart (the classes beside the packed event, drivers/panel_link.h).
#include <cstdint>

#include "drivers/panel_link.h"

namespace simkeys {
inline constexpr uint8_t kExit = 'T', kEnter = 'U', kPrev = 'V', kNext = 'W', kKnob = 213, kSeqKey = 'M';
}  // namespace simkeys
