// libFuzzer target of the boot-logo check: whatever the bytes, a picture that is taken holds every row of
// the 480 x 272 logo behind its header. The input sits in a buffer of exactly its size, so
// AddressSanitizer stops a read one byte beyond it.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "sysadmin/firmware/brand_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[size == 0 ? 1 : size]);
    std::memcpy(bytes.get(), data, size);
    if (BootLogoBitmapFits(bytes.get(), size) && size < 54 + 480 * 272 * 3) std::abort();
    return 0;
}
