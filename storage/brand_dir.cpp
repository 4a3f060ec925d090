#include "storage/brand_dir.h"

#include "core/system/config/identity.h"

const char* const g_BrandDirTable[3] = {"qx", "tulve", "pelma"};

const char* BrandDir() {
    const uint32_t brand = g_BrandId.load(std::memory_order_relaxed);
    return g_BrandDirTable[brand < 3 ? brand : 0];
}
