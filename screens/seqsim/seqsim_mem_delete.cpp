#include "screens/seqsim/seqsim_mem_delete.h"

#include "engine/seqsim/seqsim_defaults.h"
#include "engine/seqsim/seqsim_file.h"
#include "engine/seqsim/seqsim_mem_slots.h"

int32_t SeqMem_DeleteItem(int32_t slot) {
    if (SeqFileRemove(slot) < 0) return -1;
    SeqMem_ResetToSlotDefaults(slot);
    return SeqSaveFile(slot, 1);
}

int32_t SimMem_DeleteItem(int32_t slot) {
    if (SimFileRemove(slot) < 0) return -1;
    Sim_LoadDefaultSteps();
    return SimSaveFile(slot);
}
