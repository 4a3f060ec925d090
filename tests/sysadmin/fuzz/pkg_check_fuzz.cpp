// libFuzzer target for the update package check: every input is a package file on USB memory and, at
// the same time, a plain and a gzip-compressed archive for the web pages' checks (see pkgfuzz::One).
#include <cstddef>
#include <cstdint>

#include "tests/sysadmin/pkg_fuzz_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (pkgfuzz::StartRoot(), pkgfuzz::Ready(), true);
    (void)started;
    pkgfuzz::One(data, size);
    return 0;
}
