// cjpeg [-quality N] [-outfile FILE] [FILE]: a 24-bit BMP to a baseline JPEG, in-process with libjpeg;
// both paths inside the root. The output is written beside its target and renamed over it, so a failed
// conversion leaves no cut file and keeps what was there.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

// libjpeg's header needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "platform/sandbox/sandbox_paths.h"
#include "platform/sandbox/tools/bmp_decode.h"
#include "platform/sandbox/tools/sandbox_tools.h"

namespace plat::sandbox {
namespace {

constexpr int kDefaultQuality = 75;  // the tool's own default

struct Options {
    int quality = kDefaultQuality;
    std::string outfile;  // empty: standard output
    std::string input;    // empty: standard input
};

bool ParseOptions(const Args& args, Options* o, ToolIo& io) {
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if ((a == "-quality" || a == "-outfile") && i + 1 < args.size()) {
            const std::string& value = args[++i];
            if (a == "-outfile") {
                o->outfile = value;
                continue;
            }
            char* end = nullptr;
            const long q = std::strtol(value.c_str(), &end, 10);
            if (end == value.c_str() || *end != '\0' || q < 0 || q > 100) {
                io.err += "cjpeg: bad quality " + value + "\n";
                return false;
            }
            o->quality = static_cast<int>(q);
        } else if (a.size() > 1 && a[0] == '-') {
            io.err += "cjpeg: unknown option " + a + "\n";
            return false;
        } else if (o->input.empty()) {
            o->input = a;
        } else {
            io.err += "cjpeg: only one input file is allowed\n";
            return false;
        }
    }
    return true;
}

struct ErrorJump {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

// libjpeg's own error exit ends the process: a failure returns to the caller instead.
[[noreturn]] void JumpOut(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorJump*>(cinfo->err)->jump, 1);
}

// The JPEG of the picture, or false when libjpeg refuses it. No C++ object with a destructor lives
// between setjmp and a jump back to it.
bool Encode(const RgbPicture& pic, int quality, std::string* jpeg) {
    jpeg_compress_struct cinfo;
    ErrorJump err;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = JumpOut;
    if (setjmp(err.jump) != 0) {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = pic.width;
    cinfo.image_height = pic.height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pic.rgb.data() + size_t{cinfo.next_scanline} * pic.width * 3);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    jpeg->assign(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return true;
}

bool WriteReplacing(const std::string& host, const std::string& data) {
    const std::string temp = host + ".cjpeg-tmp";
    {
        std::ofstream file(temp, std::ios::binary | std::ios::trunc);
        if (!file.write(data.data(), static_cast<std::streamsize>(data.size())) || !file.flush()) {
            file.close();
            std::remove(temp.c_str());
            return false;
        }
    }
    if (std::rename(temp.c_str(), host.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace

int Cjpeg(const Args& args, ToolIo& io) {
    Options o;
    if (!ParseOptions(args, &o, io)) return 1;
    std::string inputHost, outputHost;
    if (!o.input.empty() && !ResolvePath("cjpeg", o.input, &inputHost, io)) return kRefused;
    if (!o.outfile.empty() && !ResolvePath("cjpeg", o.outfile, &outputHost, io)) return kRefused;
    std::string bmp;
    if (o.input.empty()) {
        bmp = io.in;
    } else {
        std::ifstream file(inputHost, std::ios::binary);
        std::ostringstream text;
        if (!file || !(text << file.rdbuf())) {
            io.err += "cjpeg: can't open " + o.input + "\n";
            return 1;
        }
        bmp = std::move(text).str();
    }
    RgbPicture pic;
    std::string why, jpeg;
    if (!DecodeBmp24(bmp, &pic, &why)) {
        io.err += "cjpeg: " + why + "\n";
        return 1;
    }
    if (!Encode(pic, o.quality, &jpeg)) {
        io.err += "cjpeg: JPEG compression failed\n";
        return 1;
    }
    if (o.outfile.empty()) {
        io.out += jpeg;
    } else if (!WriteReplacing(outputHost, jpeg)) {
        io.err += "cjpeg: can't write " + o.outfile + "\n";
        return 1;
    }
    return 0;
}

}  // namespace plat::sandbox
