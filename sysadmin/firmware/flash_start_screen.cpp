// The start screen: a checksummed block on USB memory whose payload holds 4144 leading bytes and then
// 480 x 272 RGB565 pixels (top row first), written to flash as a 24-bit BMP (rows bottom-up).
#include <cstring>
#include <vector>

#include "storage/brand_dir.h"
#include "storage/checked_block.h"
#include "storage/raw_file.h"
#include "sysadmin/firmware/flash_image.h"
#include "sysadmin/usb/usb_source.h"

namespace {

constexpr int32_t kStartScreenPartition = 9;
constexpr size_t kWidth = 480, kHeight = 272;
constexpr size_t kSkipped = 4144;
constexpr size_t kPixelBytes = kWidth * kHeight * 2;  // 261120
constexpr size_t kBmpHeader = 54;
constexpr size_t kBmpSize = kBmpHeader + kWidth * kHeight * 3;  // 391734
// A block holding the picture needs at most 9 length digits and 6 more bytes; larger files are refused.
constexpr size_t kMaxBlock = 4 * 1024 * 1024;

void Put16(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}
void Put32(uint8_t* at, uint32_t value) {
    Put16(at, value);
    Put16(at + 2, value >> 16);
}

std::vector<uint8_t> StartScreenBmp(const uint8_t* pixels) {
    std::vector<uint8_t> bmp(kBmpSize, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    Put32(&bmp[2], kBmpSize);
    Put32(&bmp[10], kBmpHeader);
    Put32(&bmp[14], 40);
    Put32(&bmp[18], kWidth);
    Put32(&bmp[22], kHeight);
    Put16(&bmp[26], 1);
    Put16(&bmp[28], 24);
    Put32(&bmp[34], kBmpSize - kBmpHeader);
    uint8_t* out = &bmp[kBmpHeader];
    for (size_t row = kHeight; row-- > 0;) {
        for (size_t col = 0; col < kWidth; ++col) {
            const uint8_t* in = pixels + (row * kWidth + col) * 2;
            const uint32_t p = in[0] | in[1] << 8;
            *out++ = static_cast<uint8_t>((p & 0x1F) * 8);
            *out++ = static_cast<uint8_t>((p & 0x7E0) >> 3);
            *out++ = static_cast<uint8_t>((p & 0xF800) >> 8);
        }
    }
    return bmp;
}

}  // namespace

int32_t FlashWriteStartScreen(int32_t partition, const char* fileName) {
    if (partition != kStartScreenPartition) return -2;
    // The name is one of the menu's fixed names; one that leads into another folder is not a file here.
    if (fileName == nullptr || fileName[0] == '\0' || std::strchr(fileName, '/') != nullptr) return -2;
    if (!UsbSourceReady()) return -2;
    std::vector<uint8_t> block(kMaxBlock);
    const int32_t size = FileReadRaw(0, BrandDir(), fileName, block.data(), block.size());
    if (size == -100) return -2;
    size_t offset = 0, length = 0;
    if (size < 1 || !CheckedBlockPayload(block.data(), static_cast<size_t>(size), &offset, &length))
        return -1;
    if (length < kSkipped + kPixelBytes) return -1;
    const std::vector<uint8_t> bmp = StartScreenBmp(block.data() + offset + kSkipped);
    return FlashProgram(kStartScreenPartition, bmp.data(), bmp.size()) == 0 ? 0 : -1;
}
