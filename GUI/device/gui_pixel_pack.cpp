// Packing 32-bit indices to a bit depth and expanding them again, both in place: packing runs forward
// (each output byte lies at or before the words it comes from), expanding backward.
#include <cstring>

#include "GUI/device/gui_pixels.h"

namespace {

// Pixels per byte for the sub-byte depths; 0 for one byte or more per pixel.
int PerByte(int bpp) {
    return bpp == 1 ? 8 : bpp == 2 ? 4 : bpp == 4 ? 2 : 0;
}

}  // namespace

int GUI_PackIndices(void* buffer, int n, int bpp) {
    if (bpp < 1 || bpp > 16 || n < 0) return 0;
    auto* bytes = static_cast<uint8_t*>(buffer);
    const auto* words = static_cast<const uint32_t*>(buffer);
    const int perByte = PerByte(bpp);
    const uint32_t mask = (1u << bpp) - 1;  // an index is cut to the depth
    if (perByte != 0) {
        const int out = (n + perByte - 1) / perByte;
        for (int b = 0; b < out; ++b) {
            uint8_t v = 0;
            for (int k = 0; k < perByte; ++k) {
                const int i = b * perByte + k;
                if (i < n) v |= static_cast<uint8_t>((words[i] & mask) << (8 - bpp * (k + 1)));
            }
            bytes[b] = v;
        }
        return out;
    }
    for (int i = 0; i < n; ++i) {
        const uint32_t w = words[i] & mask;
        if (bpp <= 8) {
            bytes[i] = static_cast<uint8_t>(w);
        } else {
            const auto v = static_cast<uint16_t>(w);
            std::memcpy(bytes + 2 * i, &v, 2);
        }
    }
    return bpp <= 8 ? n : 2 * n;
}

int GUI_ExpandIndices(void* buffer, int n, int bpp) {
    if (bpp < 1 || bpp > 16 || n < 0) return 0;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    auto* words = static_cast<uint32_t*>(buffer);
    const int perByte = PerByte(bpp);
    for (int i = n - 1; i >= 0; --i) {
        if (perByte != 0) {
            const int k = i % perByte;
            words[i] = (bytes[i / perByte] >> (8 - bpp * (k + 1))) & ((1u << bpp) - 1);
        } else if (bpp <= 8) {
            words[i] = bytes[i];
        } else {
            uint16_t v;
            std::memcpy(&v, bytes + 2 * i, 2);
            words[i] = v;
        }
    }
    return 1;
}
