// libFuzzer target of the BMP reader behind the sandbox's cjpeg: whatever the bytes, a picture that is
// taken has sides within the limit and exactly three bytes a pixel. The input sits in a buffer of exactly
// its size, so AddressSanitizer stops a read one byte beyond it.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "platform/sandbox/tools/bmp_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<char[]> bytes(new char[size == 0 ? 1 : size]);
    std::memcpy(bytes.get(), data, size);
    plat::sandbox::RgbPicture pic;
    std::string why;
    if (!plat::sandbox::DecodeBmp24(std::string_view(bytes.get(), size), &pic, &why)) return 0;
    if (pic.width == 0 || pic.height == 0 || pic.width > plat::sandbox::kBmpMaxSide ||
        pic.height > plat::sandbox::kBmpMaxSide || pic.rgb.size() != size_t{pic.width} * pic.height * 3)
        std::abort();
    return 0;
}
