// libFuzzer target for the brand file reader: every input is the content of /mnt/disk/firm on an
// instrument root of its own. The reader must name a brand or none, and never read past its line.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "platform/host/root.h"
#include "platform/host/root_provision.h"
#include "sysadmin/firmware/brand_files.h"

namespace {
void StartRoot() {
    char pattern[] = "/tmp/vrn-brandfuzz-XXXXXX";
    if (mkdtemp(pattern) == nullptr) abort();
    plat::SetRoot(pattern);
    if (plat::PrepareRoot() != 0) abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (StartRoot(), true);
    (void)started;
    {
        std::ofstream file(plat::MapPath("/mnt/disk/firm"), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const int32_t brand = BrandFileRead();
    if (brand < -1 || brand > 2) abort();
    return 0;
}
