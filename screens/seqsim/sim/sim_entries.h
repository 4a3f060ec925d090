#pragma once
// Entering the SIMULATE screen's field states. Each entry makes its state current, ends any keypad entry,
// puts the digit cursor on 0, loads the field's value of the current state into the edit value and the
// saved value (for an edit state's editor and for the old-value rules of the ACV and frequency editors),
// and asks the screen to repaint the field values. Per-phase entries take the phase 0-2 (L1-L3).
#include "screens/seqsim/sim/sim_fields.h"

// The field cursor's home: also stores its state number as the panel state of the engine.
void Enter_menuSimulationStep();
void Enter_menuSimulationTime();
void Enter_menuSimulationSyncCode();
void Enter_menuSimulationEnRepeat();
void Enter_menuSimulationRepeat();
void Enter_menuSimulationWave();
void Enter_menuSimulationAcv(int phase);
void Enter_menuSimulationFreq(int phase);
void Enter_menuSimulationEnOnpha(int phase);
void Enter_menuSimulationOnpha(int phase);
void Enter_menuSimulationEnOffpha(int phase);
void Enter_menuSimulationOffpha(int phase);
void Enter_menuSimBalance_L2();
void Enter_menuSimBalance_L3();

void Enter_menuEditSimulationStep();
// Tests open the SIMULATE field editors through these.
void Enter_menuEditSimulationTime();
void Enter_menuEditSimulationSyncCode();
void Enter_menuEditSimulationRepeat();
void Enter_menuEditSimulationWave();
void Enter_menuEditSimulationACV(int phase);
void Enter_menuEditSimulationFreq(int phase);
void Enter_menuEditSimulationEnOnpha(int phase);
void Enter_menuEditSimulationOffpha(int phase);
void Enter_menuSimEditBalance_L2();

// The selection or edit state of a field row and phase, entered as its named entry does (a phase outside
// the row's phases is taken as L1).
void SimEnterSelect(const SimFieldRow& row, int phase);
void SimEnterEdit(const SimFieldRow& row, int phase);
// The entry of a selection state by its number; false (nothing entered) for a state that is none.
bool SimEnterSelectState(uint32_t state);
