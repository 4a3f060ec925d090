#include "core/ctrl_words.h"

std::atomic<uint32_t> g_OutputFlags{0};
uint32_t g_OutputShadow[kOutputShadowUnits][kOutputShadowWords];

namespace core {
ArbUpdateField g_ArbUpdate;
}  // namespace core
