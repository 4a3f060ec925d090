#include "core/control/harmonics.h"

std::atomic<uint32_t> g_HarmCountdown{0};

// No capture is analysed until the harmonic tables exist.
void Harm_Task() {}
