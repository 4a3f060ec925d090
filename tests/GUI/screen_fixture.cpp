#include "tests/GUI/screen_fixture.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "GUI/device/fb_driver.h"
#include "GUI/device/fb_png.h"
#include "GUI/lcd/color_rgb.h"
#include "GUI/text/gui_font.h"
#include "platform/host/root.h"
#include "platform/host/root_provision.h"
#include "tests/support/png_read.h"
#include "tests/support/temp_root.h"

namespace guitest {

namespace {

std::string g_folder;
pid_t g_owner = 0;
uint32_t g_missingGlyphs = 0;
uint32_t g_overflows = 0;

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

// The topmost shown window at (x, y): the last shown child holding the point, from the desktop down.
WM_HWINDOW TopmostAt(int x, int y) {
    WM_HWINDOW found = WM_GetDesktop();
    for (bool deeper = true; deeper;) {
        deeper = false;
        for (WM_HWINDOW c = wm::Locked(found)->hFirstChild; c != 0; c = wm::Locked(c)->hNext) {
            wm::Locked w(c);
            if ((w->status & WM_SF_VISIBLE) != 0 && x >= w->rect.x0 && x <= w->rect.x1 && y >= w->rect.y0 &&
                y <= w->rect.y1) {
                found = c;
                deeper = true;
            }
        }
    }
    return found;
}

// The random picture of a seed, drawn pixel by pixel with the window manager out of the way.
std::vector<uint16_t> RandomPicture(uint32_t seed) {
    std::vector<uint16_t> picture(static_cast<size_t>(kLcdXSize) * kLcdYSize);
    WM_Select(WM_GetDesktop());
    for (size_t i = 0; i < picture.size(); ++i) {
        seed = seed * 1103515245u + 12345u;
        picture[i] = static_cast<uint16_t>(seed >> 16);
        LCD_SetForeIndex(picture[i]);
        LCD_Pixel(static_cast<int>(i % kLcdXSize), static_cast<int>(i / kLcdXSize));
    }
    return picture;
}

void PaintAll() {
    wm::InvalidateArea(GUI_BOX{0, 0, kLcdXSize - 1, kLcdYSize - 1}, WM_GetDesktop(), 0);
    for (int pass = 0; pass < 8 && WM_Run() != 0; ++pass) {
    }
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
    g_missingGlyphs = GUI_MissingGlyphCount();
    g_overflows = GUI_TextOverflowCount();
}

uint32_t MissingGlyphsSinceFresh() {
    return GUI_MissingGlyphCount() - g_missingGlyphs;
}

uint32_t OverflowsSinceFresh() {
    return GUI_TextOverflowCount() - g_overflows;
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

int CountColour(const std::vector<uint16_t>& screen, const GUI_BOX& box, uint16_t colour) {
    int n = 0;
    for (int y = box.y0; y <= box.y1; ++y)
        for (int x = box.x0; x <= box.x1; ++x)
            n += screen[static_cast<size_t>(y) * kLcdXSize + x] == colour;
    return n;
}

std::vector<int> UnpaintedPixels(const std::vector<WM_HWINDOW>& transparent) {
    const std::vector<uint16_t> first = RandomPicture(1);
    PaintAll();
    const std::vector<uint16_t> a = Screen();
    const std::vector<uint16_t> second = RandomPicture(2);
    PaintAll();
    const std::vector<uint16_t> b = Screen();
    std::vector<int> out;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != first[i] || b[i] != second[i]) continue;
        const WM_HWINDOW top = TopmostAt(static_cast<int>(i % kLcdXSize), static_cast<int>(i / kLcdXSize));
        if (std::find(transparent.begin(), transparent.end(), top) == transparent.end())
            out.push_back(static_cast<int>(i));
    }
    return out;
}

std::string Describe(const std::vector<int>& pixels) {
    // Per topmost window: its place, how many of its pixels and the box around them.
    std::map<WM_HWINDOW, std::pair<int, GUI_BOX>> byWindow;
    for (int i : pixels) {
        const int16_t x = static_cast<int16_t>(i % kLcdXSize), y = static_cast<int16_t>(i / kLcdXSize);
        auto [it, fresh] = byWindow.try_emplace(TopmostAt(x, y), 0, GUI_BOX{x, y, x, y});
        GUI_BOX& b = it->second.second;
        b = {std::min(b.x0, x), std::min(b.y0, y), std::max(b.x1, x), std::max(b.y1, y)};
        ++it->second.first;
    }
    std::string out = std::to_string(pixels.size()) + " pixels unpainted";
    auto box = [](const GUI_BOX& b) {
        return "(" + std::to_string(b.x0) + ", " + std::to_string(b.y0) + ")-(" + std::to_string(b.x1) +
               ", " + std::to_string(b.y1) + ")";
    };
    for (const auto& [h, n] : byWindow)
        out += "\n  window " + box(wm::Locked(h)->rect) + ": " + std::to_string(n.first) + " in " +
               box(n.second);
    return out;
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
