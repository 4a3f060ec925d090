// libFuzzer target for one reader of the SEQ/SIM memories, built once per reader with SEQSIM_FUZZ_ONE naming
// its one-input function of seqsimfuzz: SeqFileOne (a SEQ file described as changes to a valid one),
// SimFileOne (one SIM file image), NamesFileOne (one memory names file) or StoredRecordOne (one record of
// the stored memories).
#include <cstddef>
#include <cstdint>

#include "tests/engine/fuzz/seqsim_fuzz_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (seqsimfuzz::Start(), true);
    (void)started;
    seqsimfuzz::SEQSIM_FUZZ_ONE(data, size);
    return 0;
}
