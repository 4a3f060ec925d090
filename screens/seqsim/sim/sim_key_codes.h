#pragma once
// Key classes and codes the SIMULATE handlers tell apart (the packed event's bytes, drivers/panel_link.h).
#include <cstdint>

namespace simkeys {
inline constexpr uint8_t kClassKeypad = 1, kClassShortcut = 2, kClassSoft = 3, kClassCursor = 4,
                         kClassFunction = 5;
inline constexpr uint8_t kExit = 'T', kEnter = 'U', kPrev = 'V', kNext = 'W', kKnob = 213, kSeqKey = 'M';
}  // namespace simkeys
