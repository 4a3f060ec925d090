#include "core/system/ctrl_words.h"

uint32_t g_OutputShadow[kOutputShadowUnits][kOutputShadowWords];
std::atomic<uint32_t> g_OutputOptionWord{0};
core::ArbUpdateField g_ArbChanged;
