#pragma once
// One row per output setting: its parameter id and the ids of its group, whether it lives per phase or on
// L1 only, the rule of its bounds, its output shadow word, its group mark of all-phase edits, its register
// writer and its bits in the output option word. The setters, the control task's change chain, the group
// marks, the remote handler and the panel's field editors all read these rows; a new setting is one row.
#include <cstdint>

#include "core/params/param_dirty.h"
#include "core/params/param_store.h"
#include "core/regbus/phase.h"
#include "core/regbus/reg_write.h"
#include "core/system/state/ctrl_words.h"

namespace settings {

// Where a setting's value lives: on L1's unit only, on each phase's unit, or as the line value (on L1's
// unit, its shadow words on the line unit) that is made of the phases.
enum class Lines : uint8_t { kL1, kPerPhase, kLine };

// The bounds a value is held to beyond its record's own limits (duty_band.h and acv_bounds.h give the
// numbers).
enum class Bounds : uint8_t {
    kRecord,  // the record's minimum and maximum
    kAcv,     // AC voltage: in Vpp units also the waveform's peak-to-peak ceiling
    kDuty,    // square-wave duty: a band by the frequency from 100.00 Hz up
    kAngle,   // a phase angle: on the panel whole degrees stop at 359 (angle_bounds.h)
};

using PhaseWriter = int (*)(int32_t v, regbus::Phase phase);

inline constexpr int kNoShadow = -1;
inline constexpr ParamDirtyFlag kNoGroup = kParamDirtyCount;

struct IdRange {
    uint32_t first;
    uint32_t last;
};
inline constexpr IdRange kNoIds{1, 0};  // a group marked by something else than an id (the angle enables)

struct SettingRow {
    uint8_t key;           // its index in kSettings
    uint32_t id;           // the record the setter and the chain read and write (first phase)
    IdRange ids = kNoIds;  // the ids whose all-phase edit marks the group
    Lines lines = Lines::kL1;
    Bounds bounds = Bounds::kRecord;
    int shadow = kNoShadow;           // word of g_OutputShadow
    ParamDirtyFlag group = kNoGroup;  // all-phase edit mark
    PhaseWriter write = nullptr;      // register writer of one phase
    uint8_t optionBit = 0;            // first bit in g_OutputOptionWord (register 2348)
    uint8_t optionBits = 0;           // count of those bits; 0: not an option
};

enum Setting : uint8_t {
    kSetWaveform,
    kSetDuty,
    kSetAcv,
    kSetLineAcv,
    kSetDcv,
    kSetLineDcv,
    kSetFreq,
    kSetIrms,
    kSetGain,
    kSetIpkHigh,
    kSetIpkLow,
    kSetOnEnable,
    kSetOffEnable,
    kSetOnPhase,
    kSetOffPhase,
    kSetSyncPhase,
    kSetBalanceL1,
    kSetAngleL2,
    kSetAngleL3,
    kSetSignal,
    kSetSource,
    kSetOutputRelay,
    kSetRemoteSense,
    kSetSlew,
    kSetExtControl,
    kSetRelock,
    kSetAvgCount,
    kSetUpdateRate,
    kSetIrmsLimitMode,
    kSetIpkLimitMode,
    kSetSetChange,
    kSetImpedance,
    kSetFreqLimitHi,
    kSetFreqLimitLo,
    kSetVpkHigh,
    kSetVpkLow,
    kSetVoltLimit,
    kSetMonitor1,
    kSetMonitor2,
    kSetPeakClearItem,
    kSetPeakHoldTime,
    kSetTrigWidth,
    kSetTrigSource,
    kSetAcvUnit,
    kSetParPosition,
    kSetParNumber,
    kSetParEnable,
    kSettingCount
};

// The peak-current limits go to the limit registers while the peak limit mode is on, else to the
// registers of the peak-current shut-off.
int WriteIpkHigh(int32_t v, regbus::Phase phase);
int WriteIpkLow(int32_t v, regbus::Phase phase);

using L = Lines;
using B = Bounds;
using namespace core;  // the shadow words and option bits

// clang-format off
inline constexpr SettingRow kSettings[kSettingCount] = {
    // The waveform's register takes the waveform number + 1.
    {.key = kSetWaveform, .id = kParamWaveShape, .ids = {kParamWaveShape, kParamWaveShape2},
     .lines = L::kPerPhase, .shadow = kShwWaveform, .group = kDirtyWave,
     .write = [](int32_t v, regbus::Phase p) { return BusReg_SetWaveform(p, v + 1); }},
    {.key = kSetDuty, .id = kParamWaveDuty, .ids = {kParamWaveDuty, kParamWaveDutyAll}, .lines = L::kPerPhase,
     .bounds = B::kDuty, .shadow = kShwDuty, .group = kDirtyDuty,
     .write = [](int32_t v, regbus::Phase p) { return BusReg_SetDuty(p, v); }},
    {.key = kSetAcv, .id = kParamAcv, .ids = {kParamAcv, kParamAcv + 2}, .lines = L::kPerPhase,
     .bounds = B::kAcv, .shadow = kShwAcv, .group = kDirtyAcv,
     .write = [](int32_t v, regbus::Phase p) { return BusReg_SetAcv(p, v); }},
    // Also marked kDirtyLineAcv2 by the home screen's line view.
    {.key = kSetLineAcv, .id = kParamAcvLine, .ids = {kParamAcvLine, kParamAcvLine}, .lines = L::kLine,
     .bounds = B::kAcv, .shadow = kShwAcv, .group = kDirtyLineAcv},
    {.key = kSetDcv, .id = kParamDcv2, .ids = {kParamDcv, kParamDcv2 + 2}, .lines = L::kPerPhase,
     .shadow = kShwDcv, .group = kDirtyDcv,
     .write = [](int32_t v, regbus::Phase p) { return BusReg_SetDcv(p, v); }},
    // Also marked kDirtyLineDcv2 by the home screen's line view.
    {.key = kSetLineDcv, .id = kParamDcvLine, .ids = {kParamDcvLine, kParamDcvLine}, .lines = L::kLine,
     .shadow = kShwDcv, .group = kDirtyLineDcv},
    {.key = kSetFreq, .id = kParamFreq, .ids = {kParamFreq, kParamFreq + 2}, .lines = L::kPerPhase,
     .shadow = kShwFreq, .group = kDirtyFreq, .write = BusReg_SetFreq},
    {.key = kSetIrms, .id = kParamCurrLimit2, .ids = {kParamCurrLimit, kParamCurrLimit2 + 2},
     .lines = L::kPerPhase, .shadow = kShwIrms, .group = kDirtyIrms, .write = BusReg_SetIrmsLimit},
    {.key = kSetGain, .id = kParamGain, .ids = {kParamGain, kParamGain2 + 2}, .lines = L::kPerPhase,
     .shadow = kShwGain, .group = kDirtyGain, .write = BusReg_SetGain},
    {.key = kSetIpkHigh, .id = kParamIpkMax, .ids = {kParamIpkMax, kParamIpkMax + 2}, .lines = L::kPerPhase,
     .shadow = kShwIpkHigh, .group = kDirtyIpkHigh, .write = WriteIpkHigh},
    {.key = kSetIpkLow, .id = kParamIpkMin, .ids = {kParamIpkMin, kParamIpkMin + 2}, .lines = L::kPerPhase,
     .shadow = kShwIpkLow, .group = kDirtyIpkLow, .write = WriteIpkLow},
    // The ON/OFF phase enables are the state word of the angle records, marked by MarkPhaseAngleChanged.
    {.key = kSetOnEnable, .id = kParamOnPhase, .lines = L::kPerPhase, .shadow = kShwOnEnable,
     .group = kDirtyOnEnable},
    {.key = kSetOffEnable, .id = kParamOffPhase, .lines = L::kPerPhase, .shadow = kShwOffEnable,
     .group = kDirtyOffEnable},
    {.key = kSetOnPhase, .id = kParamOnPhase, .ids = {kParamOnPhase, kParamOnPhaseAll}, .lines = L::kPerPhase,
     .bounds = B::kAngle, .shadow = kShwOnPhase, .group = kDirtyOnPhase, .write = BusReg_SetOnPhase},
    {.key = kSetOffPhase, .id = kParamOffPhase, .ids = {kParamOffPhase, kParamOffPhaseAll},
     .lines = L::kPerPhase, .bounds = B::kAngle, .shadow = kShwOffPhase, .group = kDirtyOffPhase,
     .write = BusReg_SetOffPhase},
    {.key = kSetSyncPhase, .id = kParamSyncPhase, .ids = {kParamSyncPhase, kParamSyncPhase}, .bounds = B::kAngle,
     .shadow = kShwSyncPhase},
    {.key = kSetBalanceL1, .id = kParamBalance, .shadow = kShwBalanceL1},
    {.key = kSetAngleL2, .id = kParamBalance2, .shadow = kShwAngleL2},
    {.key = kSetAngleL3, .id = kParamBalance3, .shadow = kShwAngleL3},
    // One signal register for all phases.
    {.key = kSetSignal, .id = kParamMainSig, .lines = L::kPerPhase, .shadow = kShwSig},
    {.key = kSetSource, .id = kParamMainSrc, .ids = {kParamMainSrc, kParamMainSrc + 4}, .lines = L::kPerPhase,
     .shadow = kShwSrc, .group = kDirtySource, .write = BusReg_SetSource},
    {.key = kSetOutputRelay, .id = kParamOutputRelay, .shadow = kShwOutputRelay, .optionBit = kOptOutputRelay,
     .optionBits = 1},
    {.key = kSetRemoteSense, .id = kParamRemoteSense, .shadow = kShwRemoteSense, .optionBit = kOptRemoteSense,
     .optionBits = 1},
    {.key = kSetSlew, .id = kParamSlewRate, .shadow = kShwSlew},
    {.key = kSetExtControl, .id = kParamExtControl, .shadow = kShwExtControl, .optionBit = kOptExtControl,
     .optionBits = 1},
    {.key = kSetRelock, .id = kParamRelock, .shadow = kShwRelock, .optionBit = kOptRelock, .optionBits = 2},
    {.key = kSetAvgCount, .id = kParamAvgCount, .shadow = kShwAvgCount},
    {.key = kSetUpdateRate, .id = kParamUpdateRate, .shadow = kShwUpdateRate},
    {.key = kSetIrmsLimitMode, .id = kParamIrmsLimitMode, .shadow = kShwIrmsLimitMode,
     .optionBit = kOptIrmsLimitMode, .optionBits = 1},
    {.key = kSetIpkLimitMode, .id = kParamIpkLimitMode, .shadow = kShwIpkLimitMode,
     .optionBit = kOptIpkLimitMode, .optionBits = 1},
    {.key = kSetSetChange, .id = kParamPhaseSetChange, .shadow = kShwSetChange, .optionBit = kOptSetChange,
     .optionBits = 3},
    {.key = kSetImpedance, .id = kParamOutputImpedance, .shadow = kShwImpedance, .optionBit = kOptImpedance,
     .optionBits = 1},
    {.key = kSetFreqLimitHi, .id = kParamFreqLimitHi, .ids = {kParamFreqLimitHi, kParamFreqLimitHi + 2},
     .group = kDirtyFreqLimitHigh},
    {.key = kSetFreqLimitLo, .id = kParamFreqLimitLo, .ids = {kParamFreqLimitLo, kParamFreqLimitLo + 2},
     .group = kDirtyFreqLimitLow},
    {.key = kSetVpkHigh, .id = kParamVpkMax, .ids = {kParamVpkMax, kParamVpkMax}, .group = kDirtyVpkHigh},
    {.key = kSetVpkLow, .id = kParamVpkMin, .ids = {kParamVpkMin, kParamVpkMin}, .group = kDirtyVpkLow},
    {.key = kSetVoltLimit, .id = kParamVoltLimit, .ids = {kParamVoltLimit, kParamVoltLimit},
     .group = kDirtyVoltLimit},
    {.key = kSetMonitor1, .id = kParamMonitorSource1, .shadow = kShwMonitor1},
    {.key = kSetMonitor2, .id = kParamMonitorSource2, .shadow = kShwMonitor2},
    {.key = kSetPeakClearItem, .id = kParamPeakClearItem},
    {.key = kSetPeakHoldTime, .id = kParamPeakHoldTime, .shadow = kShwPeakHoldTime},
    {.key = kSetTrigWidth, .id = kParamTrigWidth, .shadow = kShwTrigWidth},
    {.key = kSetTrigSource, .id = kParamTrigSource, .shadow = kShwTrigSource},
    {.key = kSetAcvUnit, .id = kParamAcvUnit, .shadow = kShwAcvUnit},
    {.key = kSetParPosition, .id = kParamParallelPosition, .shadow = kShwParPosition},
    {.key = kSetParNumber, .id = kParamParallelNumber, .shadow = kShwParNumber},
    {.key = kSetParEnable, .id = kParamParallelEnable, .shadow = kShwParEnable},
};
// clang-format on

constexpr const SettingRow& Row(Setting s) {
    return kSettings[s];
}

// The bounds rule of the row whose group holds id; the record's own for an id of no group.
constexpr Bounds BoundsOf(uint32_t id) {
    for (const SettingRow& r : kSettings)
        if (id >= r.ids.first && id <= r.ids.last) return r.bounds;
    return Bounds::kRecord;
}

namespace check {

constexpr bool KeysInOrder() {
    for (unsigned i = 0; i < kSettingCount; ++i)
        if (kSettings[i].key != i) return false;
    return true;
}

constexpr bool GroupsUnique() {
    for (unsigned i = 0; i < kSettingCount; ++i)
        for (unsigned j = i + 1; j < kSettingCount; ++j)
            if (kSettings[i].group != kNoGroup && kSettings[i].group == kSettings[j].group) return false;
    return true;
}

// Every group flag but the two line-view marks belongs to a row.
constexpr bool GroupsCovered() {
    for (unsigned f = 0; f < kParamDirtyCount; ++f) {
        if (f == kDirtyLineAcv2 || f == kDirtyLineDcv2) continue;
        bool found = false;
        for (const SettingRow& r : kSettings)
            found = found || r.group == f;
        if (!found) return false;
    }
    return true;
}

constexpr bool IdRangesApart() {
    for (unsigned i = 0; i < kSettingCount; ++i)
        for (unsigned j = i + 1; j < kSettingCount; ++j) {
            const IdRange a = kSettings[i].ids, b = kSettings[j].ids;
            if (a.first <= a.last && b.first <= b.last && a.first <= b.last && b.first <= a.last)
                return false;
        }
    return true;
}

// A per-phase setting that the chain writes from its group mark has a register writer; the line values
// are written through their phases and the enables through the option word.
constexpr bool GroupedPhaseRowsWrite() {
    for (const SettingRow& r : kSettings)
        if (r.lines == Lines::kPerPhase && r.group != kNoGroup && r.shadow != kShwOnEnable &&
            r.shadow != kShwOffEnable && r.write == nullptr)
            return false;
    return true;
}

// Options live on L1 and are compared through their shadow word; no two share a bit.
constexpr bool OptionsApart() {
    uint32_t used = 0;
    for (const SettingRow& r : kSettings) {
        if (r.optionBits == 0) continue;
        if (r.lines != Lines::kL1 || r.shadow == kNoShadow) return false;
        const uint32_t bits = ((1u << r.optionBits) - 1u) << r.optionBit;
        if ((used & bits) != 0) return false;
        used |= bits;
    }
    return true;
}

// Shadow words of the phases' units are each one setting's (the line rows use the line unit's words).
constexpr bool ShadowsApart() {
    for (unsigned i = 0; i < kSettingCount; ++i)
        for (unsigned j = i + 1; j < kSettingCount; ++j)
            if (kSettings[i].shadow != kNoShadow && kSettings[i].shadow == kSettings[j].shadow &&
                kSettings[i].lines != Lines::kLine && kSettings[j].lines != Lines::kLine)
                return false;
    return true;
}

}  // namespace check

static_assert(check::KeysInOrder(), "a row stands at the index of its key");
static_assert(check::GroupsUnique(), "a group mark belongs to one setting");
static_assert(check::GroupsCovered(), "every group mark has its setting");
static_assert(check::IdRangesApart(), "an id marks one group");
// GCC cannot compare function addresses while compiling with UndefinedBehaviorSanitizer (VRN_UBSAN): this
// check is left to the other builds.
#ifndef VRN_UBSAN
static_assert(check::GroupedPhaseRowsWrite(), "a grouped per-phase setting has a register writer");
#endif
static_assert(check::OptionsApart(), "option bits are one setting's each");
static_assert(check::ShadowsApart(), "a shadow word is one setting's");
static_assert(BoundsOf(kParamAcv + 2) == Bounds::kAcv && BoundsOf(kParamWaveDutyAll) == Bounds::kDuty);

}  // namespace settings
