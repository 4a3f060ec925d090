// vrn-fbpng [FBFILE] OUT.png: the screen of a controller as a PNG picture. FBFILE is the framebuffer
// file of the controller's root (default ./vrnroot/dev/fb0); the first 800 x 480 pixels are the screen.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
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

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: vrn-fbpng [FBFILE] OUT.png\n");
        return 2;
    }
    const char* fbFile = argc == 3 ? argv[1] : "./vrnroot/dev/fb0";
    const char* out = argv[argc - 1];
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
