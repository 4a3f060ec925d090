// Whole memories as definite-length blocks: ARB waves, SEQ and SIM memories, presets and raw ARB samples.
// A query builds its block in the shared transfer buffer and hands it to the channel as a deferred reply;
// a set form passes the received image to the storage code, which checks it before it takes it.
#include <cstdint>

#include "core/system/messaging/msg_queue.h"
#include "core/system/messaging/msg_ring.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_file.h"
#include "engine/seqsim/seqsim_mem_slots.h"
#include "engine/seqsim/seqsim_mode.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/data/data_block.h"
#include "scpi/handlers/data/data_slot.h"
#include "scpi/handlers/data/data_slot9.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/parser/scpi_errors.h"
#include "storage/file_result.h"
#include "storage/files/arb_file.h"
#include "storage/files/preset_file.h"
#include "storage/image_hold.h"

namespace scpi {
namespace {

// What differs between the kinds of memory file.
struct FileKind {
    uint32_t size;
    bool webRefused;
    DataSlotRule slot;
    // Puts the image of memory index into out: its length, or a negative file result.
    int32_t (*read)(int32_t index, uint8_t* out);
    // Takes a received image into memory index: above 0 on success.
    int32_t (*write)(int32_t index, const uint8_t* data, uint32_t length);
};

// The image is held from the build to the copy: a store on another thread in between would send its wave.
int32_t ReadArb(int32_t index, uint8_t* out) {
    const storage::ImageHold held(g_ArbFileImgLock);
    if (!held.owns_lock() || ArbBuildFile(index) != 0) return kFileBadArgument;
    return ArbRemoteRead(out);
}
int32_t WriteArb(int32_t index, const uint8_t* data, uint32_t length) {
    return ArbRemoteWrite(index, static_cast<int32_t>(length), data);
}
// A stored memory is read as it lies on the store: the working tables stay as they are. Only a file of
// today's size is sent: an older, shorter one could not be taken back. A memory never stored holds what a
// deleted one holds, as on a new unit.
int32_t ReadSeq(int32_t index, uint8_t* out) {
    const int32_t n = SeqFileReadChecked(index, out);
    if (n == kFileMissing)
        return SeqBuildClearedImage(index, out) == 0 ? static_cast<int32_t>(kSeqFileSize) : n;
    return n < 0 || static_cast<uint32_t>(n) == kSeqFileSize ? n : kFileBadFrame;
}
int32_t ReadSim(int32_t index, uint8_t* out) {
    const int32_t n = SimFileReadChecked(index, out);
    if (n == kFileMissing)
        return SimBuildClearedImage(index, out) == 0 ? static_cast<int32_t>(kSimFileSize) : n;
    return n < 0 || static_cast<uint32_t>(n) == kSimFileSize ? n : kFileBadFrame;
}
int32_t ReadPreset(int32_t index, uint8_t* out) {
    const storage::ImageHold held(g_PresetFileImgLock);
    if (!held.owns_lock()) return kFileBadArgument;
    PresetBuildFile(index);
    return static_cast<int32_t>(PresetRemoteRead(out));
}
int32_t WritePreset(int32_t index, const uint8_t* data, uint32_t length) {
    return PresetRemoteWrite(index, length, data);
}

const FileKind kArb{kArbFileBytes, false, kSlotArb, ReadArb, WriteArb};
const FileKind kSeq{kSeqFileSize, true, kSlotMemory, ReadSeq, SeqImportFileImage};
const FileKind kSim{kSimFileSize, true, kSlotMemory, ReadSim, SimImportFileImage};
const FileKind kPreset{kPresetFileSize, true, kSlotMemoryInt, ReadPreset, WritePreset};

bool WebRefused(ScpiInterface* ifc, bool refused) {
    if (!refused || ifc->channelId != kChanWeb) return false;
    scpiSetError(ifc, kScpiErrNoSuchName);
    return true;
}

int Fail(ScpiInterface* ifc, uint32_t row) {
    if (row != 0) scpiSetError(ifc, row);
    return 0;
}

// The block of memory index of kind as a deferred reply; prepare (when given) runs once the buffer is
// claimed and may refuse with an error row. The buffer goes back on every failure.
template <typename Prepare>
int SendFile(ScpiInterface* ifc, const FileKind& kind, int32_t index, Prepare prepare) {
    const int header = BlockHeaderLength(kind.size);
    const uint32_t total = kind.size + static_cast<uint32_t>(header);
    if (SharedBufSize() < static_cast<int>(total)) return Fail(ifc, kScpiErrNoSuchName);
    auto* buffer = static_cast<uint8_t*>(SharedBufClaim());
    if (buffer == nullptr) return Fail(ifc, kScpiErrOutOfMemory);
    uint32_t row = prepare();
    if (row == 0) {
        if (kind.read(index, buffer + header) != static_cast<int32_t>(kind.size)) row = kScpiErrExecution;
    }
    if (row != 0) {
        SharedBufRelease();
        return Fail(ifc, row);
    }
    BlockHeaderWrite(buffer, kind.size);
    ifc->deferredData = buffer;
    ifc->deferredLen = total;
    ifc->deferredState = 1;
    return 0;
}

int SlotFile(ScpiInterface* ifc, const FileKind& kind) {
    if (WebRefused(ifc, kind.webRefused)) return 0;
    int32_t index = 0;
    if (const uint32_t row = DataSlotParam(ifc, 0, kind.slot, &index)) return Fail(ifc, row);
    if (scpiIsQuery(ifc) == 1) return SendFile(ifc, kind, index, [] { return 0u; });
    if (scpiIsBlock(ifc, 1) != 1) return Fail(ifc, kScpiErrSystem);
    const uint8_t* data = nullptr;
    uint32_t length = 0;
    if (const uint32_t row = DataBlockParam(ifc, 1, &data, &length)) return Fail(ifc, row);
    return Fail(ifc, kind.write(index, data, length) > 0 ? 0 : kScpiErrExecution);
}

// The present sequence or simulation, sent or replaced through memory 9.
struct PresentKind {
    const FileKind& file;
    Slot9Kind slot9;
    int32_t (*save)(int32_t slot);
    int32_t (*recall)(int32_t mode, int32_t slot);
    uint32_t SeqSimBlock::*recallSlot;
    const char* success;
    const char* failure;
};
const PresentKind kSeqPresent{kSeq,
                              Slot9Kind::kSeq,
                              SeqMem_Save,
                              SeqMem_Recall,
                              &SeqSimBlock::seqRecallSlot,
                              "SEQ Update Success",
                              "SEQ Update Fail"};
const PresentKind kSimPresent{kSim,
                              Slot9Kind::kSim,
                              SimMem_Save,
                              SimMem_Recall,
                              &SeqSimBlock::simRecallSlot,
                              "SIM Update Success",
                              "SIM Update Fail"};

// The block goes out from memory 9, which the channel puts back once the block has been sent.
int SendPresent(ScpiInterface* ifc, const PresentKind& kind) {
    bool borrowed = false;
    const int r = SendFile(ifc, kind.file, 9, [&]() -> uint32_t {
        if (!Slot9Borrow(kind.slot9)) return kScpiErrOutOfMemory;
        borrowed = true;
        return kind.save(9) > 0 ? 0u : uint32_t{kScpiErrStorageFault};
    });
    if (borrowed && ifc->deferredState == 0) Slot9Return(kind.slot9);
    return r;
}

int TakePresent(ScpiInterface* ifc, const PresentKind& kind) {
    if (scpiIsBlock(ifc, 0) != 1) return Fail(ifc, kScpiErrSystem);
    const uint8_t* data = nullptr;
    uint32_t length = 0;
    if (const uint32_t row = DataBlockParam(ifc, 0, &data, &length)) return Fail(ifc, row);
    if (!Slot9Borrow(kind.slot9)) return Fail(ifc, kScpiErrOutOfMemory);
    const int32_t r = kind.file.write(9, data, length);
    if (r > 0) {
        SeqSimBlock& b = g_SeqSimBlock[0];
        const uint32_t before = b.*kind.recallSlot;
        b.*kind.recallSlot = 9;
        const int32_t recalled = kind.recall(1, 9);
        b.*kind.recallSlot = before;
        ShowMessage(2, "%s", recalled >= 1 ? kind.success : kind.failure);
        if (&kind == &kSimPresent && recalled >= 1 && SimIsActiveMode())
            SimPrepRequest.store(1, std::memory_order_release);
    } else if (r == kFileBadRecord) {
        ShowMessage(2, "%s", kind.failure);
    }
    Slot9Return(kind.slot9);
    return Fail(ifc, r > 0 ? 0 : kScpiErrExecution);
}

int Present(ScpiInterface* ifc, const PresentKind& kind) {
    if (WebRefused(ifc, true)) return 0;
    return scpiIsQuery(ifc) == 1 ? SendPresent(ifc, kind) : TakePresent(ifc, kind);
}

}  // namespace

int CmdDataArbFile(ScpiInterface* ifc) {
    return SlotFile(ifc, kArb);
}
int CmdDataSeqData(ScpiInterface* ifc) {
    return SlotFile(ifc, kSeq);
}
int CmdDataSimData(ScpiInterface* ifc) {
    return SlotFile(ifc, kSim);
}
int CmdDataPresFile(ScpiInterface* ifc) {
    return SlotFile(ifc, kPreset);
}
int CmdDataSeqPres(ScpiInterface* ifc) {
    return Present(ifc, kSeqPresent);
}
int CmdDataSimPres(ScpiInterface* ifc) {
    return Present(ifc, kSimPresent);
}

// The preset memories travel only as files: the query answers nothing.
int CmdDataPresData(ScpiInterface* ifc) {
    return scpiIsQuery(ifc) == 1 ? 0 : scpiRefuseHeader(ifc);
}

int CmdDataWaveData(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) return scpiRefuseHeader(ifc);
    if (WebRefused(ifc, true)) return 0;
    if (scpiGetParamCount(ifc) < 1) return Fail(ifc, kScpiErrSystem);
    int32_t index = 0;
    if (const uint32_t row = DataSlotParam(ifc, 0, kSlotWave, &index)) return Fail(ifc, row);
    if (scpiIsBlock(ifc, 1) != 1) return Fail(ifc, kScpiErrSystem);
    const uint8_t* data = nullptr;
    uint32_t length = 0;
    if (DataBlockParam(ifc, 1, &data, &length) != 0 || length != kArbRawBytes)
        return Fail(ifc, kScpiErrBlockData);
    return Fail(ifc, ArbRemoteWriteRaw(index, data) > 0 ? 0 : kScpiErrExecution);
}

}  // namespace scpi
