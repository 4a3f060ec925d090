#include "platform/sandbox/tools/bmp_decode.h"

namespace plat::sandbox {
namespace {

constexpr size_t kFileHeader = 14;
constexpr size_t kInfoHeaderMin = 40;

uint32_t U16(std::string_view d, size_t at) {
    return static_cast<uint8_t>(d[at]) | static_cast<uint32_t>(static_cast<uint8_t>(d[at + 1])) << 8;
}
uint32_t U32(std::string_view d, size_t at) {
    return U16(d, at) | U16(d, at + 2) << 16;
}

bool Fail(std::string* why, const char* text) {
    if (why != nullptr) *why = text;
    return false;
}

}  // namespace

bool DecodeBmp24(std::string_view file, RgbPicture* out, std::string* why) {
    if (file.size() < kFileHeader + kInfoHeaderMin || file[0] != 'B' || file[1] != 'M')
        return Fail(why, "not a BMP file");
    const uint32_t dataAt = U32(file, 10);
    const uint32_t infoSize = U32(file, 14);
    if (infoSize < kInfoHeaderMin || infoSize > file.size() - kFileHeader) return Fail(why, "bad BMP header");
    const int32_t width = static_cast<int32_t>(U32(file, 18));
    const int32_t rawHeight = static_cast<int32_t>(U32(file, 22));
    if (U16(file, 26) != 1 || U16(file, 28) != 24 || U32(file, 30) != 0)
        return Fail(why, "only uncompressed 24-bit BMP files are taken");
    // The height's sign tells the row order; INT32_MIN has no positive counterpart.
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) return Fail(why, "bad BMP size");
    const uint32_t height = static_cast<uint32_t>(rawHeight < 0 ? -rawHeight : rawHeight);
    if (static_cast<uint32_t>(width) > kBmpMaxSide || height > kBmpMaxSide) return Fail(why, "BMP too large");
    const uint64_t stride = (uint64_t{static_cast<uint32_t>(width)} * 3 + 3) / 4 * 4;
    if (dataAt < kFileHeader + infoSize || uint64_t{dataAt} + stride * height > file.size())
        return Fail(why, "BMP pixel data cut short");
    out->width = static_cast<uint32_t>(width);
    out->height = height;
    out->rgb.assign(size_t{out->width} * height * 3, 0);
    for (uint32_t y = 0; y < height; ++y) {
        const uint32_t stored = rawHeight > 0 ? height - 1 - y : y;
        const char* src = file.data() + dataAt + stride * stored;
        uint8_t* dst = out->rgb.data() + size_t{y} * out->width * 3;
        for (uint32_t x = 0; x < out->width; ++x) {
            dst[3 * x] = static_cast<uint8_t>(src[3 * x + 2]);
            dst[3 * x + 1] = static_cast<uint8_t>(src[3 * x + 1]);
            dst[3 * x + 2] = static_cast<uint8_t>(src[3 * x]);
        }
    }
    return true;
}

}  // namespace plat::sandbox
