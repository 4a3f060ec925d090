#include "storage/nv/nv_settings_convert.h"

#include "core/params/access/param_access.h"
#include "core/params/defaults/param_unit_limits.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/config/iface_cfg.h"
#include "storage/nv/nv_blocks.h"

using namespace core;

namespace {

struct Ctx {
    uint32_t unit;
    int kind;
};

using Locate = ParamRec* (*)(const Ctx& c, uint32_t i, uint32_t wave);

enum Member : uint8_t { kValue, kDef1, kDef2, kState };
enum FieldFlag : uint8_t {
    kByte = 1,        // one byte at byte offset pos, else a 32-bit word at word index pos
    kUnsigned = 2,    // not sign-extended when unpacked
    kAllWaves = 4,    // unpacked into the records of every waveform number
    kWave16 = 8,      // packed from waveform 16's record, else from the unit's waveform's
    kVca = 16,        // applied only when the VCA frequency words are all non-zero
    kClamp = 32,      // held within its default limits once unpacked
    kLiveValue = 64,  // a default block still takes the value in force
};

// One group of consecutive fields: field i of the group is member of the record loc (i).
struct Field {
    uint16_t pos;
    uint8_t count;
    Member member;
    uint8_t flags;
    Locate loc;
};

constexpr uint32_t kAcModes[6] = {0, 1, 5, 6, 7, 8};
constexpr uint32_t kDcModes[4] = {0, 2, 5, 7};
constexpr uint32_t kFreqModes[4] = {0, 1, 5, 6};
constexpr int kKind1P2W = 4;

ParamUnit& U(const Ctx& c) {
    return g_ParamStore.unit[c.unit];
}
// Measurement items, phase angles and the synchronisation phase are kept in unit 0 for every phase.
ParamUnit& U0() {
    return g_ParamStore.unit[0];
}

ParamRec* Wave(const Ctx& c, uint32_t, uint32_t) {
    return &U(c).waveform;
}
ParamRec* Duty(const Ctx& c, uint32_t, uint32_t) {
    return &U(c).duty;
}
ParamRec* Meas(const Ctx&, uint32_t i, uint32_t) {
    return &U0().mode[i / 4].meas[i % 4];
}
ParamRec* VcaMeas(const Ctx&, uint32_t i, uint32_t) {
    return &U0().mode[kModeAcVca].meas[i];
}
ParamRec* Sig(const Ctx& c, uint32_t i, uint32_t) {
    return &U(c).mode[7 + i / 2].volt[i % 2].sig;
}
ParamRec* OnPhase(const Ctx& c, uint32_t i, uint32_t) {
    return &U(c).mode[kAcModes[i]].onPhase;
}
ParamRec* OffPhase(const Ctx& c, uint32_t i, uint32_t) {
    return &U(c).mode[kAcModes[i]].offPhase;
}
ParamRec* VcaOnPhase(const Ctx& c, uint32_t, uint32_t) {
    return &U(c).mode[kModeAcVca].onPhase;
}
ParamRec* VcaOffPhase(const Ctx& c, uint32_t, uint32_t) {
    return &U(c).mode[kModeAcVca].offPhase;
}
template <int k>
ParamRec* Angle(const Ctx&, uint32_t i, uint32_t) {
    return &U0().mode[kAcModes[i]].phaseAngle[k];
}
ParamRec* VcaAngle(const Ctx&, uint32_t i, uint32_t) {
    return &U0().mode[kModeAcVca].phaseAngle[i];
}
ParamRec* Sync(const Ctx&, uint32_t i, uint32_t) {
    return &U0().mode[7 + i].syncPhase;
}
template <int set>
ParamRec* Acv(const Ctx& c, uint32_t i, uint32_t w) {
    const uint32_t m = kAcModes[i / 2];
    return &U(c).mode[m].volt[i % 2].acv[set][ClampWaveform(w, m)];
}
template <int set>
ParamRec* Dcv(const Ctx& c, uint32_t i, uint32_t w) {
    const uint32_t m = kDcModes[i / 2];
    return &U(c).mode[m].volt[i % 2].dcv[set][ClampWaveform(w, m)];
}
template <int set>
ParamRec* VoltLimit(const Ctx& c, uint32_t i, uint32_t) {
    return &U(c).mode[0].volt[i].voltLimit[set];
}
ParamRec* VpkMax(const Ctx& c, uint32_t i, uint32_t) {
    return &U(c).mode[0].volt[i].vpkMax;
}
ParamRec* VpkMin(const Ctx& c, uint32_t i, uint32_t) {
    return &U(c).mode[0].volt[i].vpkMin;
}
ParamRec* Freq(const Ctx& c, uint32_t i, uint32_t) {
    return &U(c).mode[kFreqModes[i]].freq;
}
ParamRec* FreqHi(const Ctx& c, uint32_t i, uint32_t) {
    return &U(c).mode[i].freqHi;
}
ParamRec* FreqLo(const Ctx& c, uint32_t i, uint32_t) {
    return &U(c).mode[i].freqLo;
}
// The 1P2W block keeps the rms current limits of the 1P2W variants, the others those of 3P4W/1P3W.
ParamRec* Irms(const Ctx& c, uint32_t i, uint32_t) {
    static constexpr uint32_t k1P2W[4] = {2, 3, 6, 7}, kOther[4] = {0, 1, 4, 5};
    return &U(c).mode[0].curr[c.kind == kKind1P2W ? k1P2W[i] : kOther[i]].irms;
}
ParamRec* IpkMax(const Ctx& c, uint32_t i, uint32_t) {
    return &U(c).mode[0].curr[i].ipkMax;
}
ParamRec* IpkMin(const Ctx& c, uint32_t i, uint32_t) {
    return &U(c).mode[0].curr[i].ipkMin;
}
ParamRec* Gain(const Ctx& c, uint32_t i, uint32_t) {
    return &U(c).mode[3 + i / 2].volt[i % 2].gain;
}
ParamRec* VcaGain(const Ctx& c, uint32_t i, uint32_t) {
    return &U(c).mode[kModeAcVca].volt[i].gain;
}
ParamRec* VcaFreq(const Ctx& c, uint32_t, uint32_t) {
    return &U(c).mode[kModeAcVca].freq;
}

// Every record field of a settings block. Bytes 8-17 and 72 (output mode and range codes) and word 196
// (the display adjustment) are not records and are handled beside the table.
constexpr Field kFields[] = {
    {18, 1, kValue, kByte | kUnsigned | kLiveValue, Wave},
    {19, 36, kValue, kByte, Meas},
    {55, 4, kValue, kByte, Sig},
    {60, 6, kState, kByte, OnPhase},
    {66, 6, kState, kByte, OffPhase},
    {73, 4, kValue, kByte | kVca, VcaMeas},
    {77, 1, kState, kByte | kVca, VcaOnPhase},
    {78, 1, kState, kByte | kVca, VcaOffPhase},
    {80, 6, kState, kByte, Angle<0>},
    {86, 6, kState, kByte, Angle<1>},
    {92, 6, kState, kByte, Angle<2>},
    {66, 12, kValue, kAllWaves | kWave16, Acv<0>},
    {78, 12, kDef1, kAllWaves, Acv<0>},
    {90, 12, kDef2, kAllWaves, Acv<0>},
    {102, 8, kValue, kAllWaves | kWave16, Dcv<0>},
    {110, 8, kDef1, kAllWaves, Dcv<0>},
    {118, 8, kDef2, kAllWaves, Dcv<0>},
    {126, 2, kValue, 0, VoltLimit<0>},
    {128, 2, kValue, 0, VpkMax},
    {130, 2, kValue, 0, VpkMin},
    {132, 4, kDef1, 0, Freq},
    {136, 4, kDef2, 0, Freq},
    {140, 4, kValue, 0, Freq},
    {144, 2, kValue, 0, FreqHi},
    {146, 2, kValue, 0, FreqLo},
    {148, 4, kValue, 0, Irms},
    {152, 4, kValue, 0, IpkMax},
    {156, 4, kValue, 0, IpkMin},
    {160, 6, kValue, kLiveValue, OnPhase},
    {166, 6, kValue, kLiveValue, OffPhase},
    {172, 8, kValue, 0, Gain},
    {180, 8, kDef1, 0, Gain},
    {188, 8, kDef2, 0, Gain},
    {197, 2, kValue, kClamp, VoltLimit<1>},
    {199, 12, kValue, kAllWaves | kWave16, Acv<1>},
    {211, 12, kDef1, kAllWaves, Acv<1>},
    {223, 12, kDef2, kAllWaves, Acv<1>},
    {235, 8, kValue, kAllWaves | kWave16, Dcv<1>},
    {243, 8, kDef1, kAllWaves, Dcv<1>},
    {251, 8, kDef2, kAllWaves, Dcv<1>},
    {259, 2, kValue, kVca, VcaGain},
    {261, 2, kDef1, kVca, VcaGain},
    {263, 2, kDef2, kVca, VcaGain},
    {265, 1, kValue, kVca, VcaFreq},
    {266, 1, kDef1, kVca, VcaFreq},
    {267, 1, kDef2, kVca, VcaFreq},
    {268, 1, kValue, kVca | kLiveValue, VcaOnPhase},
    {269, 1, kValue, kVca | kLiveValue, VcaOffPhase},
    {270, 6, kValue, kLiveValue, Angle<0>},
    {276, 6, kValue, kLiveValue, Angle<1>},
    {282, 6, kValue, kLiveValue, Angle<2>},
    {288, 2, kValue, kLiveValue, Sync},
    {290, 1, kValue, kLiveValue, Duty},
    {291, 3, kValue, kVca | kLiveValue, VcaAngle},
};

constexpr uint32_t kByteOutputMode = 8, kByteRangeCodes = 9, kByteVcaRange = 72;
constexpr uint32_t kWordLcd = 196, kWordVcaFreq = 265, kWordVcaAngleL2 = 292;
// Phase unit of the default blocks 1-6.
constexpr uint32_t kBlockUnit[6] = {0, 1, 2, 0, 0, 1};

uint8_t& ByteAt(SettingsBlock& b, uint32_t pos) {
    return b.bytes[pos - kSettingsFirstByte];
}
int32_t& WordAt(SettingsBlock& b, uint32_t pos) {
    return b.words[pos - kSettingsFirstWord];
}

int32_t& MemberOf(ParamRec* r, Member m) {
    switch (m) {
        case kDef1:
            return r->def1;
        case kDef2:
            return r->def2;
        case kState:
            return r->state;
        default:
            return r->value;
    }
}

// The block of a unit from the store: the values in force, or with defaults the default values.
SettingsBlock BuildBlock(const Ctx& c, bool defaults) {
    SettingsBlock b;
    std::lock_guard<std::mutex> lock(g_ParamLock);
    ByteAt(b, kByteOutputMode) = defaults ? 0 : static_cast<uint8_t>(g_OutputModeIdx.load());
    for (uint32_t m = 0; m < kModeAcVca; ++m)
        ByteAt(b, kByteRangeCodes + m) = static_cast<uint8_t>(g_ParamStore.rangeCode[m].load());
    ByteAt(b, kByteVcaRange) = static_cast<uint8_t>(g_ParamStore.rangeCode[kModeAcVca].load());
    WordAt(b, kWordLcd) = static_cast<int32_t>(IfaceLcdWord());
    const int32_t unitWave = U(c).waveform.value;
    const uint32_t ownWave = unitWave < 0 ? 0 : unitWave > 255 ? 255 : static_cast<uint32_t>(unitWave);
    for (const Field& f : kFields) {
        const uint32_t wave = (f.flags & kWave16) ? kWaveSin : ownWave;
        for (uint32_t i = 0; i < f.count; ++i) {
            ParamRec* r = f.loc(c, i, wave);
            const bool useDefault = defaults && f.member == kValue && !(f.flags & kLiveValue);
            const int32_t v = useDefault ? r->defaultValue : MemberOf(r, f.member);
            if (f.flags & kByte)
                ByteAt(b, f.pos + i) = static_cast<uint8_t>(v);
            else
                WordAt(b, f.pos + i) = v;
        }
    }
    if (defaults && c.kind >= 5) WordAt(b, kWordVcaAngleL2) = WordAt(b, kWordVcaAngleL2 + 1) = 1800;
    return b;
}

void ApplyBlock(const Ctx& c, SettingsBlock& b) {
    const bool vca =
        WordAt(b, kWordVcaFreq) != 0 && WordAt(b, kWordVcaFreq + 1) != 0 && WordAt(b, kWordVcaFreq + 2) != 0;
    IfaceLcdWordSet(static_cast<uint32_t>(WordAt(b, kWordLcd)));
    std::lock_guard<std::mutex> lock(g_ParamLock);
    // A mode or range code outside the store's tables would index beyond them: such a byte is not taken.
    const int8_t mode = static_cast<int8_t>(ByteAt(b, kByteOutputMode));
    if (mode >= 0 && static_cast<uint32_t>(mode) < kModes) g_OutputModeIdx.store(static_cast<uint32_t>(mode));
    for (uint32_t m = 0; m < kModes; ++m) {
        if (m == kModeAcVca && !vca) continue;
        const int8_t code =
            static_cast<int8_t>(ByteAt(b, m == kModeAcVca ? kByteVcaRange : kByteRangeCodes + m));
        if (code >= 0 && static_cast<uint32_t>(code) < kRangeVariants)
            g_ParamStore.rangeCode[m].store(static_cast<uint32_t>(code));
    }
    for (const Field& f : kFields) {
        if ((f.flags & kVca) && !vca) continue;
        for (uint32_t i = 0; i < f.count; ++i) {
            const uint8_t raw = (f.flags & kByte) ? ByteAt(b, f.pos + i) : 0;
            const int32_t v = !(f.flags & kByte)      ? WordAt(b, f.pos + i)
                              : (f.flags & kUnsigned) ? raw
                                                      : static_cast<int8_t>(raw);
            const uint32_t waves = (f.flags & kAllWaves) ? kWaveforms : 1;
            for (uint32_t w = 0; w < waves; ++w) {
                ParamRec* r = f.loc(c, i, w);
                MemberOf(r, f.member) = v;
                if (f.flags & kClamp) ParamClampToDefault(r);
            }
        }
    }
}

bool ValidPlace(uint32_t unit, int kind) {
    return unit < kPhases && kind >= 1 && kind <= 6;
}

int32_t Rebase(int kind, uint32_t unit, uint32_t offset, bool parallel) {
    if (!ValidPlace(unit, kind)) return kNvBadKind;
    const int32_t factor = parallel ? GetParallelNumber() : 1;
    ParamUnitLimitsInit(unit, parallel, factor);
    SettingsBlock fresh = BuildBlock(Ctx{unit, kind}, true);
    SettingsRebase words;
    for (uint32_t i = 0; i < sizeof words.words / sizeof words.words[0]; ++i)
        words.words[i] = WordAt(fresh, kSettingsRebaseFirstWord + i);
    return SettingsBlockRebaseWrite(kind, words, offset);
}

}  // namespace

