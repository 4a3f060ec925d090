#pragma once
// The three brands a unit can carry: the code shown on the panel, the code in the brand file, the boot
// loader's version value, the folder of its web images, its boot logo and the per-model folders of its
// sample picture (4.5 kVA class, 6 kVA class; empty: one picture for all models).
#include <cstdint>

struct BrandRow {
    const char* code;
    const char* fileCode;
    const char* upgVer;
    const char* dir;
    const char* logo;
    const char* sampleFolder[2];
};

inline constexpr uint32_t kBrandCount = 3;
inline constexpr BrandRow kBrandTable[kBrandCount] = {
    {"QX", "QX", "0x260", "qx", "/mnt/disk/app/image/qx_logo.bmp", {"VRN4145/", "VRN4160/"}},
    {"TULVE", "TULVE", "0x261", "tulve", "/mnt/disk/app/image/tulve_logo.bmp", {"VRN-345/", "VRN-360/"}},
    {"PELMA", "PL", "0x262", "pelma", "/mnt/disk/app/image/pelma_logo.bmp", {"", ""}},
};

// The row of a brand index; brand 0's for an index outside the table.
inline const BrandRow& BrandRowOf(uint32_t brand) {
    return kBrandTable[brand < kBrandCount ? brand : 0];
}
