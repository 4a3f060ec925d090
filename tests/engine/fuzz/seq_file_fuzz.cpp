// libFuzzer target for the reader of the SEQ memory files: every input is a SEQ file described as changes to
// a valid one (see seqsimfuzz::SeqFileOne).
#include <cstddef>
#include <cstdint>

#include "tests/engine/fuzz/seqsim_fuzz_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (seqsimfuzz::Start(), true);
    (void)started;
    seqsimfuzz::SeqFileOne(data, size);
    return 0;
}
