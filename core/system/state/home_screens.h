#pragma once
// The two home screens. Each number is at once the screen's menu state, its page id and the value of the
// home view entered last, so one name serves all three.
#include <cstdint>

inline constexpr uint32_t kScreenAdvanced = 1;  // the home screen with the settings panel
inline constexpr uint32_t kScreenSimple = 2;    // the simple screen: the meter table alone
