#pragma once
// Panel-channel commands that stand in for events of the simulated hardware:
//   restart   the power stage reports that it started again: the settings are saved as before a
//             restart (restart-pending bit, without a reboot)

// Registers them; before the panel channel starts.
void AddSimulationVerbs();
