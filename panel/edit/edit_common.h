#pragma once
// What the field editors of the home screens share: the record of the field being edited (the line
// record in the LINE view), the keypad number in the field's units, and the limits a field is held to
// beyond those of its record.
#include <cstdint>

#include "core/params/param_rec.h"
#include "core/params/settings/setting_write.h"
#include "platform/stage/wiring_codes.h"

namespace panel::edit {

// The line voltages (ids 50 and 57) while the LINE view is shown: edited on unit L1, written to the phases.
bool IsLineEdit(uint32_t id);
bool EditAllPhases();
// Brings the field's limits up to the phases before a key reads them: the selected phase gets the tightest
// limits of the phases while all phases are edited together (settings::AlignAllPhaseLimits), a line edit's
// record the limits its phases give the line (UpdateLineValueFromPhases).
void AlignFieldLimits(uint32_t id);
// The record of a field as the editors see it: a line edit on unit L1, every other field on the given unit.
ParamRec ReadFieldRecord(uint32_t id, uint32_t unit);
// The field's bounds on the unit as the panel holds them (settings::MaxOf, MinOf) for the record read.
int32_t FieldMax(uint32_t id, const ParamRec& rec, uint32_t unit);
int32_t FieldMin(uint32_t id, const ParamRec& rec, uint32_t unit);
// Sets the field's value through the core's setting procedure, which also keeps the key's all-phase
// bookkeeping: a line edit writes the line value and the phases, every other field the given unit. held
// gets the phases that held the value back.
settings::SetResult SetField(uint32_t id, int32_t v, uint32_t unit, const settings::PanelSet& key,
                             settings::HeldBack* held = nullptr);
// The panel's message for the phases that held a value back.
void PostLimitMessage(const settings::HeldBack& held);
// The selected phase; the selected line (parameter 43), 0-2.
uint32_t EditPhase();
uint32_t EditLine();

// Keys of the home views and fields are refused while the meter is frozen: posts its message, true.
bool MeterFrozenRefused();
// A keypad number is being typed.
bool EntryPending();
// The typed number in the field's steps: rounded by half a hundredth away from zero, divided by the display
// scale and truncated; a scale of 0 or an out-of-range number gives the nearest end of the i32 range.
int32_t EntryInSteps(double entry, float scale);
// A value in 64 bits brought into the i32 range.
int32_t SaturateI32(int64_t v);

// The fields whose value keeps its resolution from 10000 up to 99999 (voltage limit, Vpk limits,
// frequency, frequency limits, Ipk limits: ids 8, 10, 11, 12, 16, 19, 24, 27).
bool IsFineId(uint32_t id);

}  // namespace panel::edit
