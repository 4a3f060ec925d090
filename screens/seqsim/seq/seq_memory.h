#pragma once
// The SEQ memories SEQ0-SEQ9 from the panel's lists, and the choice of the step tables a recall or an
// entry leaves in use.
#include <cstdint>

// Points every phase slice at the tables of the current range (one set for 100V, the other for 200V and
// AUTO), goes to step 0 and asks for a preparation, so that the next preparation passes download them.
void Seq_SelectBuffers();
// While the recall list is open: recalls the engine's SEQ recall slot with its output configuration;
// "Recalled from SEQ%d", or, for a memory whose values had to be limited, no message now (the preparation
// reports it); otherwise "Recall Fail!" and no preparation. Closes the list and raises the recall notice.
void Seq_RecallSlot();
// While the save list is open: saves the working tables to the SEQ save slot ("Saved to SEQ%d" or
// "Save Fail!"), closes the list and raises the save notice.
void Seq_SaveSlot();
