// libFuzzer target for the readers of the NV blocks (block 0 with the SpecialData power-on settings, the
// settings blocks, the preset backups): every input is a block choice and its image (see
// storagefuzz::NvBlockOne).
#include <cstddef>
#include <cstdint>

#include "tests/storage/fuzz/storage_fuzz_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (storagefuzz::Start(), true);
    (void)started;
    storagefuzz::NvBlockOne(data, size);
    return 0;
}
