#pragma once
// Entering the SEQUENCE and SIMULATE functions at power-on, as the panel key does.

void Seq_EnterModeAtPowerOn();
void Sim_EnterModeAtPowerOn();
