#pragma once
// The measurement snapshot that FETCh queries read: MEASure queries on any channel take it, so it is
// copied and read under one lock.
#include <cstdint>
#include <mutex>

#include "core/control/measure/harmonics.h"

namespace scpi {
inline constexpr uint32_t kMeasScalars = 27;  // the FETCh/MEASure quantities in command order
inline constexpr uint32_t kHarmLists = 4;     // current rms, current ratio, voltage rms, voltage ratio
inline constexpr uint32_t kHarmValues = kHarmOrders + 1;
}  // namespace scpi

struct MeasSnapshot {
    std::mutex lock;
    bool valid = false;
    float scalar[scpi::kMeasScalars][3];  // [quantity][line]
    float harm[scpi::kHarmLists][3][scpi::kHarmValues];
};
extern MeasSnapshot g_MeasSnapshot;

// Copies the live readings of every line and the totals into g_MeasSnapshot and marks it valid.
void MeasTakeSnapshot();

// Query handlers of the measurement commands. `quantity` 0-26 in the order of the FETCh and MEASure
// commands (crest factor ... voltage low), `list` 0-3 (current rms, current ratio, voltage rms, voltage
// ratio).
struct ScpiInterface;
int scpiFetchQuery(ScpiInterface* ifc, uint32_t quantity);
int scpiMeasureQuery(ScpiInterface* ifc, uint32_t quantity);
// Harmonic list of the snapshot (fromSnapshot) or live; parameter: group 0-5, MINimum 1, MAXimum 5.
int scpiHarmonicList(ScpiInterface* ifc, uint32_t list, bool fromSnapshot);

namespace scpi {
// The live value of a quantity on a line (phase 0-2; line-to-line for the line voltages).
float LiveScalar(uint32_t quantity, int line);
// No valid snapshot, as at start (tests).
// Tests start each case from a clean state through it.
void MeasSnapshotReset();
}  // namespace scpi
