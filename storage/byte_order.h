#pragma once
// Fixed layouts in files and in the non-volatile memory are read and written byte by byte, in the byte
// order of their format, whatever the host's order.
#include <cstdint>

namespace storage {

// `width` bytes (1-4), most significant first.
inline void StoreBe(uint8_t* p, uint32_t v, int width) {
    for (int i = 0; i < width; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * (width - 1 - i)));
}
inline uint32_t LoadBe(const uint8_t* p, int width) {
    uint32_t v = 0;
    for (int i = 0; i < width; ++i)
        v = (v << 8) | p[i];
    return v;
}
// `width` bytes (1-4), least significant first.
inline void StoreLe(uint8_t* p, uint32_t v, int width) {
    for (int i = 0; i < width; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline uint32_t LoadLe(const uint8_t* p, int width) {
    uint32_t v = 0;
    for (int i = 0; i < width; ++i)
        v |= static_cast<uint32_t>(p[i]) << (8 * i);
    return v;
}

inline uint16_t LoadBe16(const uint8_t* p) {
    return static_cast<uint16_t>(LoadBe(p, 2));
}
inline uint32_t LoadBe32(const uint8_t* p) {
    return LoadBe(p, 4);
}
inline void StoreBe16(uint8_t* p, uint16_t v) {
    StoreBe(p, v, 2);
}
inline void StoreBe32(uint8_t* p, uint32_t v) {
    StoreBe(p, v, 4);
}

}  // namespace storage
