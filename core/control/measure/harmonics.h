#pragma once
// Harmonic analysis of the output phases: a task stepped by the periodic services arms the power stage's
// waveform capture, reads one period of 1024 samples per phase over the register bus (50 per pass), runs
// a 1024-point real FFT and keeps, per phase, the magnitudes and percentages of orders 1-100 and the THD.
// The menu/control thread writes the tables; any thread reads them (each entry a relaxed atomic).
#include <atomic>
#include <cstdint>

#include "core/control/measure/harm_sizes.h"

struct HarmResult {
    // Entry 0: root of the sum of squares of orders 2-100 (magnitudes) or the THD in percent; entries 1-100:
    // rms of order k in volts or amperes, and its percentage of the base.
    std::atomic<float> VMag[kHarmOrders + 1];
    std::atomic<float> VPct[kHarmOrders + 1];
    std::atomic<float> IMag[kHarmOrders + 1];
    std::atomic<float> IPct[kHarmOrders + 1];
    std::atomic<uint32_t> VInvalid;  // 1: the base was below its threshold (percentages 0)
    std::atomic<uint32_t> IInvalid;
    std::atomic<uint32_t> reserved;
};
extern HarmResult g_HarmResult[3];

// Bit p: phase p's set frequency is 50.00 or 60.00 Hz, so its voltage THD is shown.
extern std::atomic<uint16_t> g_HarmValid;
// The hold between analyses, counted down by the timer thread's 4 ms step.
extern std::atomic<uint32_t> g_HarmCountdown;

void Harm_Task();
// 1 while the analysis-active bit is set: the task's last pass found AC-INT without SEQ/SIM and the output
// on (the condition it captures under), else 0. Any thread.
int Harm_AnalysisActive();

// Kind 0 voltage, 1 current.
int Harm_ReadSamples(int kind, uint32_t* counter, uint32_t mask);
int Harm_Analyse(int kind, uint32_t mask);
int Harm_PhaseL1(int kind);
int Harm_PhaseL2(int kind);
int Harm_PhaseL3(int kind);
// Order k's magnitude from the bins (k 1-512), times scale; 1 with the value 0 for any other k.
int Harm_BinMagnitude(const int32_t (*bins)[2], int k, float* out, float scale);

namespace core {
// The task back to its first state, tables zeroed (tests).
// Tests start each case from a clean state through it.
void HarmonicsReset();
}  // namespace core
