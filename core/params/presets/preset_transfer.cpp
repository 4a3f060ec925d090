#include "core/params/presets/preset_transfer.h"

#include <cstring>
#include <mutex>

#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/params/presets/preset_store.h"
#include "platform/stage/wiring_codes.h"

namespace presets {
namespace {

using core::ParamModeBlock;

constexpr uint32_t kAcModes[6] = {0, 1, 5, 6, 7, 8};
constexpr uint32_t kDcModes[4] = {0, 2, 5, 7};
constexpr uint32_t kFreqModes[4] = {0, 1, 5, 6};
constexpr uint32_t kGainModes[4] = {5, 6, 7, 8};
constexpr uint32_t kSyncModes[2] = {7, 8};
constexpr uint32_t kMaxRangeCode = 7;

// The settings of the MISC page, one record each for the instrument.
struct MiscField {
    uint16_t at;  // byte offset, or word number when `word`
    bool word;
    core::ParamGlobal global;
};
constexpr MiscField kMiscFields[] = {
    {29, false, core::kGlbAcvUnit},        {30, false, core::kGlbPowerOnState},
    {31, false, core::kGlbBuzzer},         {32, false, core::kGlbRemoteSense},
    {33, false, core::kGlbSlewRate},       {34, false, core::kGlbOutputRelay},
    {35, false, core::kGlbHarmMode},       {36, false, core::kGlbExtControl},
    {66, false, core::kGlbRelock},         {68, false, core::kGlbBalanceMode},
    {69, false, core::kGlbPeakClearItem},  {70, false, core::kGlbOutputImpedance},
    {71, false, core::kGlbPhaseSetChange}, {72, false, core::kGlbMonitorSrc1},
    {73, false, core::kGlbMonitorSrc2},    {74, false, core::kGlbMonitorAmp},
    {75, false, core::kGlbAvgCount},       {76, false, core::kGlbUpdateRate},
    {109, true, core::kGlbPeakHoldTime},   {136, true, core::kGlbTrigWidth},
    {137, true, core::kGlbTrigSource},     {138, true, core::kGlbInductanceL1},
    {139, true, core::kGlbInductanceL2},   {140, true, core::kGlbInductanceL3},
    {141, true, core::kGlbResistanceL1},   {142, true, core::kGlbResistanceL2},
    {143, true, core::kGlbResistanceL3},
};

// The four range variants whose current limits a preset keeps, by phase mode.
const uint32_t* CurrentVariants(uint32_t phaseMode) {
    static constexpr uint32_t k1P2W[4] = {2, 3, 6, 7};
    static constexpr uint32_t kOther[4] = {0, 1, 4, 5};
    return phaseMode == kWiring1P2W ? k1P2W : kOther;
}

// One direction of the copy. Recalled values pass through ParamClampToDefault, except those read with WordIn
// and ByteIn, whose caller applies a rule of its own.
class Copy {
  public:
    Copy(uint8_t* record, bool recall, bool defaults) : r_(record), recall_(recall), defaults_(defaults) {}
    bool recall() const { return recall_; }

    void Byte(uint32_t at, ParamRec& rec) {
        if (!recall_) {
            r_[at] = static_cast<uint8_t>(Source(rec));
            return;
        }
        rec.value = r_[at];
        ParamClampToDefault(&rec);
    }
    void Word(uint32_t k, ParamRec& rec) {
        if (!recall_) {
            PresetWordPut(r_, k, Source(rec));
            return;
        }
        rec.value = PresetWordGet(r_, k);
        ParamClampToDefault(&rec);
    }
    // An enable (the record's state); 1 by default.
    void State(uint32_t at, ParamRec& rec) {
        if (recall_)
            rec.state = r_[at] != 0 ? 1 : 0;
        else
            r_[at] = static_cast<uint8_t>(defaults_ ? 1 : rec.state);
    }
    // A word whose recall the caller limits itself: stored as usual, recalled as read.
    void WordOut(uint32_t k, const ParamRec& rec) { PresetWordPut(r_, k, Source(rec)); }
    int32_t WordIn(uint32_t k) const { return PresetWordGet(r_, k); }
    uint8_t ByteIn(uint32_t at) const { return r_[at]; }
    void ByteOut(uint32_t at, uint32_t v) { r_[at] = static_cast<uint8_t>(v); }

    // A voltage kept per waveform: the record of the phase's waveform is stored; a recalled value goes to
    // every waveform of the set.
    void Voltage(uint32_t k, ParamRec (&set)[core::kWaveforms], uint32_t waveform) {
        ParamRec& rec = set[waveform];
        if (!recall_) {
            PresetWordPut(r_, k, Source(rec));
            return;
        }
        rec.value = PresetWordGet(r_, k);
        ParamClampToDefault(&rec);
        for (ParamRec& other : set)
            other.value = rec.value;
    }

