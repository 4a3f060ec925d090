#pragma once
// Helpers shared by the files of the output settings synchronisation.
#include <atomic>
#include <cstdint>

#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/params/settings/line_acv.h"
#include "core/params/settings/setting_rows.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/output_flags.h"
#include "platform/stage/wiring_codes.h"

namespace outsync {

inline constexpr auto kRelaxed = std::memory_order_relaxed;

// What a pass asked for at its end.
struct Pass {
    bool apply = false;    // the apply strobe (register 2340)
    bool options = false;  // g_OutputOptionWord changed: register 2348, then the strobe again
    bool settled = false;  // the change chain found every setting taken up on a settled output
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
    return paramGetValue(id + phase, phase);
}
inline int32_t Param1(uint32_t id) {
    return paramGetValue(id, 0);
}
inline void Store(uint32_t id, uint32_t phase, int32_t v) {
    paramPutValue(id + phase, v, phase);
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

// Writes every output register of the phase from its shadow words (waveform as number + 1, its duty with
// it), the phase enables and the peak limits.
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

// The links of the change chain whose tests find nothing to take up now (bit i: link i); the bits past
// the chain are set.
uint64_t ChainLinksTakenUp();

// Parts of a pass.
void FullRewrite(Pass* pass);
void ModeChange(Pass* pass);
void RangeChange(Pass* pass);
void ChangeChain(Pass* pass);
void SettlingPass(Pass* pass);
void FrequencyStep(Pass* pass);

// A per-phase setting as the comparison reads it on a phase: the record's value.
int32_t StoredValue(const settings::SettingRow& row, uint32_t phase);
// The phase whose value (valueOf) of a per-phase setting differs from its shadow word: the selected line
// first, then the wiring's other phases, as a message may set a line and select another before the next
// pass takes the change up; -1 when none. The caller compares only while settled. A split-phase wiring's
// lines are written together from the selected one: only it is compared.
int ChangedPhase(const settings::SettingRow& row, int32_t (*valueOf)(const settings::SettingRow&, uint32_t));

// What the links of the change chain (output_sync_chain.cpp) do when their setting changed on `phase`; a
// link that only stores and writes its setting uses ApplyPhaseSetting. The all-phase handling a link asks
// for copies the selected line's value: a change found on another line is that line's alone.
// Single handling: the phase's value into its shadow word and register; a group mark (left from an edit of
// all phases) is taken as done, so it cannot hold the chain at this entry. All-phase handling: every phase
// of the wiring takes the selected line's value, is written and stored, and the groups are cleared.
void ApplyPhaseSetting(bool allPhases, const settings::SettingRow& row, uint32_t phase);
// An option setting's value into its shadow word on L1 and its option bits from bit 0 of the value.
void TakeOption(const settings::SettingRow& row, int32_t value);

void WaveformChange(uint32_t phase);
void AcvChange(uint32_t phase);
void LineAcvChange();
void DcvChange(uint32_t phase);
void LineDcvChange();
// An ON/OFF phase enable (the state word of the angle record) of the phase, or of every phase.
void EnableChange(const settings::SettingRow& row, uint32_t phase);
// The signal selection is one register: the phase's value is every phase's.
void SignalChange(uint32_t phase);
void SlewChange();
// Remote sensing: a switch of the sensing in force takes the output down first.
void RemoteSenseChange(const settings::SettingRow& row);
// The state word of an angle record of the phase: the ON or OFF phase enable.
int32_t EnableState(const settings::SettingRow& row, uint32_t phase);

// The phase's measured frequency x 100, from its measurement record.
uint32_t MeasuredFrequency100(uint32_t phase);

}  // namespace outsync
