#include "screens/seqsim/seq/seq_mem_reload.h"

#include "engine/seqsim/seqsim_defaults.h"
#include "engine/seqsim/seqsim_mem_slots.h"
#include "storage/file_result.h"

int32_t SeqMem_ReloadAtStart(int32_t slot) {
    const int32_t r = SeqMem_Recall(0, slot);
    if (r > 0 || r == kFileBadRecord) return r;
    // Zero records would fail every run, store and step edit. The stored configuration of data that did not
    // load is not applied either: it would put wiring, range and unit 0 over the settings just restored.
    SeqMem_ResetToSlotDefaults(slot);
    return r;
}
