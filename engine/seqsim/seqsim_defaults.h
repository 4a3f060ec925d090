#pragma once
// What the SEQ and SIM memories hold when nothing was stored in them: the default step, the template
// programs of SEQ6-SEQ9 and the default SIM state.
#include <cstdint>
#include <vector>

#include "engine/seqsim/seqsim_data.h"

// The record of every step a memory's program does not set; the record of every SIM state.
extern const SeqStepRecord kSeqDefaultStep;
extern const SimStepRecord kSimDefaultState;
// The template program of SEQ6-SEQ9 (the first steps of the AC+DC tables of both ranges, every phase);
// empty for any other slot.
const std::vector<SeqStepRecord>& SeqSlotTemplate(int32_t slot);

// Every step of every table, phases L1-L3, becomes the default step; for slots 6-9 the AC+DC tables (both
// ranges) start with the slot's template program. The saved configuration goes to its defaults. Another
// slot gets the default steps only.
void SeqMem_ResetToSlotDefaults(int32_t slot);
// States 0-5 of both SIM sets, all four copies, become the default state; the SIM saved configuration is
// cleared. Nothing is written to a file.
void Sim_LoadDefaultSteps();
