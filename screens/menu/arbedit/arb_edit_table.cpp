#include "screens/menu/arbedit/arb_edit_table.h"

#include <cmath>
#include <limits>

#include "core/params/param_store.h"
#include "core/params/settings/angle_bounds.h"
#include "core/system/state/menu_state_ids.h"
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
    return {edit,           label, get, set, range, 1, settings::kAngleMax, 4, Keypad::kTenths, kBP, Variant::kNumeric,
            Format::kTenths};
}
constexpr ParamRow Choice(uint16_t edit, const char* label, int32_t (*get)(), int32_t (*set)(int32_t),
                          int32_t hi, uint8_t accept, Variant variant, Format format) {
    return {edit, label, get, set, Range::kFixed, 0, hi, 0, Keypad::kNone, accept, variant, format};
}

constexpr ParamRow kRows[] = {
    Num(kMenuArbTriangleEdit, "Sym", ArbBuild_GetTriangle, ArbBuild_SetTriangle, 0, 100, 3, Keypad::kUnits,
        Format::kPercent),
    Num(kMenuArbStairsEdit, "Stairs", ArbBuild_GetStairs, ArbBuild_SetStairs, 1, 100, 3, Keypad::kUnits,
        Format::kInteger),
    Choice(kMenuArbClipKeepRmsEdit, "RMS", ArbBuild_GetClipKeepRms, ArbBuild_SetClipKeepRms, 1, 0,
           Variant::kKeepRms, Format::kInteger),
    Num(kMenuArbClipEdit, "Ratio", ArbBuild_GetClip, ArbBuild_SetClip, 0, 100, 3, Keypad::kHundredths,
        Format::kHundredths),
    Num(kMenuArbCf1Edit, "CF", ArbBuild_GetCf1, ArbBuild_SetCf1, 11, 100, 3, Keypad::kTenths,
        Format::kTenths),
    Num(kMenuArbCf2Edit, "CF", ArbBuild_GetCf2, ArbBuild_SetCf2, 15, 20, 3, Keypad::kTenths, Format::kTenths),
    Num(kMenuArbSdSiteEdit, "Site", ArbBuild_GetSdSite, ArbBuild_SetSdSite, 0, 100, 3, Keypad::kUnits,
        Format::kPercent),
    Num(kMenuArbSdAcvEdit, "ACV", ArbBuild_GetSdAcv, ArbBuild_SetSdAcv, 0, 100, 3, Keypad::kUnits,
        Format::kPercent),
    Choice(kMenuArbSdModeEdit, "Type", ArbBuild_GetSdMode, ArbBuild_SetSdMode, 1, kBuild, Variant::kSdMode,
           Format::kSdModeName),
    {kMenuArbRippleLevelEdit, "Level", ArbBuild_GetRippleLevel, ArbBuild_SetRippleLevel, Range::kFixed, 1, 30,
     2, Keypad::kUnits, kBP, Variant::kRippleLevel, Format::kPercent},
    Num(kMenuArbRippleVdcEdit, "VDC", ArbBuild_GetRippleVDC, ArbBuild_SetRippleVDC, 1, 100, 3, Keypad::kUnits,
        Format::kInteger),
    Choice(kMenuArbRippleTimesEdit, "Times", ArbBuild_GetRippleTimes, ArbBuild_SetRippleTimes, 3, kBuild,
           Variant::kRippleTimes, Format::kRippleTimesName),
    Phase(kMenuArbDipStartEdit, "ST Phs", ArbBuild_GetDIPStart, ArbBuild_SetDIPStart, Range::kDipStart),
    Phase(kMenuArbDipSweepEdit, "SP Phs", ArbBuild_GetDIPSweep, ArbBuild_SetDIPSweep, Range::kDipSweep),
    Phase(kMenuArbDipEndEdit, "End Phs", ArbBuild_GetDIPEnd, ArbBuild_SetDIPEnd, Range::kDipEnd),
    {kMenuArbLfRingAcvEdit, "ACV", ArbBuild_GetLFRingACV, ArbBuild_SetLFRingACV, Range::kAcvRecord, 0, 0, 0,
     Keypad::kHundredths, 0, Variant::kLfRingAcv, Format::kHundredths},
    Num(kMenuArbLfRingAmpEdit, "Amp", ArbBuild_GetLFRingAmp, ArbBuild_SetLFRingAmp, 140, 200, 3,
        Keypad::kUnits, Format::kPercent),
    Num(kMenuArbLfRingBaseFreqEdit, "Base_F", ArbBuild_GetLFRingBaseFreq, ArbBuild_SetLFRingBaseFreq, 500,
        2000, 4, Keypad::kTenths, Format::kTenths),
    Num(kMenuArbLfRingRingFreqEdit, "Ring_F", ArbBuild_GetLFRingRingFreq, ArbBuild_SetLFRingRingFreq, 2000,
        50000, 5, Keypad::kTenths, Format::kTenths),
    Num(kMenuArbLfRingDecayEdit, "Decay", ArbBuild_GetLFRingDecay, ArbBuild_SetLFRingDecay, -100, 100, 3,
        Keypad::kThousandths, Format::kThousandths),
    Phase(kMenuArbLfRingStartEdit, "ST Phs", ArbBuild_GetLFRingStart, ArbBuild_SetLFRingStart,
          Range::kRingStart),
    Phase(kMenuArbLfRingEndEdit, "End Phs", ArbBuild_GetLFRingEnd, ArbBuild_SetLFRingEnd, Range::kRingEnd),
    Phase(kMenuArbLfRingRingEdit, "Ring Phs", ArbBuild_GetLFRingRing, ArbBuild_SetLFRingRing, Range::kFixed),
    {kMenuArbArbNoEdit, "ARB NO.", ArbBuild_GetArbNo, ArbBuild_SetArbNo, Range::kFixed, 1, 253, 2,
     Keypad::kUnits, 0, Variant::kArbNo, Format::kInteger},
    // A new type asks for its preview too: the curve and its advice would otherwise stay the old type's.
    Choice(kMenuArbTypeEdit, "Built In", ArbBuild_GetType, ArbBuild_SetType, kTypeCount - 1, kBP,
           Variant::kType, Format::kTypeName),
};
constexpr int kRowCount = sizeof kRows / sizeof kRows[0];

