// libFuzzer target for the reader of the SEQ/SIM memory names file: every input is one file (see
// seqsimfuzz::NamesFileOne).
#include <cstddef>
#include <cstdint>

#include "tests/engine/fuzz/seqsim_fuzz_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (seqsimfuzz::Start(), true);
    (void)started;
    seqsimfuzz::NamesFileOne(data, size);
    return 0;
}
