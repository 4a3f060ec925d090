#include "core/ctrl_words.h"

uint32_t g_OutputShadow[kOutputShadowUnits][kOutputShadowWords];

namespace core {
ArbUpdateField g_ArbUpdate;
}  // namespace core
