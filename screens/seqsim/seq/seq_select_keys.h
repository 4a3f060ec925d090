#pragma once
// The keys of the SEQUENCE field selection states, of the step index and its editor, and their place in
// the key-handler table.
#include <cstdint>

// Every selection state but the step index: enter opens the field's editor, shortcut, soft and function
// keys go to the shared SEQUENCE keys (the phase angles' soft keys only once the screen is ready), the
// cursor keys change the step, the knob moves to the next or previous field shown.
void menuSeqSelectField(uint32_t* ev);
// State 333: while a preparation is under way every key only shows its held popup; during a run the
// keypad, the cursor keys and the knob do nothing; soft keys only once the screen is ready.
void menuSeqSetStepIndex(uint32_t* ev);
// State 334: the step number edited over three digits; the knob moves the current step along (not
// during a run), enter selects the typed or edited step, exit puts back the step shown before.
void menuSeqEditStepIndex(uint32_t* ev);
// The cursor keys of the selection states: 'W' one step on, 'V' one back (0-999, no wrap; nothing during
// a run). On step 0 the fields step 0 lacks give way to the step index; a field hidden by its enable or
// by the wave gives way to that enable or wave.
void Seq_StepKeys(uint8_t code, int phase);
// Puts the handlers of the selection states, 333 and 334 into the key-handler table; 0, or -1 when the
// table refused them.
int SeqSelect_RegisterKeys();
