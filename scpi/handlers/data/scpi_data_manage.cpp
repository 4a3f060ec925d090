// DATA memory management: clear, name, recall and store the SEQ and SIM memories, clear presets and
// waveforms. They act on the memories as the panel's memory keys do and show the same popups.
#include <cstdio>
#include <cstring>
#include <string>

#include "core/control/hooks/screen_request.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/seqsim_slots.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mem_slots.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/seqsim/seqsim_names.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/data/data_manage_slot.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/parser/scpi_errors.h"
#include "storage/file_result.h"
#include "storage/files/memory_data.h"

namespace scpi {
namespace {

constexpr size_t kNameMax = 20;

const char* Tag(uint32_t memory) {
    return memory == kSeqSimSeq ? "SEQ" : "SIM";
}

// The refusal before any parameter is looked at (wrong mode), else the slot's error row; 0 and the slot.
uint32_t SeqSimSlot(ScpiInterface* ifc, uint32_t memory, int32_t* slot, bool* byChoice = nullptr) {
    if (SeqSimGetMode() != memory) return kScpiErrSystem;
    return DataSlot(ifc, 0, kSeqSimSlots, slot, byChoice);
}

int Fail(ScpiInterface* ifc, uint32_t row) {
    scpiSetError(ifc, row);
    return 0;
}

int Clear(ScpiInterface* ifc, uint32_t memory) {
    if (scpiIsQuery(ifc) != 0) return scpiRefuseHeader(ifc);
    int32_t slot = 0;
    if (const uint32_t row = SeqSimSlot(ifc, memory, &slot); row != 0) return Fail(ifc, row);
    if (memory == kSeqSimSeq)
        SeqMem_Clear(slot);
    else
        SimMem_Clear(slot);
    // The popup's formatter knows %d only.
    ShowMessage(2, memory == kSeqSimSeq ? "Cleared SEQ%d" : "Cleared SIM%d", static_cast<int>(slot));
    return 0;
}

// The name as one SCPI string: a '"' inside is doubled so the reply stays a single string.
std::string Quoted(const std::string& name) {
    std::string out = "\"";
    for (const char ch : name) {
        out += ch;
        if (ch == '"') out += '"';
    }
    out += '"';
    return out;
}

int Name(ScpiInterface* ifc, uint32_t memory) {
    int32_t slot = 0;
    if (const uint32_t row = SeqSimSlot(ifc, memory, &slot); row != 0) return Fail(ifc, row);
    if (scpiIsQuery(ifc) != 0) {
        const std::string name = memory == kSeqSimSeq ? SeqGetMemName(slot) : SimGetMemName(slot);
        return WriteTextReply(ifc, Quoted(name).c_str());
    }
    // The SIM name store takes memories 1-9 only.
    if (memory == kSeqSimSim && slot == 0) return Fail(ifc, kScpiErrParameter);
    const char* text = nullptr;
    const int item = scpiGetString(ifc, 1, &text);
    // The item holds the text and its terminator.
    const size_t length = item > 0 ? strnlen(text, static_cast<size_t>(item)) : 0;
    // A longer name would be cut short silently: refuse it instead.
    if (length < 1 || length > kNameMax) return Fail(ifc, kScpiErrParameter);
    char name[kNameMax + 1] = {};
    std::memcpy(name, text, length);
    const int stored = memory == kSeqSimSeq ? SeqSetMemName(name, slot) : SimSetMemName(name, slot);
    return stored != 0 ? Fail(ifc, kScpiErrParameter) : 0;
}

int Recall(ScpiInterface* ifc, uint32_t memory) {
    if (scpiIsQuery(ifc) != 0) return scpiRefuseHeader(ifc);
    int32_t slot = 0;
    if (const uint32_t row = SeqSimSlot(ifc, memory, &slot); row != 0) return Fail(ifc, row);
    const uint32_t n = static_cast<uint32_t>(slot);
    SeqSimSetRecallSlot(n);
    const int32_t r = memory == kSeqSimSeq ? SeqMem_Recall(1, slot) : SimMem_Recall(1, slot);
    char text[64] = "Recall Fail!";
    if (r >= 1 || (memory == kSeqSimSeq && r == kFileBadRecord)) {
        // SEQUENCE downloads what was recalled; without its screen the tables are only selected.
        if (memory == kSeqSimSim)
            ScreenRequest_Ask(ScreenRequest::kSimSelectBuffers);
        else if (!SeqIsActiveMode() || !ScreenRequest_Ask(ScreenRequest::kSeqSelectBuffers))
            SeqSimSelectTables();
        if (memory == kSeqSimSeq)
            g_SeqSimSlots.seq = static_cast<uint16_t>(n);
        else
            g_SeqSimSlots.sim = static_cast<uint16_t>(n);
    }
    if (r >= 1) {
        if (memory == kSeqSimSeq) SeqSimClearDirty();
        std::snprintf(text, sizeof text, "Recalled from %s%d", Tag(memory), static_cast<int>(slot));
    } else if (r == kFileBadRecord) {
        // SEQ: the screen's out-of-range notice stands for the popup.
        if (memory == kSeqSimSeq) {
            g_SeqSimErrors.seqInvalid.store(1, std::memory_order_release);
            text[0] = '\0';
        } else {
            std::snprintf(text, sizeof text, "SIM%d Data Out of Range!\n Set To Limited.",
                          static_cast<int>(slot));
        }
    }
    if (text[0] != '\0') ShowMessage(2, text);
    SeqSimSetRecallSlot(n);
    // The SIMULATE screen downloads what was recalled on the menu thread's next pass, its field cursor on
    // the state index.
    if (memory == kSeqSimSim && (r >= 1 || r == kFileBadRecord) && SimIsActiveMode()) {
        SimPrepRequest.store(1, std::memory_order_release);
        ScreenRequest_Ask(ScreenRequest::kSimEnterStep);
    }
    if (memory == kSeqSimSeq && (r >= 1 || r == kFileBadRecord) && SeqIsActiveMode())
        ScreenRequest_Ask(ScreenRequest::kSeqEnterStepIndex);
    // A memory that could not be loaded (missing, damaged) is a failure the client must see, not only the
    // panel; one loaded with its values limited is not.
    if (r < 1 && r != kFileBadRecord) return Fail(ifc, kScpiErrExecution);
    return 0;
}

int Store(ScpiInterface* ifc, uint32_t memory) {
    if (scpiIsQuery(ifc) != 0) return scpiRefuseHeader(ifc);
    int32_t slot = 0;
    if (const uint32_t row = SeqSimSlot(ifc, memory, &slot); row != 0) return Fail(ifc, row);
    const uint32_t n = static_cast<uint32_t>(slot);
    SeqSimSetSaveSlot(n);
    const int32_t r = memory == kSeqSimSeq ? SeqMem_Save(slot) : SimMem_Save(slot);
    if (r >= 1) {
        if (memory == kSeqSimSeq)
            g_SeqSimSlots.seq = static_cast<uint16_t>(n);
        else
            g_SeqSimSlots.sim = static_cast<uint16_t>(n);
        ShowMessage(2, memory == kSeqSimSeq ? "Saved to SEQ%d" : "Saved to SIM%d", static_cast<int>(slot));
    } else {
        ShowMessage(2, "Save Fail!");
    }
    SeqSimSetSaveSlot(n);
    return 0;
}

// Presets and waveforms: the storage code shows its own popups and refuses what it must.
int ClearStored(ScpiInterface* ifc, MemoryKind kind, const DataSlotRange& range) {
    if (scpiIsQuery(ifc) != 0) return scpiRefuseHeader(ifc);
    int32_t slot = 0;
    if (const uint32_t row = DataSlot(ifc, 0, range, &slot); row != 0) return Fail(ifc, row);
    DeleteMemoryData(kind, slot);
    return 0;
}

}  // namespace

int CmdDataSeqCle(ScpiInterface* ifc) {
    return Clear(ifc, kSeqSimSeq);
}
int CmdDataSimCle(ScpiInterface* ifc) {
    return Clear(ifc, kSeqSimSim);
}
int CmdDataSeqName(ScpiInterface* ifc) {
    return Name(ifc, kSeqSimSeq);
}
int CmdDataSimName(ScpiInterface* ifc) {
    return Name(ifc, kSeqSimSim);
}
int CmdDataSeqRec(ScpiInterface* ifc) {
    return Recall(ifc, kSeqSimSeq);
}
int CmdDataSimRec(ScpiInterface* ifc) {
    return Recall(ifc, kSeqSimSim);
}
int CmdDataSeqStor(ScpiInterface* ifc) {
    return Store(ifc, kSeqSimSeq);
}
int CmdDataSimStor(ScpiInterface* ifc) {
    return Store(ifc, kSeqSimSim);
}
int CmdDataPresCle(ScpiInterface* ifc) {
    return ClearStored(ifc, kMemPreset, kPresetSlots);
}
int CmdDataWaveCle(ScpiInterface* ifc) {
    return ClearStored(ifc, kMemArb, kArbSlots);
}

}  // namespace scpi
