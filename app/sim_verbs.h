#pragma once
// Panel-channel commands that stand in for events of the simulated hardware:
//   restart   the power stage reports that it started again: the settings are saved as before a
//             restart (restart-pending bit, without a reboot)
//   reg N     prints "reg N = V": the value the simulated stage took for register N at its last apply
//             strobe (the output switch: when written), decoded as the stage reads it (volts, hertz, a number)

// Registers them; before the panel channel starts.
void AddSimulationVerbs();
