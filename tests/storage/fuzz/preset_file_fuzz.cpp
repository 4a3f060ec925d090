// libFuzzer target for the reader of a preset file received over a remote interface: every input is one such
// image (see storagefuzz::PresetFileOne).
#include <cstddef>
#include <cstdint>

#include "tests/storage/fuzz/storage_fuzz_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (storagefuzz::Start(), true);
    (void)started;
    storagefuzz::PresetFileOne(data, size);
    return 0;
}
