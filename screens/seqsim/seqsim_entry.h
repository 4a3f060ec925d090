#pragma once
// Entering the SEQUENCE and SIMULATE functions at power-on, as the panel key does; SEQ then switches the
// output on when its preparation ends.

void Seq_EnterModeAtPowerOn();
void Sim_EnterModeAtPowerOn();
