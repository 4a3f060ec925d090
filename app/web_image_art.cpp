#include "app/web_image_art.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "GUI/device/fb_driver.h"
#include "GUI/device/fb_png.h"
#include "platform/host/root.h"
#include "storage/byte_order.h"
#include "storage/raw_file.h"
#include "sysadmin/firmware/brand_files.h"
#include "sysadmin/firmware/brand_table.h"
#include "sysadmin/firmware/brand_web_images.h"

namespace {

namespace fs = std::filesystem;

// Colours as 0xBBGGRR, the display's order.
constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kGrid = 0x404040, kTrace = 0x00FFFF;
// Each brand's colour, in the order of the brand table, and the same as SVG text.
constexpr uint32_t kBrandColour[kBrandCount] = {0xB05A1E, 0x3C8C28, 0x1E78DC};
constexpr const char* kBrandSvgColour[kBrandCount] = {"#1e5ab0", "#288c3c", "#dc781e"};

struct Picture {
    int w, h;
    std::vector<uint32_t> px;  // 0xBBGGRR, row by row from the top
};

// A background with a sine wave of `periods` across it; a grid every 20 pixels when grid is not 0.
Picture Wave(int w, int h, uint32_t back, uint32_t wave, double periods, uint32_t grid) {
    Picture p{w, h, std::vector<uint32_t>(static_cast<size_t>(w * h), back)};
    if (grid != 0)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (x % 20 == 0 || y % 20 == 0) p.px[static_cast<size_t>(y * w + x)] = grid;
    const double amplitude = h / 3.0;
    for (int x = 0; x < w; ++x) {
        const int y =
            static_cast<int>(std::lround(h / 2.0 - amplitude * std::sin(2 * M_PI * periods * x / w)));
        for (int t = y - 1; t <= y; ++t)
            if (t >= 0 && t < h) p.px[static_cast<size_t>(t * w + x)] = wave;
    }
    return p;
}

int WritePng(const Picture& p, const std::string& path) {
    std::vector<uint16_t> index(p.px.size());
    for (size_t i = 0; i < p.px.size(); ++i)
        index[i] = static_cast<uint16_t>(Color2Index_565(p.px[i]));
    const GUI_BOX all{0, 0, static_cast<int16_t>(p.w - 1), static_cast<int16_t>(p.h - 1)};
    return FbWritePng(index.data(), p.w, all, path);
}

// A one-picture icon file holding a 32-bit bitmap (rows bottom-up, blue-green-red-alpha) and its
// all-clear mask.
int WriteIco(const Picture& p, const std::string& path) {
    const uint32_t pixelBytes = static_cast<uint32_t>(p.w * p.h * 4);
    const uint32_t maskBytes = static_cast<uint32_t>(((p.w + 31) / 32) * 4 * p.h);
    const uint32_t imageBytes = 40 + pixelBytes + maskBytes;
    std::vector<uint8_t> b(6 + 16 + imageBytes, 0);
    using storage::StoreLe;
    StoreLe(&b[2], 1, 2);  // an icon
    StoreLe(&b[4], 1, 2);  // one picture
    b[6] = static_cast<uint8_t>(p.w);
    b[7] = static_cast<uint8_t>(p.h);
    StoreLe(&b[10], 1, 2);   // planes
    StoreLe(&b[12], 32, 2);  // bits per pixel
    StoreLe(&b[14], imageBytes, 4);
    StoreLe(&b[18], 22, 4);
    uint8_t* info = &b[22];
    StoreLe(info, 40, 4);
    StoreLe(info + 4, static_cast<uint32_t>(p.w), 4);
    StoreLe(info + 8, static_cast<uint32_t>(2 * p.h), 4);  // picture and mask
    StoreLe(info + 12, 1, 2);
    StoreLe(info + 14, 32, 2);
    StoreLe(info + 20, pixelBytes + maskBytes, 4);
    uint8_t* out = info + 40;
    for (int y = p.h - 1; y >= 0; --y)
        for (int x = 0; x < p.w; ++x) {
            const uint32_t c = p.px[static_cast<size_t>(y * p.w + x)];
            *out++ = static_cast<uint8_t>(c >> 16);
            *out++ = static_cast<uint8_t>(c >> 8);
            *out++ = static_cast<uint8_t>(c);
            *out++ = 0xFF;
        }
    return WriteFileReplacing(path, path + ".XXXXXX", b.data(), b.size());
}

// A 24-bit bitmap, rows bottom-up, blue-green-red: the form the boot loader shows as its logo.
int WriteBmp(const Picture& p, const std::string& path) {
    const uint32_t rowBytes = static_cast<uint32_t>((p.w * 3 + 3) / 4 * 4);
    const uint32_t size = 54 + rowBytes * static_cast<uint32_t>(p.h);
    std::vector<uint8_t> b(size, 0);
    using storage::StoreLe;
    b[0] = 'B', b[1] = 'M';
    StoreLe(&b[2], size, 4);
    StoreLe(&b[10], 54, 4);
    StoreLe(&b[14], 40, 4);
    StoreLe(&b[18], static_cast<uint32_t>(p.w), 4);
    StoreLe(&b[22], static_cast<uint32_t>(p.h), 4);
    StoreLe(&b[26], 1, 2);
    StoreLe(&b[28], 24, 2);
    StoreLe(&b[34], rowBytes * static_cast<uint32_t>(p.h), 4);
    for (int y = 0; y < p.h; ++y) {
        uint8_t* out = &b[54 + rowBytes * static_cast<uint32_t>(p.h - 1 - y)];
        for (int x = 0; x < p.w; ++x) {
            const uint32_t c = p.px[static_cast<size_t>(y * p.w + x)];
            *out++ = static_cast<uint8_t>(c >> 16);
            *out++ = static_cast<uint8_t>(c >> 8);
            *out++ = static_cast<uint8_t>(c);
        }
    }
    return WriteFileReplacing(path, path + ".XXXXXX", b.data(), b.size());
}

std::string Svg(const char* back, const char* wave) {
    return std::string(
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"96\" height=\"32\" "
               "viewBox=\"0 0 96 32\">\n<rect width=\"96\" height=\"32\" fill=\"") +
           back + "\"/>\n<path d=\"M0 16 C16 -5 32 -5 48 16 S80 37 96 16\" fill=\"none\" stroke=\"" + wave +
           "\" stroke-width=\"3\"/>\n</svg>\n";
}

int WriteText(const std::string& text, const std::string& path) {
    return WriteFileReplacing(path, path + ".XXXXXX", text.data(), text.size());
}

// Draws the picture the name asks for, in the brand's colours.
int Draw(uint32_t brand, const std::string& name, const std::string& path) {
    const uint32_t colour = kBrandColour[brand];
    if (name == "logo.png") return WritePng(Wave(96, 32, colour, kWhite, 1, 0), path);
    if (name == "sample.png") return WritePng(Wave(160, 100, kBlack, kTrace, 2, kGrid), path);
    if (name == "favicon.ico") return WriteIco(Wave(16, 16, colour, kWhite, 1, 0), path);
    if (name == "logo.svg") return WriteText(Svg(kBrandSvgColour[brand], "#ffffff"), path);
    if (name == "logo-dark.svg") return WriteText(Svg("#202020", kBrandSvgColour[brand]), path);
    return -1;
}

}  // namespace

