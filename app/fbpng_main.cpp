// vrn-fbpng [FBFILE] OUT.png: the screen of a controller as a PNG picture. FBFILE is the framebuffer
// file of the controller's root (default ./vrnroot/dev/fb0); the first 800 x 480 pixels are the screen.
// The output must be named *.png and is never the input: a framebuffer named by mistake as the only
// argument would otherwise be written over with a picture while its controller runs on it.
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "GUI/lcd/lcd.h"
#include "GUI/device/fb_png.h"

namespace {

// The whole visible screen or nothing: a shorter file is refused.
bool ReadScreen(const char* path, std::vector<uint16_t>* pixels) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    pixels->assign(static_cast<size_t>(kLcdXSize) * kLcdYSize, 0);
    auto* bytes = reinterpret_cast<char*>(pixels->data());
    const size_t want = pixels->size() * sizeof(uint16_t);
    size_t done = 0;
    while (done < want) {
        const ssize_t n = pread(fd, bytes + done, want - done, static_cast<off_t>(done));
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    close(fd);
    return done == want;
}

constexpr char kUsage[] =
    "usage: vrn-fbpng [FBFILE] OUT.png\n"
    "Writes the screen held in FBFILE (a controller's ROOT/dev/fb0, default ./vrnroot/dev/fb0) as the\n"
    "800x480 PNG picture OUT.png. FBFILE is only read.\n";

bool EndsInPng(const char* name) {
    const size_t n = std::strlen(name);
    return n > 4 && strcasecmp(name + n - 4, ".png") == 0;
}

bool SameFile(const char* a, const char* b) {
    struct stat sa {}, sb {};
    return stat(a, &sa) == 0 && stat(b, &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc < 2 || argc > 3) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const char* fbFile = argc == 3 ? argv[1] : "./vrnroot/dev/fb0";
    const char* out = argv[argc - 1];
    if (!EndsInPng(out) || SameFile(fbFile, out)) {
        std::fprintf(stderr, "vrn-fbpng: %s is no picture to write (name it *.png, not the framebuffer)\n%s",
                     out, kUsage);
        return 2;
    }
    std::vector<uint16_t> pixels;
    if (!ReadScreen(fbFile, &pixels)) {
        std::fprintf(stderr, "vrn-fbpng: %s does not hold a whole %dx%d screen\n", fbFile, kLcdXSize,
                     kLcdYSize);
        return 1;
    }
    if (FbWritePng(pixels.data(), kLcdXSize, {0, 0, kLcdXSize - 1, kLcdYSize - 1}, out) != 0) {
        std::fprintf(stderr, "vrn-fbpng: cannot write %s\n", out);
        return 1;
    }
    return 0;
}
