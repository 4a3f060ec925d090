#include "tests/GUI/screen_fixture.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "GUI/device/fb_driver.h"
#include "GUI/device/fb_png.h"
#include "GUI/lcd/color_rgb.h"
#include "platform/host/root.h"
#include "platform/host/root_provision.h"
#include "tests/support/png_read.h"
#include "tests/support/temp_root.h"

namespace guitest {

namespace {

std::string g_folder;
pid_t g_owner = 0;

// Only by the process that made it: a forked child's exit leaves it to its parent.
void RemoveFolder() {
    if (getpid() != g_owner) return;
    std::error_code ec;
    std::filesystem::remove_all(g_folder, ec);
}

void GreyPagePaint(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) {
        WM_DefaultHandler(msg);
        return;
    }
    SetColorRGB(0x404040);
    GUI_FillBox(0, 0, 799, 479);
}

std::string GoldenDir() {
    return std::filesystem::path(__FILE__).parent_path().string() + "/golden";
}

}  // namespace

void UseScreenRoot() {
    if (!g_folder.empty()) return;
    g_folder = testsupport::MakeTempFolder("vrn-screen-");
    g_owner = getpid();
    plat::SetRoot(g_folder);
    ASSERT_EQ(plat::PrepareRoot(), 0);
    std::atexit(RemoveFolder);
}

void FreshScreen() {
    UseScreenRoot();
    GUI_ConfigureMemory();
    GUI_Context = GUI_DRAWCTX{};
    WM_State = WM_STATE{};
    LCD_ConfigureDisplay();
    GUI_InitContextDefaults(&GUI_Context);
    ASSERT_EQ(LCD_Start(), 0);
    GUI_SetScreenOrigin(0, 0);
    WM_Setup();
    WM_Run();
}

void FreshScreenOnGreyPage() {
    FreshScreen();
    WM_CreateTop(0, 0, 800, 480, WM_CF_SHOW, GreyPagePaint, 0);
}

std::vector<uint8_t> FileBytes() {
    std::vector<uint8_t> bytes(kLcdFramebufferBytes);
    const int fd = open(plat::MapPath("/dev/fb0").c_str(), O_RDONLY | O_CLOEXEC);
    const ssize_t n = fd >= 0 ? pread(fd, bytes.data(), bytes.size(), 0) : -1;
    if (fd >= 0) close(fd);
    bytes.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return bytes;
}

std::vector<uint16_t> Screen() {
    const std::vector<uint8_t> bytes = FileBytes();
    std::vector<uint16_t> pixels(static_cast<size_t>(kLcdXSize) * kLcdYSize);
    for (size_t i = 0; i < pixels.size() && 2 * i + 1 < bytes.size(); ++i)
        pixels[i] = static_cast<uint16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return pixels;
}

uint16_t PixelAt(int x, int y) {
    return Screen()[static_cast<size_t>(y) * kLcdXSize + x];
}

uint16_t Rgb565(uint32_t rgb) {
    return static_cast<uint16_t>(Color2Index_565((rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF)));
}

GUI_BOX Extent(const GUI_BOX& box, uint16_t colour, bool match) {
    const std::vector<uint16_t> screen = Screen();
    GUI_BOX e{-1, -1, -1, -1};
    for (int16_t y = box.y0; y <= box.y1; ++y)
        for (int16_t x = box.x0; x <= box.x1; ++x) {
            if ((screen[static_cast<size_t>(y) * kLcdXSize + x] == colour) != match) continue;
            e = e.x0 < 0 ? GUI_BOX{x, y, x, y}
                         : GUI_BOX{std::min(e.x0, x), e.y0, std::max(e.x1, x), std::max(e.y1, y)};
        }
    return e;
}

void ExpectGolden(const std::string& name, const GUI_BOX& rect) {
    const std::string golden = GoldenDir() + "/" + name + ".png";
    const std::vector<uint16_t> screen = Screen();
    const char* update = std::getenv("VRN_UPDATE_GOLDENS");
    if (update != nullptr && std::string(update) == "1") {
        std::filesystem::create_directories(GoldenDir());
        ASSERT_EQ(FbWriteScreenRectPng(rect, golden), 0) << golden;
        return;
    }
    const int w = rect.x1 - rect.x0 + 1, h = rect.y1 - rect.y0 + 1;
    testsupport::RgbImage expected;
    const bool read =
        testsupport::ReadRgbPng(golden, &expected) && expected.width == w && expected.height == h;
    std::vector<uint16_t> want(static_cast<size_t>(w) * h, 0), diff(want.size(), 0);
    int mismatches = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const size_t i = static_cast<size_t>(y) * w + x;
            if (read) {
                const uint8_t* p = &expected.rgb[3 * i];
                want[i] = static_cast<uint16_t>(Color2Index_565(p[0] | p[1] << 8 | p[2] << 16));
            }
            const uint16_t got = screen[static_cast<size_t>(rect.y0 + y) * kLcdXSize + rect.x0 + x];
            if (got != want[i] || !read) {
                ++mismatches;
                diff[i] = 0xFFFF;
            }
        }
    }
    if (read && mismatches == 0) return;
    const std::string out = "golden-out/" + name;
    std::filesystem::create_directories("golden-out");
    const GUI_BOX whole{0, 0, static_cast<int16_t>(w - 1), static_cast<int16_t>(h - 1)};
    FbWriteScreenRectPng(rect, out + ".actual.png");
    FbWritePng(want.data(), w, whole, out + ".expected.png");
    FbWritePng(diff.data(), w, whole, out + ".diff.png");
    ADD_FAILURE() << name << ": "
                  << (read ? std::to_string(mismatches) + " pixels differ" : "no golden " + golden)
                  << "; pictures in " << std::filesystem::absolute(out).string() << ".*.png";
}

}  // namespace guitest
