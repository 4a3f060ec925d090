// Default rows of the current limits: per model type one row for each voltage class, in amperes as the
// model sheets give them (max / min), held as 0.01 A.
#include "core/params/defaults/param_default_rows.h"
#include "core/system/config/model_table.h"

namespace core {
namespace {

struct Limit {
    double max;
    double min;
};
struct ModelCurrents {
    int modelType;
    // Irms 3P 100 V, 3P 200 V, 1P2W 100 V, 1P2W 200 V; then Ipk in the same order.
    Limit limits[8];
};

// clang-format off
constexpr ModelCurrents kModelCurrents[kCurrModelClasses] = {
    {1, {{15.75, 0.75}, {7.88, 0.38}, {47.25, 2.25}, {23.63, 1.13}, {63.00, 30.00}, {31.50, 15.00}, {189.00, 90.00}, {94.50, 45.00}}},  // VRN-4145
    {2, {{21.00, 1.00}, {10.50, 0.50}, {63.00, 3.00}, {31.50, 1.50}, {84.00, 40.00}, {42.00, 20.00}, {252.00, 120.00}, {126.00, 60.00}}},  // VRN-4160
    {3, {{31.50, 1.50}, {15.76, 0.76}, {94.50, 4.50}, {47.26, 2.26}, {126.00, 60.00}, {63.00, 30.00}, {378.00, 180.00}, {189.00, 90.00}}},  // VRN-4145-09
    {4, {{47.25, 2.25}, {23.64, 1.14}, {141.75, 6.75}, {70.89, 3.39}, {189.00, 90.00}, {94.50, 45.00}, {567.00, 270.00}, {283.50, 135.00}}},  // VRN-4145-13.5
    {5, {{78.75, 3.75}, {39.40, 1.90}, {236.25, 11.25}, {118.15, 5.65}, {315.00, 150.00}, {157.50, 75.00}, {945.00, 450.00}, {472.50, 225.00}}},  // VRN-4145-22.5
    {6, {{94.50, 4.50}, {47.28, 2.28}, {283.50, 13.50}, {141.78, 6.78}, {378.00, 180.00}, {189.00, 90.00}, {1134.00, 540.00}, {567.00, 270.00}}},  // VRN-4145-27
    {7, {{42.00, 2.00}, {21.00, 1.00}, {126.00, 6.00}, {63.00, 3.00}, {168.00, 80.00}, {84.00, 40.00}, {504.00, 240.00}, {252.00, 120.00}}},  // VRN-4160-12
    {8, {{63.00, 3.00}, {31.50, 1.50}, {189.00, 9.00}, {94.50, 4.50}, {252.00, 120.00}, {126.00, 60.00}, {756.00, 360.00}, {378.00, 180.00}}},  // VRN-4160-18
    {9, {{84.00, 4.00}, {42.00, 2.00}, {252.00, 12.00}, {126.00, 6.00}, {336.00, 160.00}, {168.00, 80.00}, {1008.00, 480.00}, {504.00, 240.00}}},  // VRN-4160-24
    {10, {{105.00, 5.00}, {52.50, 2.50}, {315.00, 15.00}, {157.50, 7.50}, {420.00, 200.00}, {210.00, 100.00}, {1260.00, 600.00}, {630.00, 300.00}}},  // VRN-4160-30
    {11, {{126.00, 6.00}, {63.00, 3.00}, {378.00, 18.00}, {189.00, 9.00}, {504.00, 240.00}, {252.00, 120.00}, {1512.00, 720.00}, {756.00, 360.00}}},  // VRN-4160-36
};
// clang-format on

constexpr bool RowsInModelOrder() {
    for (uint32_t i = 0; i < kCurrModelClasses; ++i) {
        if (kModelCurrents[i].modelType != static_cast<int>(i + 1)) return false;
    }
    return true;
}
static_assert(RowsInModelOrder(), "one row per model type 1..11, in order");

constexpr int32_t Centi(double amperes) {
    return static_cast<int32_t>(amperes * 100.0 + 0.5);
}

// The model table's columns against the model sheets: every current of a model is its number of units times
// that of its family's single unit (model types 1 and 2); model types 1-3 have calibration groups of their
// own, the larger systems that of their family's single unit. Row 0 is no model.
constexpr bool ModelColumnsFitTheCurrents() {
    const ModelRow& none = g_ModelTable[0];
    if (kModelTypes != kCurrModelClasses + 1) return false;
    if (none.index != 0 || none.family != kFamilyNone || none.units != 0) return false;
    for (uint32_t i = 0; i < kCurrModelClasses; ++i) {
        const ModelRow& row = g_ModelTable[i + 1];
        if (row.index != i + 1 || (row.family != kFamily4k5 && row.family != kFamily6k)) return false;
        const ModelRow& unitRow = g_ModelTable[row.family];
        if (unitRow.units != 1 || row.units < 1 || row.vaRating != unitRow.vaRating) return false;
        const ModelCurrents &own = kModelCurrents[i], &unit = kModelCurrents[row.family - 1];
        for (uint32_t k = 0; k < 8; ++k) {
            const int32_t units = static_cast<int32_t>(row.units);
            if (Centi(own.limits[k].max) != units * Centi(unit.limits[k].max)) return false;
            if (Centi(own.limits[k].min) != units * Centi(unit.limits[k].min)) return false;
        }
        if (row.caliCurrGroup != (i < kCaliCurrGroups ? i : unitRow.caliCurrGroup)) return false;
    }
    return true;
}
static_assert(ModelColumnsFitTheCurrents(), "family, units and calibration group of each model type");

enum Kind { kIrms, kIpkMax, kIpkMin };

constexpr ParamDefaultRow CurrRowOf(const ModelCurrents& m, uint32_t cls, Kind kind) {
    if (kind == kIrms) {
        const Limit& l = m.limits[cls];
        return {Centi(l.max), Centi(l.max), Centi(l.min), 0.01f, kUnitAmp, 2, 4};
    }
    const Limit& l = m.limits[4 + cls];
    // 100 V classes (0 and 2) edit with five digits, 200 V classes with four.
    const int16_t digits = (cls % 2 == 0) ? 5 : 4;
    if (kind == kIpkMax) return {Centi(l.max), Centi(l.max), Centi(l.min), 0.01f, kUnitAmp, 2, digits};
    // The lower limit mirrors the upper one.
    return {-Centi(l.max), -Centi(l.min), -Centi(l.max), 0.01f, kUnitAmp, 2, digits};
}

using CurrRows = std::array<ParamDefaultRow, kCurrModelClasses * 4>;

constexpr CurrRows MakeRows(Kind kind) {
    CurrRows t{};
    for (uint32_t m = 0; m < kCurrModelClasses; ++m) {
        for (uint32_t cls = 0; cls < 4; ++cls)
            t[m * 4 + cls] = CurrRowOf(kModelCurrents[m], cls, kind);
    }
    return t;
}

}  // namespace

constexpr CurrRows kIrmsRows = MakeRows(kIrms);
constexpr CurrRows kIpkMaxRows = MakeRows(kIpkMax);
constexpr CurrRows kIpkMinRows = MakeRows(kIpkMin);

}  // namespace core
