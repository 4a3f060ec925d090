// libFuzzer target for the readers of a waveform in each of its forms (own, "F001Strong", raw samples, wdb
// head): every input is one such image (see storagefuzz::ArbFileOne).
#include <cstddef>
#include <cstdint>

#include "tests/storage/fuzz/storage_fuzz_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (storagefuzz::Start(), true);
    (void)started;
    storagefuzz::ArbFileOne(data, size);
    return 0;
}
