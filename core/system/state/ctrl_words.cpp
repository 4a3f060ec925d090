#include "core/system/state/ctrl_words.h"

std::atomic<uint32_t> g_OutputShadow[kOutputShadowUnits][kOutputShadowWords];
std::atomic<uint32_t> g_OutputOptionWord{0};
core::ArbUpdateField g_ArbChanged;

void core::CtrlWordsReset() {
    for (auto& unit : g_OutputShadow)
        for (std::atomic<uint32_t>& word : unit)
            word.store(0, std::memory_order_relaxed);
    g_OutputOptionWord.store(0, std::memory_order_relaxed);
    g_ArbChanged.pendingTable.store(0, std::memory_order_relaxed);
    g_ArbChanged.flags.store(0, std::memory_order_relaxed);
}
