// libFuzzer target for the BMP decoder: every input is a BMP file image drawn across a clip limit (see
// BmpFuzzOne).
#include <cstddef>
#include <cstdint>

#include "tests/GUI/bmp_fuzz_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (guitest::StartFuzzScreen(), true);
    (void)started;
    guitest::BmpFuzzOne(data, size);
    return 0;
}
