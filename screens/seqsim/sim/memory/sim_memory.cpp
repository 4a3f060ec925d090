#include "screens/seqsim/sim/memory/sim_memory.h"

#include "core/params/access/param_access.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/seqsim_slots.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_defaults.h"
#include "engine/seqsim/seqsim_mem_slots.h"
#include "engine/seqsim/seqsim_mode.h"
#include "storage/file_result.h"

namespace {

SeqSimBlock& L1() {
    return g_SeqSimBlock[0];
}

void ClearPageBit(uint8_t bit) {
    L1().panelFlags.fetch_and(static_cast<uint8_t>(~bit), std::memory_order_acq_rel);
}

// The popup's formatter takes %d alone, so the slot is passed to it rather than printed here.
void Notify(const char* format, uint32_t slot, uint8_t notice) {
    ShowMessage(2, format, static_cast<int>(slot));
    L1().notices.fetch_or(notice, std::memory_order_acq_rel);
}

}  // namespace

int32_t Sim_SelectBuffers() {
    SeqSimSelectTables();
    return static_cast<int32_t>(GetVoltRange());
}

void Sim_RecallSlot() {
    if ((L1().panelFlags.load(std::memory_order_acquire) & kSeqPanelRecallOpen) == 0) return;
    const uint32_t slot = SeqSimGetRecallSlot();
    const int32_t r = SimMem_Recall(1, static_cast<int32_t>(slot));
    ClearPageBit(kSeqPanelRecallOpen);
    const char* text = "Recall Fail!";
    if (r >= 1) {
        text = "Recalled from SIM%d";
        Sim_SelectBuffers();
        g_SeqSimSlots.sim = static_cast<uint16_t>(slot);
        SimPrepRequest.store(1, std::memory_order_release);
    } else if (r == kFileBadRecord) {
        Sim_SelectBuffers();
        text = "SIM%d Data Out of Range!\n Set To Limited.";
        g_SeqSimErrors.simInvalid.store(1, std::memory_order_release);
        SimPrepRequest.store(1, std::memory_order_release);
    }
    Notify(text, slot, kSeqNoticeRecalled);
}

void Sim_SaveSlot() {
    if ((L1().panelFlags.load(std::memory_order_acquire) & kSeqPanelSaveOpen) == 0) return;
    const uint32_t slot = SeqSimGetSaveSlot();
    const char* text = "Save Fail!";
    if (SimMem_Save(static_cast<int32_t>(slot)) >= 1) {
        text = "Saved to SIM%d";
        g_SeqSimSlots.sim = static_cast<uint16_t>(slot);
    }
    ClearPageBit(kSeqPanelSaveOpen);
    Notify(text, slot, kSeqNoticeSaved);
}

void Sim_LoadLastOrDefault(uint16_t memory) {
    if (SimMem_Recall(0, memory) < 1) Sim_LoadDefaultSteps();
}