constexpr bool RowsInStateOrder() {
    for (int i = 0; i < kRowCount; ++i)
        if (kRows[i].edit != kFirstEdit + 2 * i) return false;
    return kRows[kRowCount - 1].edit == kTypeEdit;
}
static_assert(RowsInStateOrder(), "one row per edit state, in state order");

// Rows of each type group, top to bottom.
constexpr uint16_t kTri[] = {kMenuArbType, kMenuArbTriangle, kMenuArbArbNo};
constexpr uint16_t kStair[] = {kMenuArbType, kMenuArbStairs, kMenuArbArbNo};
constexpr uint16_t kClip[] = {kMenuArbType, kMenuArbClip, kMenuArbArbNo};
constexpr uint16_t kCf1[] = {kMenuArbType, kMenuArbCf1, kMenuArbArbNo};
constexpr uint16_t kCf2[] = {kMenuArbType, kMenuArbCf2, kMenuArbArbNo};
constexpr uint16_t kSurge[] = {kMenuArbType, kMenuArbSdMode, kMenuArbSdAcv, kMenuArbSdSite, kMenuArbArbNo};
constexpr uint16_t kStored[] = {kMenuArbType, kMenuArbArbNo};
constexpr uint16_t kRipple[] = {kMenuArbType, kMenuArbRippleTimes, kMenuArbRippleVdc, kMenuArbRippleLevel,
                                kMenuArbArbNo};
constexpr uint16_t kDip[] = {kMenuArbType, kMenuArbDipStart, kMenuArbDipSweep, kMenuArbDipEnd, kMenuArbArbNo};
constexpr uint16_t kLfRing[] = {kMenuArbType,           kMenuArbLfRingAcv,      kMenuArbLfRingAmp,
                                kMenuArbLfRingBaseFreq, kMenuArbLfRingRingFreq, kMenuArbLfRingDecay,
                                kMenuArbLfRingStart,    kMenuArbLfRingEnd,      kMenuArbLfRingRing,
                                kMenuArbArbNo};

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
            ParamRec rec{};
            paramGetRecord(kParamAcv, &rec, 0);
            *lo = rec.defaultMin;
            *hi = rec.defaultMax;
            return;
        }
    }
}

int32_t DigitsOf(const ParamRow& row) {
    if (row.range != Range::kAcvRecord) return row.digits;
    ParamRec rec{};
    paramGetRecord(kParamAcv, &rec, 0);
    return rec.digits;
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
