#pragma once
// Registers the key handlers of the SIMULATE selection states (440-464, 466) and of the state index's
// editor (491) in the key-handler table; 0, or -1 when the table refused them.
int Sim_RegisterSelectKeys();
