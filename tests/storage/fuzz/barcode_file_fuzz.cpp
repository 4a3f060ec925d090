// libFuzzer target for the reader of the barcode code table file: every input is one such image (see
// storagefuzz::BarcodeFileOne).
#include <cstddef>
#include <cstdint>

#include "tests/storage/fuzz/storage_fuzz_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (storagefuzz::Start(), true);
    (void)started;
    storagefuzz::BarcodeFileOne(data, size);
    return 0;
}
