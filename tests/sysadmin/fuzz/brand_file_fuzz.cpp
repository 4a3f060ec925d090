// libFuzzer target for the brand file reader: every input is the content of /mnt/disk/firm on an
// instrument root of its own. The reader must name a brand or none, and never read past its line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>

#include "platform/host/root.h"
#include "sysadmin/firmware/brand_files.h"
#include "tests/sysadmin/pkg_fuzz_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (pkgfuzz::StartRoot(), true);
    (void)started;
    {
        std::ofstream file(plat::MapPath("/mnt/disk/firm"), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const int32_t brand = BrandFileRead();
    if (brand < -1 || brand > 2) std::abort();
    return 0;
}
