// Drawing cost on the framebuffer: a full-screen fill, a full-screen XOR fill and a repaint of the whole
// screen (desktop and 40 windows that clear, frame, draw lines and discs). Each should fit in one GUI
// tick (2 ms).
#include <benchmark/benchmark.h>

#include "tests/GUI/screen_fixture.h"

namespace {

void BM_FillScreen(benchmark::State& state) {
    guitest::FreshScreen();
    GUI_SetPaintMode(static_cast<uint8_t>(state.range(0)));
    uint32_t color = 0;
    for (auto _ : state) {
        GUI_SetForeColor(color += 0x010203);
        LCD_FillBox(0, 0, 799, 479);
    }
    state.SetBytesProcessed(state.iterations() * 800 * 480 * 2);
}
BENCHMARK(BM_FillScreen)->Arg(0)->ArgName("normal")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillScreen)->Arg(LCD_DRAWMODE_XOR)->ArgName("xor")->Unit(benchmark::kMicrosecond);

void ClearDesktop(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) return WM_DefaultHandler(msg);
    GUI_SetBackColor(0x402010);
    GUI_ClearWindow();
}

void PaintPanel(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) return WM_DefaultHandler(msg);
    const WM_HWINDOW h = msg->hWin;
    const int w = WM_GetWidth(h), ht = WM_GetHeight(h);
    GUI_SetBackColor(0x303030);
    GUI_ClearWindow();
    GUI_SetForeColor(0xFFFFFF);
    GUI_DrawFrame(0, 0, w - 1, ht - 1);
    GUI_SetForeColor(0x00FFFF);
    for (int i = 0; i < 4; ++i)
        GUI_Line(4, 4 + 10 * i, w - 5, ht - 5 - 10 * i);
    GUI_SetForeColor(0x0000FF);
    GUI_FillDisc(w / 2, ht / 2, ht / 4);
    GUI_FillDisc(12, ht - 12, 8);
}

// 40 windows of 160 x 96: 25 tile the 800 x 480 screen, 15 more overlap them.
void BM_RepaintScreen(benchmark::State& state) {
    guitest::FreshScreen();
    {
        wm::Locked desktop(WM_GetDesktop());
        desktop->cb = ClearDesktop;
    }
    std::vector<WM_HWINDOW> windows;
    for (int i = 0; i < 40; ++i) {
        const int x = 160 * (i % 5) + (i >= 25 ? 40 : 0), y = 96 * (i / 5 % 5) + (i >= 25 ? 30 : 0);
        windows.push_back(WM_CreateTop(x, y, 160, 96, WM_CF_SHOW, PaintPanel, 0));
    }
    GUI_RunAll();
    for (auto _ : state) {
        WM_Invalidate(WM_GetDesktop());
        for (WM_HWINDOW h : windows)
            WM_Invalidate(h);
        benchmark::DoNotOptimize(GUI_RunAll());
    }
    state.counters["windows"] = static_cast<double>(WM_State.numWindows);
}
BENCHMARK(BM_RepaintScreen)->Unit(benchmark::kMicrosecond);

}  // namespace
