#pragma once
#include <atomic>
#include <cstdint>

// Harmonic analysis, run by the periodic services; its countdown is counted down by the 4 ms step.
extern std::atomic<uint32_t> g_HarmCountdown;
void Harm_Task();
