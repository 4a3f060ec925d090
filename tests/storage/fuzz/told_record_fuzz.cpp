// libFuzzer target for the reader of the record of the stored data's damage said at a start: every input
// is one such file (see storagefuzz::ToldRecordOne).
#include <cstddef>
#include <cstdint>

#include "tests/storage/fuzz/storage_fuzz_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (storagefuzz::Start(), true);
    (void)started;
    storagefuzz::ToldRecordOne(data, size);
    return 0;
}
