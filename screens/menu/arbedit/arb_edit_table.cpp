#include "screens/menu/arbedit/arb_edit_table.h"

#include <cmath>
#include <limits>

#include "core/params/param_store.h"
#include "engine/arb/arb_builder.h"

namespace arbedit {
namespace {

constexpr uint8_t kBP = kBuild | kPreview;

constexpr ParamRow Num(uint16_t edit, const char* label, int32_t (*get)(), int32_t (*set)(int32_t),
                       int32_t lo, int32_t hi, int8_t digits, Keypad keypad, Format format) {
    return {edit, label, get, set, Range::kFixed, lo, hi, digits, keypad, kBP, Variant::kNumeric, format};
}
constexpr ParamRow Phase(uint16_t edit, const char* label, int32_t (*get)(), int32_t (*set)(int32_t),
                         Range range) {
    return {edit,           label, get, set, range, 1, 3599, 4, Keypad::kTenths, kBP, Variant::kNumeric,
            Format::kTenths};
}
constexpr ParamRow Choice(uint16_t edit, const char* label, int32_t (*get)(), int32_t (*set)(int32_t),
                          int32_t hi, uint8_t accept, Variant variant, Format format) {
    return {edit, label, get, set, Range::kFixed, 0, hi, 0, Keypad::kNone, accept, variant, format};
}

constexpr ParamRow kRows[] = {
    Num(495, "Sym", ArbBuild_GetTriangle, ArbBuild_SetTriangle, 0, 100, 3, Keypad::kUnits, Format::kPercent),
    Num(497, "Stairs", ArbBuild_GetStairs, ArbBuild_SetStairs, 1, 100, 3, Keypad::kUnits, Format::kInteger),
    Choice(499, "RMS", ArbBuild_GetClipKeepRms, ArbBuild_SetClipKeepRms, 1, 0, Variant::kKeepRms,
           Format::kInteger),
    Num(501, "Ratio", ArbBuild_GetClip, ArbBuild_SetClip, 0, 100, 3, Keypad::kHundredths,
        Format::kHundredths),
    Num(503, "CF", ArbBuild_GetCf1, ArbBuild_SetCf1, 11, 100, 3, Keypad::kTenths, Format::kTenths),
    Num(505, "CF", ArbBuild_GetCf2, ArbBuild_SetCf2, 15, 20, 3, Keypad::kTenths, Format::kTenths),
    Num(507, "Site", ArbBuild_GetSdSite, ArbBuild_SetSdSite, 0, 100, 3, Keypad::kUnits, Format::kPercent),
    Num(509, "ACV", ArbBuild_GetSdAcv, ArbBuild_SetSdAcv, 0, 100, 3, Keypad::kUnits, Format::kPercent),
    Choice(511, "Type", ArbBuild_GetSdMode, ArbBuild_SetSdMode, 1, kBuild, Variant::kSdMode,
           Format::kSdModeName),
    {513, "Level", ArbBuild_GetRippleLevel, ArbBuild_SetRippleLevel, Range::kFixed, 1, 30, 2, Keypad::kUnits,
     kBP, Variant::kRippleLevel, Format::kPercent},
    Num(515, "VDC", ArbBuild_GetRippleVDC, ArbBuild_SetRippleVDC, 1, 100, 3, Keypad::kUnits,
        Format::kInteger),
    Choice(517, "Times", ArbBuild_GetRippleTimes, ArbBuild_SetRippleTimes, 3, kBuild, Variant::kRippleTimes,
           Format::kRippleTimesName),
    Phase(519, "ST Phs", ArbBuild_GetDIPStart, ArbBuild_SetDIPStart, Range::kDipStart),
    Phase(521, "SP Phs", ArbBuild_GetDIPSweep, ArbBuild_SetDIPSweep, Range::kDipSweep),
    Phase(523, "End Phs", ArbBuild_GetDIPEnd, ArbBuild_SetDIPEnd, Range::kDipEnd),
    {525, "ACV", ArbBuild_GetLFRingACV, ArbBuild_SetLFRingACV, Range::kAcvRecord, 0, 0, 0,
     Keypad::kHundredths, 0, Variant::kLfRingAcv, Format::kHundredths},
    Num(527, "Amp", ArbBuild_GetLFRingAmp, ArbBuild_SetLFRingAmp, 140, 200, 3, Keypad::kUnits,
        Format::kPercent),
    Num(529, "Base_F", ArbBuild_GetLFRingBaseFreq, ArbBuild_SetLFRingBaseFreq, 500, 2000, 4, Keypad::kTenths,
        Format::kTenths),
    Num(531, "Ring_F", ArbBuild_GetLFRingRingFreq, ArbBuild_SetLFRingRingFreq, 2000, 50000, 5,
        Keypad::kTenths, Format::kTenths),
    Num(533, "Decay", ArbBuild_GetLFRingDecay, ArbBuild_SetLFRingDecay, -100, 100, 3, Keypad::kThousandths,
        Format::kThousandths),
    Phase(535, "ST Phs", ArbBuild_GetLFRingStart, ArbBuild_SetLFRingStart, Range::kRingStart),
    Phase(537, "End Phs", ArbBuild_GetLFRingEnd, ArbBuild_SetLFRingEnd, Range::kRingEnd),
    Phase(539, "Ring Phs", ArbBuild_GetLFRingRing, ArbBuild_SetLFRingRing, Range::kFixed),
    {541, "ARB NO.", ArbBuild_GetArbNo, ArbBuild_SetArbNo, Range::kFixed, 1, 253, 2, Keypad::kUnits, 0,
     Variant::kArbNo, Format::kInteger},
    // A new type asks for its preview too: the curve and its advice would otherwise stay the old type's.
    Choice(543, "Built In", ArbBuild_GetType, ArbBuild_SetType, kTypeCount - 1, kBP, Variant::kType,
           Format::kTypeName),
};
constexpr int kRowCount = sizeof kRows / sizeof kRows[0];

constexpr bool RowsInStateOrder() {
    for (int i = 0; i < kRowCount; ++i)
        if (kRows[i].edit != kFirstEdit + 2 * i) return false;
    return kRows[kRowCount - 1].edit == kTypeEdit;
}
static_assert(RowsInStateOrder(), "one row per edit state, in state order");

// Rows of each type group, top to bottom.
constexpr uint16_t kTri[] = {544, 496, 542};
constexpr uint16_t kStair[] = {544, 498, 542};
constexpr uint16_t kClip[] = {544, 502, 542};
constexpr uint16_t kCf1[] = {544, 504, 542};
constexpr uint16_t kCf2[] = {544, 506, 542};
constexpr uint16_t kSurge[] = {544, 512, 510, 508, 542};
constexpr uint16_t kStored[] = {544, 542};
constexpr uint16_t kRipple[] = {544, 518, 516, 514, 542};
constexpr uint16_t kDip[] = {544, 520, 522, 524, 542};
constexpr uint16_t kLfRing[] = {544, 526, 528, 530, 532, 534, 536, 538, 540, 542};

struct TypeRows {
    int32_t first, last;
    const uint16_t* views;
    int count;
};
template <int N>
constexpr TypeRows Rows(int32_t first, int32_t last, const uint16_t (&v)[N]) {
    return {first, last, v, N};
}
constexpr TypeRows kTypeRows[] = {
    Rows(0, 0, kTri),   Rows(1, 1, kStair),    Rows(2, 2, kClip),    Rows(3, 3, kCf1),
    Rows(4, 4, kCf2),   Rows(5, 5, kSurge),    Rows(6, 27, kStored), Rows(28, 28, kRipple),
    Rows(29, 29, kDip), Rows(30, 30, kLfRing),
};

constexpr char kTypeNames[kTypeCount][32] = {
    "TRI",   "STAIR", "CLIP",  "CF-1",  "CF-2",  "SURGE", "DST01",  "DST02", "DST03",   "DST04", "DST05",
    "DST06", "DST07", "DST08", "DST09", "DST10", "DST11", "DST12",  "DST13", "DST14",   "DST15", "DST16",
    "DST17", "DST18", "DST19", "DST20", "DST21", "DST22", "RIPPLE", "DIP",   "LF-RING",
};
constexpr char kSdModeNames[2][16] = {"SQU", "SIN"};
constexpr char kRippleTimesNames[4][16] = {"1", "2", "3", "6"};

// The single-precision rounding offsets, widened.
constexpr double kOffTenth = static_cast<double>(0.05f);
constexpr double kOffHundredth = static_cast<double>(0.005f);
constexpr double kOffThousandth = static_cast<double>(0.0005f);

ParamRec AcvRecord() {
    ParamRec rec{};
    paramRW(0, kParamAcv, &rec, 0);
    return rec;
}

}  // namespace

const ParamRow* RowOf(uint32_t state) {
    if (state < kFirstEdit || state > kLastView) return nullptr;
    return &kRows[(state - kFirstEdit) / 2];
}

void KnobRange(const ParamRow& row, int32_t* lo, int32_t* hi) {
    *lo = row.lo;
    *hi = row.hi;
    switch (row.range) {
        case Range::kFixed:
            return;
        case Range::kDipStart:
            *hi = ArbBuild_GetDIPSweep() - 1;
            return;
        case Range::kDipSweep:
            *lo = ArbBuild_GetDIPStart() + 1;
            *hi = ArbBuild_GetDIPEnd() - 1;
            return;
        case Range::kDipEnd:
            *lo = ArbBuild_GetDIPSweep() + 1;
            return;
        case Range::kRingStart:
            *hi = ArbBuild_GetLFRingEnd() - 1;
            return;
        case Range::kRingEnd:
            *lo = ArbBuild_GetLFRingStart() + 1;
            return;
        case Range::kAcvRecord: {
            const ParamRec rec = AcvRecord();
            *lo = rec.defaultMin;
            *hi = rec.defaultMax;
            return;
        }
    }
}

int32_t DigitsOf(const ParamRow& row) {
    return row.range == Range::kAcvRecord ? AcvRecord().digits : row.digits;
}

bool TypedValue(const ParamRow& row, double typed, int32_t* out) {
    double v = typed;
    switch (row.keypad) {
        case Keypad::kNone:
            return false;
        case Keypad::kUnits:
            break;
        case Keypad::kTenths:
            v = (typed + kOffTenth) * 10.0;
            break;
        case Keypad::kHundredths:
            v = (typed + kOffHundredth) * 100.0;
            break;
        case Keypad::kThousandths:
            v = (typed >= 0 ? typed + kOffThousandth : typed - kOffThousandth) * 1000.0;
            break;
    }
    v = std::trunc(v);
    if (!std::isfinite(v) || v < static_cast<double>(std::numeric_limits<int32_t>::min()) ||
        v > static_cast<double>(std::numeric_limits<int32_t>::max()))
        return false;
    *out = static_cast<int32_t>(v);
    return true;
}

int RowsOfType(int32_t type, const uint16_t** views) {
    for (const TypeRows& t : kTypeRows) {
        if (type < t.first || type > t.last) continue;
        *views = t.views;
        return t.count;
    }
    *views = nullptr;
    return 0;
}

const char* TypeName(int32_t type) {
    return type >= 0 && type < kTypeCount ? kTypeNames[type] : "";
}
const char* SdModeName(int32_t mode) {
    return mode >= 0 && mode < 2 ? kSdModeNames[mode] : "";
}
const char* RippleTimesName(int32_t code) {
    return code >= 0 && code < 4 ? kRippleTimesNames[code] : "";
}

}  // namespace arbedit
