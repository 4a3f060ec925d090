// libFuzzer target for one reader of stored or received data, built once per reader: STORAGE_FUZZ_ONE names
// the storagefuzz function that takes each input (see storage_fuzz_fixture.h for what each reads).
#include <cstddef>
#include <cstdint>

#include "tests/storage/fuzz/storage_fuzz_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (storagefuzz::Start(), true);
    (void)started;
    storagefuzz::STORAGE_FUZZ_ONE(data, size);
    return 0;
}
