// Cost of bitmaps and text on the framebuffer: a full-screen 16-bpp image in the display's format, a
// screen of text, and an 800x480 24-bit BMP logo. The image and the text screen should each fit in one
// GUI tick (2 ms).
#include <benchmark/benchmark.h>

#include <vector>

#include "GUI/Fonts/fonts.h"
#include "GUI/bitmap/gui_image.h"
#include "tests/GUI/bmp_corpus_fixture.h"
#include "tests/GUI/screen_fixture.h"

namespace {

void BM_FullScreenImage(benchmark::State& state) {
    guitest::FreshScreen();
    std::vector<uint8_t> pixels(800 * 480 * 2);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<uint8_t>(i * 7);
    const GUI_IMAGE image = {800, 480, 1600, 16, pixels.data(), nullptr, &GUI_BitmapMethods565};
    for (auto _ : state)
        GUI_DrawImage(&image, 0, 0);
}
BENCHMARK(BM_FullScreenImage)->Unit(benchmark::kMicrosecond);

// 30 lines of 90 characters in the panel's most used font.
void BM_ScreenOfText(benchmark::State& state) {
    guitest::FreshScreen();
    GUI_SelectFont(&Font16c);
    GUI_SetBackColor(0x402010);
    std::string line;
    for (int i = 0; i < 90; ++i)
        line += static_cast<char>(0x21 + (i * 7) % 90);
    for (auto _ : state)
        for (int y = 0; y < 480; y += 16)
            GUI_DrawTextAt(line.c_str(), 0, y);
}
BENCHMARK(BM_ScreenOfText)->Unit(benchmark::kMicrosecond);

void BM_Logo(benchmark::State& state) {
    guitest::FreshScreen();
    const auto logo = guitest::Bmp24(800, 480, [](int x, int y) -> uint32_t { return x * 0x010101u ^ y; });
    for (auto _ : state)
        GUI_DrawBmpFile(logo.data(), static_cast<uint32_t>(logo.size()), 0, 0);
}
BENCHMARK(BM_Logo)->Unit(benchmark::kMillisecond);

}  // namespace
