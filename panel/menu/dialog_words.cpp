#include "panel/menu/dialog_words.h"

std::atomic<uint32_t> g_CfgPhaseChoice{0};
std::atomic<uint32_t> g_CfgPhaseTarget{0};
std::atomic<uint32_t> g_DialogChoice{0};
std::atomic<uint32_t> g_PhaseChangeFromHome{0};
