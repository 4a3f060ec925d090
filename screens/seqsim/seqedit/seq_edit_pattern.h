#pragma once
// The key handling every SEQUENCE step editor shares. An editor works on the edit words only (working
// value g_EditParam.workValue, reference value g_EditParam.startValue, digit cursor g_EditParam.cursor,
// the keypad entry of g_EditBuf); the enter key writes through the engine's setter, returns to the
// field's selection state (which reloads the stored value) and checks the register written; a value outside
// the field's limits is refused before the setter and nothing is written. An editor is
// one constexpr row of SeqEditRow; its handler passes the row, its phase and the key event to
// SeqEdit_Handle.
#include <cstdint>

// When the enter key writes the typed number instead of the working value.
enum class SeqTyped : uint8_t {
    kNever,             // the working value always (typed digits are dropped)
    kPending,           // whenever digits are typed
    kPendingUnchanged,  // digits typed and no soft key changed the working value since
};
// How a typed number x becomes the field's stored unit (each refused when it leaves 32 bits).
enum class SeqTypedConv : uint8_t {
    kWhole,       // trunc(x)
    kTenths,      // trunc((x + 0.05) x 10), 0.1 degree
    kHundredths,  // trunc((x +- 0.005) x 100) away from zero, 0.01 V and 0.01 Hz
    kTime,        // trunc((x + 0.00005) x 10000), 0.1 ms
    kOnOffPhase,  // kTenths, but whole degrees above 500.00 Hz while x x 10 is not above 3590
};
// What a soft key (1-4) puts into the working value.
enum class SeqSoft : uint8_t { kNone, kValue, kMax, kMin };
struct SeqSoftKey {
    SeqSoft what = SeqSoft::kNone;
    int32_t value = 0;
};

struct SeqEditRow {
    int32_t (*min)(int phase);
    int32_t (*max)(int phase);
    // Digit positions the cursor keys cycle through; 0: the cursor keys do nothing and the knob steps the
    // last digit.
    uint8_t digits;
    // The ON/OFF phase rule: above 500.00 Hz of the phase's Fset the upper limit is 3590, the knob steps
    // ten times as far and the cursor has one position less. The limit goes to g_EditParam.max.
    bool phaseBand;
    SeqSoftKey soft[4];
    bool softSetsReference;  // the soft keys change the reference value too
    SeqTyped typed;
    SeqTypedConv conv;
    // Writes the value through the engine's setter and returns what the step kept.
    int32_t (*write)(int32_t value, int phase);
    bool alsoL2In1P3W;                       // L1 also writes L2 while the wiring is 1P3W
    int32_t message;                         // numbered message when the setter refused the value; 0 none
    bool messageTypedOnly;                   // the message only for a typed number
    int (*verify)(int32_t step, int phase);  // read-back comparison, 1 on a mismatch
    void (*back)(int phase);                 // the field's selection-state entry
    bool exitAtOnce;                         // exit and SEQ keys leave at once, also with digits typed
};

// One key event for the editor of `row` at phase 0-2 (0 for a single field).
void SeqEdit_Handle(const SeqEditRow& row, int phase, uint32_t* ev);

// Parts of the pattern for editors with more to do.
// The exit key 'T' or the SEQ key 'M': true when the event is one of them, after cancelling typed digits
// (the state stays) or, with none or atOnce, returning through back.
bool SeqEdit_ExitKey(uint32_t ev, void (*back)(int), int phase, bool atOnce);
// The typed number converted; false when the scaled value does not fit in 32 bits (refused).
bool SeqEdit_TypedToUnit(double x, SeqTypedConv conv, bool above500Hz, int32_t* out);
// The end of every write: back to the selection state, then the read-back check of the current step
// (a mismatch reports "SEQ Err.(%d, %d)" and clears the counters; a clean write on step 0 strobes).
void SeqEdit_BackAndCheck(void (*back)(int), int phase, int (*verify)(int32_t, int));
// True while the field's phase runs above 500.00 Hz.
bool SeqEdit_Above500Hz(int phase);