  private:
    int32_t Source(const ParamRec& rec) const { return defaults_ ? rec.defaultValue : rec.value; }
    uint8_t* r_;
    bool recall_;
    bool defaults_;
};

void HoldBelow(ParamRec& rec, int32_t v, const char** name, const char* text) {
    rec.value = v;
    if (rec.value > rec.defaultMax) rec.value = rec.defaultMax, *name = text;
}

// Everything but the instrument-wide fields, in both directions; `limits` only for a recall.
void PhaseFields(Copy& c, uint32_t p, uint32_t waveform, uint32_t phaseMode, RecallLimits* limits) {
    core::ParamUnit& u = g_ParamStore.unit[p];
    ParamModeBlock* m = u.mode;

    for (uint32_t i = 0; i < 6; ++i) {
        ParamModeBlock& b = m[kAcModes[i]];
        const uint32_t w = core::ClampWaveform(waveform, kAcModes[i]);
        for (uint32_t a = 0; a < 2; ++a) {
            c.Voltage(21 + 2 * i + a, b.volt[a].acv[0], w);
            c.Voltage(89 + 2 * i + a, b.volt[a].acv[1], w);
        }
        c.State(17 + i, b.onPhase);
        c.State(23 + i, b.offPhase);
        c.Word(67 + i, b.onPhase);
        c.Word(73 + i, b.offPhase);
    }
    for (uint32_t i = 0; i < 4; ++i) {
        ParamModeBlock& b = m[kDcModes[i]];
        const uint32_t w = core::ClampWaveform(waveform, kDcModes[i]);
        for (uint32_t a = 0; a < 2; ++a) {
            c.Voltage(33 + 2 * i + a, b.volt[a].dcv[0], w);
            c.Voltage(101 + 2 * i + a, b.volt[a].dcv[1], w);
        }
    }
    for (uint32_t a = 0; a < 2; ++a) {
        c.Word(41 + a, m[0].volt[a].voltLimit[0]);
        c.Word(87 + a, m[0].volt[a].voltLimit[1]);
        c.Word(43 + a, m[0].volt[a].vpkMax);
        c.Word(45 + a, m[0].volt[a].vpkMin);
        for (uint32_t i = 0; i < 4; ++i)
            c.Word(79 + 2 * i + a, m[kGainModes[i]].volt[a].gain);
        for (uint32_t i = 0; i < 2; ++i)
            c.Byte(13 + 2 * i + a, m[kSyncModes[i]].volt[a].sig);
        c.Word(110 + a, m[kModeAcVca].volt[a].gain);
    }

    // Frequencies and current limits: a recall holds them to the present model's maxima.
    for (uint32_t i = 0; i < 4; ++i) {
        ParamRec& f = m[kFreqModes[i]].freq;
        if (!c.recall())
            c.WordOut(47 + i, f);
        else
            HoldBelow(f, c.WordIn(47 + i), &limits->freq.first, "Freq");
    }
    for (uint32_t cls = 0; cls < 2; ++cls) {
        ParamRec& hi = m[cls].freqHi;
        if (!c.recall())
            c.WordOut(51 + cls, hi);
        else
            HoldBelow(hi, c.WordIn(51 + cls), &limits->freq.second, "Freq Limit_Hi");
        if (!c.recall())
            c.WordOut(53 + cls, m[cls].freqLo);
        else
            m[cls].freqLo.value = c.WordIn(53 + cls);
    }
    ParamRec& vcaFreq = m[kModeAcVca].freq;
    if (!c.recall())
        c.WordOut(112, vcaFreq);
    else if (c.WordIn(112) != 0)
        HoldBelow(vcaFreq, c.WordIn(112), &limits->freq.first, "Freq");
    // The rms limits of the wiring's four variants; the peak limits of variants 0-3 (both wirings' fixed
    // ranges), which is what the ranges of a received record are checked against.
    const uint32_t* variants = CurrentVariants(phaseMode);
    for (uint32_t i = 0; i < 4; ++i) {
        ParamRec& irms = m[0].curr[variants[i]].irms;
        core::ParamCurrArea& peak = m[0].curr[i];
        if (!c.recall()) {
            c.WordOut(55 + i, irms);
            c.WordOut(59 + i, peak.ipkMax);
            c.WordOut(63 + i, peak.ipkMin);
            continue;
        }
        HoldBelow(irms, c.WordIn(55 + i), &limits->curr.first, "IRMS");
        HoldBelow(peak.ipkMax, c.WordIn(59 + i), &limits->curr.second, "IPK");
        peak.ipkMin.value = c.WordIn(63 + i);
        if (peak.ipkMin.value < peak.ipkMin.defaultMin)
            peak.ipkMin.value = peak.ipkMin.defaultMin, limits->curr.second = "IPK";
    }

    c.State(45, m[kModeAcVca].onPhase);
    c.State(46, m[kModeAcVca].offPhase);
    c.Word(113, m[kModeAcVca].onPhase);
    c.Word(114, m[kModeAcVca].offPhase);
    c.Byte(kPresetWaveform, u.waveform);
    c.Byte(3, u.ipkLimitMode);
    c.Word(135, u.duty);
}

// The settings the instrument has once (unit 0's records and the process-wide words).
void InstrumentFields(Copy& c, bool defaults) {
    ParamModeBlock* m = g_ParamStore.unit[0].mode;
    for (uint32_t i = 0; i < 6; ++i) {
        ParamModeBlock& b = m[kAcModes[i]];
        for (uint32_t k = 0; k < 3; ++k) {
            c.State(48 + 6 * k + i, b.phaseAngle[k]);
            c.Word(115 + 6 * k + i, b.phaseAngle[k]);
        }
    }
    for (uint32_t k = 0; k < 3; ++k)
        c.Word(144 + k, m[kModeAcVca].phaseAngle[k]);
    for (uint32_t i = 0; i < 2; ++i)
        c.Word(133 + i, m[kSyncModes[i]].syncPhase);
    for (const MiscField& f : kMiscFields) {
        ParamRec& rec = g_ParamStore.global[f.global];
        if (f.word)
            c.Word(f.at, rec);
        else
            c.Byte(f.at, rec);
    }
    c.Byte(2, g_ParamStore.global[core::kGlbIrmsLimitMode]);

    if (c.recall()) {
        const uint32_t mode = c.ByteIn(kPresetOutputMode);
        if (mode < core::kModes) g_OutputModeIdx.store(mode);
        for (uint32_t i = 0; i < 10; ++i) {
            const uint32_t code = c.ByteIn(i < 9 ? 4 + i : 44);
            if (code <= kMaxRangeCode) g_ParamStore.rangeCode[i].store(code);
        }
        const uint32_t phaseMode = c.ByteIn(kPresetPhaseMode);
        if (phaseMode <= kWiring1P3W) g_PhaseMode.store(phaseMode);
        g_EditAllPhases.store(c.ByteIn(67) == 1 ? 1 : 0);
        for (uint32_t i = 0; i < core::kMeasItems; ++i)
            c.Byte(37 + i, m[g_OutputModeIdx.load()].meas[i]);
        return;
    }
    const uint32_t mode = defaults ? 0 : g_OutputModeIdx.load();
    c.ByteOut(kPresetOutputMode, mode);
    for (uint32_t i = 0; i < 10; ++i)
        c.ByteOut(i < 9 ? 4 + i : 44, defaults ? 0 : g_ParamStore.rangeCode[i].load());
    c.ByteOut(kPresetPhaseMode, defaults ? 0 : g_PhaseMode.load());
    c.ByteOut(67, defaults ? 0 : g_EditAllPhases.load());
    c.ByteOut(kPresetParallelCode, 2);
    // A reset preset names the first four measurement items only.
    for (uint32_t i = 0; i < (defaults ? 4u : core::kMeasItems); ++i)
        c.Byte(37 + i, m[mode].meas[i]);
}

void Store(uint32_t n, uint32_t p, bool defaults) {
    uint8_t* record = PresetRecord(n, p);
    std::lock_guard<std::mutex> lock(core::g_ParamLock);
    std::memset(record, 0, kPresetRecordSize);
    Copy c(record, false, defaults);
    const core::ParamUnit& u = g_ParamStore.unit[p];
    const uint32_t waveform = static_cast<uint32_t>(defaults ? u.waveform.defaultValue : u.waveform.value);
    InstrumentFields(c, defaults);
    PhaseFields(c, p, waveform & 0xFFu, defaults ? 0 : g_PhaseMode.load(), nullptr);
}

}  // namespace
}  // namespace presets

void PresetPhaseTransfer(uint32_t save, uint32_t index, uint32_t phase, presets::RecallLimits* limits) {
    using namespace presets;
    if (save != 0) return Store(index, phase, false);
    uint8_t* record = PresetRecord(index, phase);
    std::lock_guard<std::mutex> lock(core::g_ParamLock);
    Copy c(record, true, false);
    if (phase == 0) InstrumentFields(c, false);
    PhaseFields(c, phase, record[kPresetWaveform], record[kPresetPhaseMode], limits);
}

void PresetClear(int32_t n) {
    if (n < 0 || n >= static_cast<int32_t>(kPresetCount)) return;
    for (uint32_t p = 0; p < kPresetPhases; ++p)
        presets::Store(static_cast<uint32_t>(n), p, true);
}

void PresetClearAll() {
    for (int32_t n = 0; n < static_cast<int32_t>(kPresetCount); ++n)
        PresetClear(n);
}

void PresetClearPhase(uint32_t p) {
    if (p >= kPresetPhases) return;
    for (uint32_t n = 0; n < kPresetCount; ++n)
        presets::Store(n, p, true);
}
