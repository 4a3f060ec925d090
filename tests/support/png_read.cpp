#include "tests/support/png_read.h"

#include <png.h>

#include <cstdio>

namespace testsupport {

bool ReadRgbPng(const std::string& path, RgbImage* image) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool ok = false;
    if (info != nullptr && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, f);
        png_read_info(png, info);
        if (png_get_color_type(png, info) == PNG_COLOR_TYPE_RGB && png_get_bit_depth(png, info) == 8) {
            image->width = static_cast<int>(png_get_image_width(png, info));
            image->height = static_cast<int>(png_get_image_height(png, info));
            image->rgb.assign(static_cast<size_t>(image->width) * image->height * 3, 0);
            for (int y = 0; y < image->height; ++y)
                png_read_row(png, image->rgb.data() + static_cast<size_t>(y) * image->width * 3, nullptr);
            ok = true;
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    return ok;
}

}  // namespace testsupport
