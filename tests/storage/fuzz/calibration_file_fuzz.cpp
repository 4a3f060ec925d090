// libFuzzer target for the reader of a phase's calibration file on USB memory: every input is one such image
// (see storagefuzz::CalibrationFileOne).
#include <cstddef>
#include <cstdint>

#include "tests/storage/fuzz/storage_fuzz_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (storagefuzz::Start(), true);
    (void)started;
    storagefuzz::CalibrationFileOne(data, size);
    return 0;
}
