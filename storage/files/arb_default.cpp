// Default waves: the factory reset of a wave, the start-up restore from the internal store, the delete
// of every wave, and the default files of a new root.
#include <cstdio>
#include <cstring>

#include "core/params/waves/arb_builtin.h"
#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/sys_status.h"
#include "storage/data_file_frame.h"
#include "storage/files/arb_file.h"
#include "storage/file_result.h"
#include "storage/file_util.h"
#include "storage/image_hold.h"
#include "storage/raw_file.h"

namespace {

const core::ArbShape& DefaultShape(int32_t i) {
    if (i >= 8 && i <= 11) return core::kArbBuiltinSquare;
    if (i >= 12 && i <= 15) return core::kArbBuiltinTriangle;
    return core::kArbBuiltinSine;
}

int32_t WriteImage(int32_t i) {
    char name[16];
    std::snprintf(name, sizeof name, "ARB%d.ARB", i + 1);
    const storage::ImageHold held(g_ArbFileImgLock);
    if (!held.owns_lock() || ArbBuildFile(i) != 0) return kFileBadArgument;
    return FileWriteRaw(1, "ARB", name, g_ArbFileImg, kArbFileBytes);
}

}  // namespace

int32_t ArbResetToDefault(int32_t i) {
    // Indices above 252 would reach past the last slot.
    if (i < 0 || i >= kArbWaves) return -1;
    const core::ArbShape& shape = DefaultShape(i);
    std::memcpy(g_ArbMem[storage::ArbSlotOf(i)], shape.data(), sizeof(int16_t) * kArbSamples);
    if (i < 16) ArbLoadDefault(i);
    return 0;
}

int32_t ArbRestore(int32_t i) {
    if (i < 0 || i >= kArbWaves) return -1;
    char name[16];
    std::snprintf(name, sizeof name, "ARB%d.ARB", i + 1);
    {
        const storage::ImageHold held(g_ArbFileImgLock);
        const int32_t got = held.owns_lock() ? FileReadRaw(1, "ARB", name, g_ArbFileImg, kArbFileBytes) : -1;
        if (got > 0 && ArbLoadFile(i, got) == 1) return 0;
    }
    char model[sizeof g_ModelName];
    IdentityTextRead(g_ModelName, sizeof g_ModelName, model);
    if (model[0] == '\0') IdentityTextWrite(g_ModelName, sizeof g_ModelName, "VRN-4160", 8);
    ArbResetToDefault(i);
    if (WriteImage(i) < 0) SysStatusSet(kSysStorageError);
    return 1;
}

void ArbDeleteAll() {
    for (int32_t n = 1; n <= kArbWaves; ++n) {
        ArbResetToDefault(n - 1);
        if (ArbSaveFile(n - 1, 0) < 0)
            SysStatusSet(kSysStorageError);
        else
            ShowMessage(2, "ARB%d Deleted", n);
    }
    storage::ArbLimitRebuild();
}

namespace storage {
int32_t ArbProvisionFactoryFiles(const char* model) {
    int32_t failed = 0;
    for (int32_t i = 0; i < 16; ++i) {
        ArbResetToDefault(i);
        const ImageHold held(g_ArbFileImgLock);
        if (!held.owns_lock() || ArbBuildFile(i) != 0) {
            ++failed;
            continue;
        }
        // The header takes the unit's model text, which the process learns only once block 0 is read.
        std::memset(g_ArbFileImg + kHeaderModelOffset, 0, kHeaderModelSize);
        if (model != nullptr)
            std::memcpy(g_ArbFileImg + kHeaderModelOffset, model, strnlen(model, kHeaderModelSize));
        DataFileSeal(g_ArbFileImg, kArbFileBytes);
        char name[16];
        std::snprintf(name, sizeof name, "ARB%d.ARB", i + 1);
        if (FileWriteRaw(1, "ARB", name, g_ArbFileImg, kArbFileBytes) < 0) ++failed;
    }
    return failed;
}
}  // namespace storage
