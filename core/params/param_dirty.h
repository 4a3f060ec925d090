#pragma once
// The group-changed flags of edits made to all phases at once. The panel (and the remote setters) mark the
// group of the setting they changed; the output synchronisation of the control task takes a marked group
// as changed on every phase, applies it to all of them and clears the flags.
#include <atomic>
#include <cstdint>

enum ParamDirtyFlag : uint32_t {
    kDirtyAcv,            // AC voltage, ids 47-49
    kDirtyLineAcv,        // line AC voltage (id 50)
    kDirtyDcv,            // DC voltage, ids 51-56
    kDirtyLineDcv,        // line DC voltage (id 57)
    kDirtyFreq,           // frequency, ids 12-14
    kDirtyIrms,           // rms current limit, ids 58-63
    kDirtyOnEnable,       // ON phase enable toggled (MarkPhaseAngleChanged)
    kDirtyOffEnable,      // OFF phase enable toggled (MarkPhaseAngleChanged)
    kDirtyGain,           // external-input gain, ids 75-80
    kDirtyOnPhase,        // ON phase angle, ids 64-67, while the angle is enabled
    kDirtyOffPhase,       // OFF phase angle, ids 68-71, while the angle is enabled
    kDirtyWave,           // waveform, ids 30-33
    kDirtyDuty,           // square-wave duty, ids 34-37
    kDirtySource,         // signal source, ids 84-88
    kDirtyIpkHigh,        // peak current limit high, ids 24-26
    kDirtyIpkLow,         // peak current limit low, ids 27-29
    kDirtyFreqLimitHigh,  // frequency limit high, ids 16-18
    kDirtyFreqLimitLow,   // frequency limit low, ids 19-21
    kDirtyVpkHigh,        // peak voltage limit high, id 10
    kDirtyVpkLow,         // peak voltage limit low, id 11
    kDirtyVoltLimit,      // voltage limit, id 8
    kDirtyLineAcv2,       // line AC voltage, set by the home screen's line view
    kDirtyLineDcv2,       // line DC voltage, set by the home screen's line view
    kParamDirtyCount
};
static_assert(kParamDirtyCount == 23);

extern std::atomic<uint32_t> g_ParamDirty[kParamDirtyCount];

// Marks the group that holds id (the ON/OFF angle groups only while the selected phase's angle is
// enabled); ids outside every group mark nothing.
void MarkParamGroupChanged(uint32_t id);
// Clears every group's flag.
void ClearParamGroupMarks();
// Marks the ON enable group in the ON phase edit states (64, 67) and the OFF enable group in the OFF phase
// edit states (68, 71).
void MarkPhaseAngleChanged();
// Clears both enable groups.
void ClearPhaseAngleMarks();

namespace panel {
inline bool DirtyTest(ParamDirtyFlag f) {
    return g_ParamDirty[f].load(std::memory_order_acquire) != 0;
}
inline void DirtySet(ParamDirtyFlag f) {
    g_ParamDirty[f].store(1, std::memory_order_release);
}
inline void DirtyClear(ParamDirtyFlag f) {
    g_ParamDirty[f].store(0, std::memory_order_relaxed);
}
}  // namespace panel
