#pragma once
// The output impedance of one phase given to the other two: the panel's DEF key on an impedance row and
// the remote impedance commands for ALL phases.
#include <cstdint>

// Row states 195/197/199 copy that phase's inductance (parameter 196/198/200) to the other two
// inductances; 201/203/205 the resistance (202/204/206) likewise. Other states change nothing.
void CopyImpedanceToOtherPhases(uint32_t state);
