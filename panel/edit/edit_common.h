#pragma once
// What the field editors of the home screens share: the record of the field being edited (the line
// record in the LINE view), the keypad number in the field's units, and the limits a field is held to
// beyond those of its record.
#include <cstdint>

#include "core/params/param_rec.h"
#include "platform/stage/wiring_codes.h"

namespace panel::edit {

inline constexpr uint8_t kKnobCode = 0xD5;

// The line voltages (ids 50 and 57) while the LINE view is shown: edited on unit L1, written to the phases.
bool IsLineEdit(uint32_t id);
bool EditAllPhases();
// The record of a field as the editors see it: a line edit on unit L1 with its limits brought up to the
// phases first, every other field on the given unit.
ParamRec ReadFieldRecord(uint32_t id, uint32_t unit);
// Stores rec.value: a line edit also sets the phases from it; every other field goes to the given unit.
void WriteFieldRecord(uint32_t id, ParamRec* rec, uint32_t unit);
// The selected phase; the selected line (parameter 43), 0-2.
uint32_t EditPhase();
uint32_t EditLine();

// While all phases are edited together, an AC voltage (47-49) or the first DC voltage (51) takes the
// tightest limits of the three phases and the limiting phases are kept for the limit message. Then the
// record is read again.
void AlignAllPhaseLimits(uint32_t id, ParamRec* rec, uint32_t unit);

// Keys of the home views and fields are refused while the meter is frozen: posts its message, true.
bool MeterFrozenRefused();
// A keypad number is being typed.
bool EntryPending();
// The typed number in the field's steps: rounded by half a hundredth away from zero, divided by the display
// scale and truncated; a scale of 0 or an out-of-range number gives the nearest end of the i32 range.
int32_t EntryInSteps(double entry, float scale);
// A value in 64 bits brought into the i32 range.
int32_t SaturateI32(int64_t v);

// The maximum an AC voltage field (47-50) is held to: in Vpp units the peak-to-peak ceiling when its
// record allows more, unless the service override lifts it. Other ids keep max.
int32_t AcvCeiling(uint32_t id, int32_t max);
bool IsPhaseAngleId(uint32_t id);  // 64-71 and 89
// The largest phase angle: 359.0 degrees shown with one decimal, 359 whole degrees with none.
int32_t PhaseAngleMax(int32_t decimals);
// The fields whose value keeps its resolution from 10000 up to 99999 (voltage limit, Vpk limits,
// frequency, frequency limits, Ipk limits: ids 8, 10, 11, 12, 16, 19, 24, 27).
bool IsFineId(uint32_t id);

}  // namespace panel::edit
