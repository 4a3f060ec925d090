// libFuzzer target for the reader of the SIM memory files: every input is one SIM file image (see
// seqsimfuzz::SimFileOne).
#include <cstddef>
#include <cstdint>

#include "tests/engine/fuzz/seqsim_fuzz_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (seqsimfuzz::Start(), true);
    (void)started;
    seqsimfuzz::SimFileOne(data, size);
    return 0;
}
