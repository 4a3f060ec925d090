#pragma once
// Setting an output setting: the one procedure the remote handler and the panel's field editors (knob,
// keypad enter, soft keys) call. It holds the value to the setting's bounds on every phase it writes before
// it writes the first, writes the records, runs the checks that follow a changed value and marks the group
// of an all-phase edit (a remote set when no phase of the wiring holds the value back, a panel key by its
// own rule). It tells which phases held a value back; the caller turns a refusal into its own answer (a
// SCPI error, the panel's limit message).
#include <cstdint>

#include "core/params/param_rec.h"

namespace settings {

// Who sets: a remote command or the panel's field editor. Their bounds differ where the panel's field shows
// more than the phase's value (the line view's ceiling, the service override, whole degrees).
enum class Origin : uint8_t { kRemote, kPanel };

enum class SetResult : uint8_t {
    kWritten,      // stored on every phase asked
    kOutOfBounds,  // a phase refused the value: nothing stored
    kHeldBack,  // the panel's keypad, all phases edited together in 3P4W: a phase holds it back, none stored
    kKept,      // the panel's key left the value as it was: nothing stored, the bookkeeping done
};

// The phases that held a value back: bit p for phase p (L1 1, L2 2, L3 4).
struct HeldBack {
    bool held = false;
    uint32_t phases = 0;
};

// The panel key that sets a value. While all phases are edited together each tests the phases and marks the
// all-phase group (MarkAllPhaseEdit) its own way; the control task then applies the selected phase's setting
// to every phase of the wiring.
enum class PanelKey : uint8_t {
    kKnob,     // tested with the value the step aims at; the group marked whatever the phases say
    kEnter,    // tested with the value; held back in 3P4W when a phase holds it back; marked when no phase
               // does and the phases differ
    kMax,      // MAX/MIN: a 3P4W voltage whose tightest limit is one phase's is reported held back (and
    kMin,      // still set); otherwise the group is marked (not the ON/OFF enable)
    kDefault,  // DEF1/DEF2: the group marked (not the ON/OFF enable), set or refused
};

struct PanelSet {
    PanelKey key;
    int32_t probe = 0;  // knob and enter: the value the phases are tested with (0: the selected phase's own)
    bool store = true;  // false: the key leaves the value as it is, its bookkeeping is still done
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
// line record keeps the value as set. A remote duty is rounded to its band's step first. held, when given,
// gets the phases whose bounds refuse the value.
SetResult SetSetting(uint32_t id, int phase, int32_t v, Origin who, bool allPhases = false,
                     HeldBack* held = nullptr);
// The panel's set of id to v on the phase by a key: while all phases are edited together, first the key's
// test of the phases (held gets the phases that hold the value back, the panel's limit message) and its
// all-phase mark, then the set.
SetResult SetSetting(uint32_t id, int phase, int32_t v, const PanelSet& key, HeldBack* held = nullptr);
// The panel's ON/OFF enable of an angle field (ids 64-71) toggled on the phase; while all phases are edited
// together the enable group is marked.
void ToggleAngleEnable(uint32_t id, int phase);

// While all phases are edited together, an AC voltage (47-49) or the first DC voltage (51) of the selected
// phase takes the tightest limits of the three phases, and the phases they came from are kept for the MAX
// and MIN keys. The panel's field editors call it before they read the field's bounds.
void AlignAllPhaseLimits(uint32_t id);

// The group of an all-phase edit of id and the ON/OFF enable group of an angle field: the control task
// then applies the selected phase's setting to every phase of the wiring.
void MarkAllPhaseEdit(uint32_t id);

}  // namespace settings
