#include "GUI/device/fb_png.h"

#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <vector>

#include "GUI/lcd/lcd.h"
#include "GUI/device/fb_driver.h"

namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

bool Encode(const uint16_t* pixels, int stride, const GUI_BOX& r, std::vector<uint8_t>* out) {
    const int w = r.x1 - r.x0 + 1, h = r.y1 - r.y0 + 1;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, Append, NoFlush);
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = r.y0; y <= r.y1; ++y) {
        const uint16_t* src = pixels + static_cast<std::ptrdiff_t>(y) * stride + r.x0;
        for (int x = 0; x < w; ++x) {
            const uint32_t c = Index2Color_565(src[x]);
            row[3 * x] = static_cast<uint8_t>(c);
            row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(c >> 16);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// Temporary file beside the target, synced, renamed over it: the old picture or the new one, whole.
int WriteWhole(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string tmp = path + ".tmp";
    const int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return -1;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    const bool ok = done == bytes.size() && fsync(fd) == 0;
    if (close(fd) != 0 || !ok || rename(tmp.c_str(), path.c_str()) != 0) {
        unlink(tmp.c_str());
        return -1;
    }
    return 0;
}

}  // namespace

int FbWritePng(const uint16_t* pixels, int stride, const GUI_BOX& rect, const std::string& hostPath) {
    if (pixels == nullptr || rect.x1 < rect.x0 || rect.y1 < rect.y0) return -1;
    std::vector<uint8_t> bytes;
    if (!Encode(pixels, stride, rect, &bytes)) return -1;
    return WriteWhole(hostPath, bytes);
}

int FbWriteScreenRectPng(const GUI_BOX& rect, const std::string& hostPath) {
    const GUI_BOX screen{0, 0, kLcdXSize - 1, kLcdYSize - 1};
    GUI_BOX r;
    if (!gui::IntersectBoxes(&r, rect, screen)) return -1;
    return FbWritePng(static_cast<const uint16_t*>(LCD_MappedFramebuffer()), kLcdXSize, r, hostPath);
}