int32_t BackupBlockPack(uint32_t unit, int kind, bool write) {
    if (!ValidPlace(unit, kind)) return kNvBadKind;
    const SettingsBlock b = BuildBlock(Ctx{unit, kind}, false);
    return SettingsBlockEdit(
        kind, [&b](SettingsBlock& image) { image = b; }, write);
}

int32_t BackupBlockConvert(int direction, uint32_t unit, int kind) {
    if (!ValidPlace(unit, kind)) return kNvBadKind;
    if (direction == 1) {
        BackupBlockPack(unit, kind, false);
        return 0;
    }
    SettingsBlock b;
    SettingsBlockImage(kind, &b);
    ApplyBlock(Ctx{unit, kind}, b);
    return 0;
}

int32_t BackupBlockPackDefaults(int index, int write) {
    if (index < 0 || index > 5) return kNvBadKind;
    const int kind = index + 1;
    const SettingsBlock b = BuildBlock(Ctx{kBlockUnit[index], kind}, true);
    return SettingsBlockEdit(
        kind, [&b](SettingsBlock& image) { image = b; }, write != 0);
}

int32_t BackupSettingsPackAll() {
    g_PhaseMode.store(0);
    int32_t result = kNvSaved;
    for (int k = 0; k < 6; ++k) {
        const int32_t r = BackupBlockPackDefaults(k, 1);
        if (result == kNvSaved) result = r;
    }
    return result;
}

int32_t BackupBlockPackAndWrite(int kind, uint32_t unit, uint32_t offset) {
    return Rebase(kind, unit, offset, true);
}

int32_t BackupBlockPackStandalone(int kind, uint32_t unit, uint32_t offset) {
    return Rebase(kind, unit, offset, false);
}

void BackupBlocksRebaseAll(int parallel) {
    constexpr uint32_t kUnitOfKind[] = {0, 1, 2, 0, 0, 1};
    for (int kind = 1; kind <= 6; ++kind) {
        const uint32_t unit = kUnitOfKind[kind - 1];
        if (parallel != 0)
            BackupBlockPackAndWrite(kind, unit, NvBlockOffset(kind));
        else
            BackupBlockPackStandalone(kind, unit, NvBlockOffset(kind));
    }
}
