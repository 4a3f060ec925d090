// libFuzzer target for the reader of the record of stored SEQ/SIM memories: every input is one such file
// (see seqsimfuzz::StoredRecordOne).
#include <cstddef>
#include <cstdint>

#include "tests/engine/fuzz/seqsim_fuzz_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (seqsimfuzz::Start(), true);
    (void)started;
    seqsimfuzz::StoredRecordOne(data, size);
    return 0;
}
