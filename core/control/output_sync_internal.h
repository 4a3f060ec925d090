#pragma once
// Helpers shared by the files of the output settings synchronisation.
#include <atomic>
#include <cstdint>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/output_flags.h"

namespace outsync {

inline constexpr auto kRelaxed = std::memory_order_relaxed;
inline constexpr uint32_t kWiring3P4W = 0, kWiring1P2W = 1, kWiring1P3W = 2;
inline constexpr uint32_t kModeAcDcInt = 0, kModeAcInt = 1, kModeAcAdd = 6;
inline constexpr uint32_t kModeAcDcSync = 7, kModeAcSync = 8;
inline constexpr double kSqrt3 = 1.7320508075688772;

// What a pass asked for at its end.
struct Pass {
    bool apply = false;    // the apply strobe (register 2340)
    bool options = false;  // g_OutputOptionWord changed: register 2348, then the strobe again
};

inline std::atomic<uint32_t>& Sh(uint32_t unit, int word) {
    return g_OutputShadow[unit][word];
}
inline int32_t ShI(uint32_t unit, int word) {
    return static_cast<int32_t>(g_OutputShadow[unit][word]);
}
inline void SetSh(uint32_t unit, int word, int32_t v) {
    g_OutputShadow[unit][word] = static_cast<uint32_t>(v);
}
inline bool ShDiffers(uint32_t unit, int word, int32_t v) {
    return g_OutputShadow[unit][word] != static_cast<uint32_t>(v);
}

// A setting of a phase as the comparison reads it (id + phase on the phase's unit).
inline int32_t Param(uint32_t id, uint32_t phase) {
    return paramGetValue(id + phase, 0, phase);
}
inline int32_t Param1(uint32_t id) {
    return paramGetValue(id, 0, 0);
}
inline void Store(uint32_t id, uint32_t phase, int32_t v) {
    paramPutValue(0, id + phase, v, phase);
}

inline uint32_t Wiring() {
    return GetPhaseMode();
}
inline uint32_t LastPhase() {
    return static_cast<uint32_t>(core::LastPhaseOfWiring(Wiring()));
}
inline uint32_t Mode() {
    return GetOutputMode();
}
inline uint32_t Area() {
    return core::VoltAreaOfRange(GetVoltRangeCode());
}
inline bool EditAll() {
    return g_EditAllPhases.load(kRelaxed) == 1;
}
inline bool Settled() {
    return OutputFlagTest(kOutFlagSettled);
}
inline uint32_t Sel() {
    return (g_OutputFlags.load(kRelaxed) >> kOutFlagSelLine0) & 3u;
}
inline void SetSel(uint32_t line) {
    uint32_t flags = g_OutputFlags.load(kRelaxed);
    while (!g_OutputFlags.compare_exchange_weak(
        flags, (flags & ~(3u << kOutFlagSelLine0)) | ((line & 3u) << kOutFlagSelLine0), kRelaxed)) {
    }
}
inline bool SyncMode(uint32_t mode) {
    return mode == kModeAcDcSync || mode == kModeAcSync;
}

// Register writers of one phase's settings.
void WriteIpkHigh(int32_t v, uint32_t phase);
void WriteIpkLow(int32_t v, uint32_t phase);
// Writes every output register of the phase from its shadow words (waveform as number + 1), the phase
// enables and the peak limits.
void WritePhaseFromShadow(uint32_t phase);
// The idle phase of a single- or split-phase wiring: zero voltages (registers and store), 50 Hz, 21 A,
// unity gain, no phase angles, SIN, its enables and peak limits.
void WriteIdlePhase(uint32_t phase);
// The AC and DC voltage of the phase's present waveform, taken from the record set in force; with
// `limit` the AC voltage is held to what the waveform allows and a limited phase is appended to `limited`.
// DC-INT has no AC voltage, the AC-only modes no DC voltage. Sets shadow words 3 and 4.
void TakeWaveVoltages(uint32_t phase, bool limit, char* limited, unsigned size);
// Balanced 3P4W: the defaults are rebuilt and the phases set back to their start values.
void BalanceRebuild(uint32_t lastPhase);

// Parts of a pass.
void FullRewrite(Pass* pass);
void ModeChange(Pass* pass);
void RangeChange(Pass* pass);
void ChangeChain(Pass* pass);
void SettlingPass(Pass* pass);
void FrequencyStep(Pass* pass);

// The phase's measured frequency x 100, from its measurement record.
uint32_t MeasuredFrequency100(uint32_t phase);

}  // namespace outsync
