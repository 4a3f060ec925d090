#pragma once
// Setting an output setting: the one procedure the remote handler and the panel's field editors (knob,
// keypad enter, soft keys) call. It holds the value to the setting's bounds on every phase it writes before
// it writes the first, writes the records, runs the checks that follow a changed value and, for a remote
// set, marks the group of an all-phase edit. The caller turns a refusal into its own answer (a SCPI error,
// the panel's limit message).
#include <cstdint>

#include "core/params/param_rec.h"

namespace settings {

// Who sets: a remote command or the panel's field editor. Their bounds differ where the panel's field shows
// more than the phase's value (the line view's ceiling, the service override, whole degrees), and the
// panel marks the all-phase group itself before it tells which phase held a value back.
enum class Origin : uint8_t { kRemote, kPanel };

enum class SetResult : uint8_t {
    kWritten,      // stored on every phase asked
    kOutOfBounds,  // a phase refused the value: nothing stored
};

// A setting of the LINE unit (the line AC and DC voltages), held as one value that its phases are made of.
bool IsLineSetting(uint32_t id);

// The bounds of id's value on the phase for the holder, from the phase's record rec: the record's own
// limits, the AC voltage's ceiling, the duty's band (the panel's by the digits the record shows, the
// remote's by the phase's frequency, above 100.00 Hz only) and the panel's whole-degree angle cap.
int32_t MaxOf(uint32_t id, int phase, const ParamRec& rec, Origin who);
int32_t MinOf(uint32_t id, int phase, const ParamRec& rec, Origin who);
bool Fits(uint32_t id, int phase, int32_t v, Origin who);

// Sets id to v on the phase, or on L1-L3 with allPhases (the remote's edit-all). A line value (ids 50 and
// 57) is checked against the line record, whose limits follow the phases, and written to the phases; the
// line record keeps the value as set. A remote duty is rounded to its band's step first.
SetResult SetSetting(uint32_t id, int phase, int32_t v, Origin who, bool allPhases = false);

// The group of an all-phase edit of id and the ON/OFF enable group of an angle field: the control task
// then applies the selected phase's setting to every phase of the wiring.
void MarkAllPhaseEdit(uint32_t id);

}  // namespace settings
