#include "engine/seqsim/seqsim_mem_slots.h"

#include <cstdio>

#include "core/control/sys_event.h"
#include "core/params/access/param_access.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_file.h"
#include "engine/seqsim/seqsim_saved_config.h"
#include "platform/sandbox/sandbox.h"
#include "storage/file_result.h"
#include "storage/files/memory_data.h"
#include "storage/image_hold.h"

namespace {

int32_t Remove(const char* format, int32_t slot) {
    if (slot < 0 || slot > 9) return -1;
    char command[64];
    std::snprintf(command, sizeof command, format, static_cast<int>(slot));
    plat::System(command);
    return slot;
}

}  // namespace

// The capture and the save hold the saved configuration together: a remote PRESent query runs this on its
// channel thread, and the file must carry the configuration just captured.
int32_t SeqMem_Save(int32_t slot) {
    const storage::ImageHold held(g_SeqSimSavedLock);
    if (!held.owns_lock()) return kFileBadArgument;
    SeqCaptureConfig();
    return SeqSaveFile(slot, 0);
}

int32_t SimMem_Save(int32_t slot) {
    const storage::ImageHold held(g_SeqSimSavedLock);
    if (!held.owns_lock()) return kFileBadArgument;
    SimCaptureConfig();
    return SimSaveFile(slot);
}

int32_t SeqMem_Recall(int32_t mode, int32_t slot) {
    SeqSimBlock& b = g_SeqSimBlock[0];
    const storage::ImageHold held(g_SeqSimSavedLock);
    if (!held.owns_lock()) return kFileBadArgument;
    const int32_t r = SeqLoadFile(slot);
    // A file that loaded with its values limited goes on (its marker is set); a marker left by an earlier
    // load does not make a failed one go on.
    if (r < 1 && r != kFileBadRecord) return r;
    if (mode == 1) {
        SeqSimRestoreOutputConfig();
        b.invalid = 0;
    }
    if (GetAcvUnit() == 1) b.seqSaved.acvUnit = 1;
    return r;
}

int32_t SimMem_Recall(int32_t mode, int32_t slot) {
    const storage::ImageHold held(g_SeqSimSavedLock);
    if (!held.owns_lock()) return kFileBadArgument;
    const int32_t r = SimLoadFile(slot);
    if (r < 1) return r;
    if (mode == 1) SeqSimRestoreOutputConfig();
    if (GetAcvUnit() == 1) g_SeqSimBlock[0].simSaved.acvUnit = 1;
    return r;
}

int32_t SeqMem_Clear(int32_t slot) {
    return DeleteMemoryData(kMemSeq, slot);
}
int32_t SimMem_Clear(int32_t slot) {
    return DeleteMemoryData(kMemSim, slot);
}
void SeqMem_ClearAll() {
    for (int32_t slot = 0; slot <= 9; ++slot)
        SeqMem_Clear(slot);
}
void SimMem_ClearAll() {
    for (int32_t slot = 0; slot <= 9; ++slot)
        SimMem_Clear(slot);
}

int32_t SeqFileRemove(int32_t slot) {
    return Remove("rm /mnt/tst/seq/SEQ%d.SEQ", slot);
}
int32_t SimFileRemove(int32_t slot) {
    return Remove("rm /mnt/tst/sim/SIM%d.SIM", slot);
}

void FactoryDefaultExec() {
    FactoryDefaultStart();
}
