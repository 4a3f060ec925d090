#include "panel/hardcopy/bmp_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "panel/hardcopy/fb_read.h"
#include "platform/host/root.h"
#include "storage/raw_file.h"

namespace {

constexpr uint32_t kWidth = 800, kHeight = 480;
constexpr uint32_t kHeaderBytes = 54;
constexpr uint32_t kRowBytes = kWidth * 3;
constexpr uint32_t kPixelsPerMetre = 3780;

// The whole file is assembled here and written at once.
uint8_t g_file[panel::kBmpFileBytes];

void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

void FillHeaders(uint8_t* h) {
    std::fill(h, h + kHeaderBytes, uint8_t{0});
    h[0] = 'B';
    h[1] = 'M';
    Put32(h + 2, panel::kBmpFileBytes);
    Put32(h + 10, kHeaderBytes);
    Put32(h + 14, 40);
    Put32(h + 18, kWidth);
    Put32(h + 22, kHeight);  // positive: bottom row first
    Put16(h + 26, 1);
    Put16(h + 28, 24);
    Put32(h + 34, kRowBytes * kHeight);
    Put32(h + 38, kPixelsPerMetre);
    Put32(h + 42, kPixelsPerMetre);
}

// Bit replication: full-scale 5- and 6-bit values become 0xFF, not 0xF8 or 0xFC.
void ConvertPixels(const uint8_t* fb, uint8_t* out) {
    for (uint32_t y = 0; y < kHeight; ++y) {
        const uint8_t* src = fb + y * kWidth * 2;
        uint8_t* dst = out + (kHeight - 1 - y) * kRowBytes;
        for (uint32_t x = 0; x < kWidth; ++x, src += 2, dst += 3) {
            const uint32_t px = src[0] | (src[1] << 8);
            const uint32_t b = px & 0x1F, g = (px >> 5) & 0x3F, r = px >> 11;
            dst[0] = static_cast<uint8_t>((b << 3) | (b >> 2));
            dst[1] = static_cast<uint8_t>((g << 2) | (g >> 4));
            dst[2] = static_cast<uint8_t>((r << 3) | (r >> 2));
        }
    }
}

}  // namespace

int Bmp_WriteScreen(const char* path) {
    FillHeaders(g_file);
    if (Fb_ReadScreen() != 0) return -1;
    ConvertPixels(panel::ScreenCopyPixels(), g_file + kHeaderBytes);
    const std::string host = path != nullptr ? plat::MapPath(path) : std::string();
    if (host.empty() || host.back() == '/') return -2;
    // The file appears whole or not at all: a full stick leaves neither a cut file nor the temporary one,
    // and the popup that says the copy is on the stick comes only once its directory entry is there too.
    return WriteFileReplacing(host, host + ".~XXXXXX", g_file, sizeof g_file) == 0 ? 0 : -2;
}
