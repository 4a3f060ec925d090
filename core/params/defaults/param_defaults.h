#pragma once
// The constant default tables from which the parameter store is built.
#include <cstdint>

#include "core/params/param_rec.h"

namespace core {

inline constexpr char kUnitNone[] = "";
inline constexpr char kUnitVrms[] = "Vrms";
inline constexpr char kUnitVpp[] = "Vpp";
inline constexpr char kUnitVolt[] = "V";
inline constexpr char kUnitVdc[] = "Vdc";
inline constexpr char kUnitAmp[] = "A";
inline constexpr char kUnitHz[] = "Hz";
inline constexpr char kUnitDegree[] = "\xB0";

struct ParamTable {
    const ParamDefaultRow* rows;
    uint32_t count;
};

// The tables that depend on the voltage class or the model, in the order of the table set.
enum ParamTableId : uint32_t {
    kTabAcv,        // rows VoltRow(set, area)
    kTabVoltLimit,  // rows VoltRow(set, area)
    kTabDcv,        // rows by area (both record sets)
    kTabVpkMax,     // rows by area
    kTabVpkMin,     // rows by area
    kTabGain,       // rows by area
    kTabIrms,       // rows CurrRow(model class, variant)
    kTabIpkMax,     // rows CurrRow(model class, variant)
    kTabIpkMin,     // rows CurrRow(model class, variant)
    kTabCaliVolt,   // six voltage calibration points
    kTabCaliCurr,   // three groups of six current calibration points
    kTabCount
};
using ParamTableSet = ParamTable[kTabCount];

// The one table set.
extern const ParamTableSet kParamDefaultTables;

// Row of a voltage table with an rms and a Vpp set: area 0 is the 100 V class, every other area the 200 V
// one.
constexpr uint32_t VoltRow(uint32_t set, uint32_t area) {
    return (set ? 2 : 0) + (area ? 1 : 0);
}
// Row of a current table: four voltage classes per model (3P 100 V, 3P 200 V, 1P2W 100 V, 1P2W 200 V);
// the AUTO variants 4-7 reuse the model's rows 0-3.
constexpr uint32_t CurrRow(uint32_t modelClass, uint32_t variant) {
    return modelClass * 4 + variant % 4;
}

inline constexpr uint32_t kCurrModelClasses = 11;  // model types 1..11
inline constexpr uint32_t kCaliCurrGroups = 3;

// Frequency records: rows kFreqValue + frequency class, and so on; one set for the single units (model
// types 1, 2), one for the parallel systems (3-11).
enum FreqRow : uint32_t { kFreqValue = 0, kFreqHi = 2, kFreqLo = 4, kFreqRowCount = 6 };
extern const ParamDefaultRow kFreqRowsSingle[kFreqRowCount];
extern const ParamDefaultRow kFreqRowsParallel[kFreqRowCount];

// ON/OFF phase, phase angles L1-L3, synchronisation phase, signal selection and source.
extern const ParamDefaultRow kOnOffPhaseRow;
extern const ParamDefaultRow kPhaseAngleRows[3];
extern const ParamDefaultRow kSyncPhaseRow;
extern const ParamDefaultRow kSigRow;
extern const ParamDefaultRow kSrcRow;

// Measurement-view items (ids 38-44), four groups of seven by output mode.
inline constexpr uint32_t kMeasGroups = 4;
extern const ParamDefaultRow kMeasRows[kMeasGroups * 7];
uint32_t MeasGroupOfMode(uint32_t mode);

// Miscellaneous settings, in table order; each row names the first id of the records it builds.
struct MiscRow {
    uint32_t id;
    ParamDefaultRow row;
};
inline constexpr uint32_t kMiscRowCount = 24;
extern const MiscRow kMiscRows[kMiscRowCount];
inline constexpr uint32_t kImpedanceRowCount = 7;
extern const MiscRow kImpedanceRows[kImpedanceRowCount];
// Parallel position, unit count, and the parallel enable row for model types 1-2 and for the others.
extern const MiscRow kParallelRows[4];

}  // namespace core
