#pragma once
// What the working SEQ and SIM tables hold when no memory is loaded into them.
#include <cstdint>

// Every step of every table, phases L1-L3, becomes the default step; for slots 6-9 the AC+DC tables (both
// ranges) start with the slot's template program. The saved configuration goes to its defaults. Another
// slot gets the default steps only.
void SeqMem_ResetToSlotDefaults(int32_t slot);
// States 0-5 of both SIM sets, all four copies, become the default state; the SIM saved configuration is
// cleared. Nothing is written to a file.
void Sim_LoadDefaultSteps();
