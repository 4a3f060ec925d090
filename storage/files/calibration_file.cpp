#include "storage/files/calibration_file.h"

#include <cstdio>
#include <cstring>

#include "core/control/calibration/cal_page.h"
#include "core/params/access/param_access.h"
#include "core/system/links/parallel_link.h"
#include "storage/brand_dir.h"
#include "storage/byte_order.h"
#include "storage/file_result.h"
#include "storage/raw_file.h"

using storage::LoadLe;
using storage::StoreLe;

namespace {

constexpr int kCalFileBytes = regbus::kCalPageWords * 2;
constexpr uint32_t kUsbArea = 0;

}  // namespace

const char* CalibrationFileName(int phase, char* out, int size) {
    if (out == nullptr || size < 1) return out;
    out[0] = '\0';
    if (!regbus::CalPageValid(phase)) return out;
    const char letter = "UVW"[phase];
    if (g_ParallelActive.load(std::memory_order_acquire) != 0 && GetParallelPosition() == 0) {
        // The parallel unit count includes the master.
        std::snprintf(out, static_cast<size_t>(size), "Calibration_%c_S%d", letter, GetParallelNumber() - 1);
    } else {
        std::snprintf(out, static_cast<size_t>(size), "Calibration_%c", letter);
    }
    return out;
}

int32_t CalibrationFileLoad(int phase) {
    uint16_t* page = regbus::CalPage(phase);
    if (page == nullptr) return kFileBadArgument;
    char name[32];
    CalibrationFileName(phase, name, sizeof name);
    // One byte more than a page, so that a longer file is read and refused as the wrong size.
    uint8_t bytes[kCalFileBytes + 1];
    const int32_t got = FileReadRaw(kUsbArea, BrandDir(), name, bytes, sizeof bytes);
    if (got == kFileShortRead) return kFileBadFrame;
    if (got < 0) return kFileMissing;
    if (got != kCalFileBytes) return kFileBadFrame;
    uint16_t scratch[regbus::kCalPageWords];
    for (int w = 0; w < regbus::kCalPageWords; ++w)
        scratch[w] = static_cast<uint16_t>(LoadLe(bytes + 2 * w, 2));
    if (!regbus::CalPageChecksumOk(scratch)) return kFileBadFrame;
    std::memcpy(page, scratch, sizeof scratch);
    return 1;
}

int32_t CalibrationFileSave(int phase) {
    const uint16_t* page = regbus::CalPage(phase);
    if (page == nullptr) return kFileBadArgument;
    char name[32];
    CalibrationFileName(phase, name, sizeof name);
    uint8_t bytes[kCalFileBytes];
    for (int w = 0; w < regbus::kCalPageWords; ++w)
        StoreLe(bytes + 2 * w, page[w], 2);
    const int32_t result = FileWriteRaw(kUsbArea, BrandDir(), name, bytes, sizeof bytes);
    return result == kCalFileBytes ? 1 : result;
}
