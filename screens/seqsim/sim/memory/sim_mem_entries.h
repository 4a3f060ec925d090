#pragma once
// Entering the SIMULATE memory lists and the wiring dialogs of a recall.

// The list with its slot (the SIM recall or save slot) as edit and saved value.
void Enter_menuSimulationRecallMemory();
void Enter_menuSimulationSaveMemory();
// The wiring dialog; the caller sets g_DialogChoice (1 ENTER, 0 CANCEL) first.
void Enter_menuSimulationOutputPhase();
// Its confirmation, NO (1) chosen.
void Enter_menuSimulationOutputPhase_Check();