int ProvisionBrandWebImages() {
    int failed = 0;
    for (uint32_t brand = 0; brand < kBrandCount; ++brand) {
        for (const std::string& source : BrandWebImageSources(brand)) {
            const std::string path = plat::MapPath(source);
            std::error_code ec;
            if (fs::exists(path, ec)) continue;
            fs::create_directories(fs::path(path).parent_path(), ec);
            if (Draw(brand, fs::path(path).filename().string(), path) != 0) {
                std::fprintf(stderr, "vrn-controller: cannot make the web picture %s\n", path.c_str());
                ++failed;
            }
        }
    }
    return failed;
}

int ProvisionBootLogos() {
    int failed = 0;
    for (uint32_t brand = 0; brand < kBrandCount; ++brand) {
        const std::string path = plat::MapPath(kBrandTable[brand].logo);
        std::error_code ec;
        if (fs::exists(path, ec)) continue;
        fs::create_directories(fs::path(path).parent_path(), ec);
        if (WriteBmp(Wave(static_cast<int>(kBootLogoWidth), kBootLogoHeight, kBrandColour[brand], kWhite, 1, 0), path) != 0) {
            std::fprintf(stderr, "vrn-controller: cannot make the boot logo %s\n", path.c_str());
            ++failed;
        }
    }
    return failed;
}
