// Cost of the graphics pool's allocations and of the window manager's pass over a front panel's worth of
// windows (600, laid out as the pages do: full-width rows, tiles and small fields, many hidden).
#include <benchmark/benchmark.h>

#include "tests/GUI/wm/wm_fixture.h"

namespace {

void NoPaint(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) WM_DefaultHandler(msg);
}

// state.range(0): request size in bytes. A block is taken and given back each time.
void BM_AllocRelease(benchmark::State& state) {
    guitest::FreshGui();
    const auto size = static_cast<uint32_t>(state.range(0));
    for (auto _ : state) {
        GUI_HBLOCK h = GUI_ALLOC_NewBlock(size);
        benchmark::DoNotOptimize(h);
        GUI_ALLOC_ReleaseBlock(h);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AllocRelease)->Arg(1)->Arg(48)->Arg(4096);

// 600 window objects into a fresh pool, as the pages build them at start-up.
void BM_Alloc600Windows(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        guitest::FreshGui();
        state.ResumeTiming();
        for (int i = 0; i < 600; ++i)
            benchmark::DoNotOptimize(GUI_ALLOC_NewZeroBlock(sizeof(WM_WINDOW)));
    }
    state.SetItemsProcessed(state.iterations() * 600);
}
BENCHMARK(BM_Alloc600Windows);

// A pool filled with 100-byte blocks, every other one released, then a request only defragmentation
// can serve.
void BM_AllocThroughDefragmentation(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        guitest::FreshGui(256 * 1024);
        std::vector<GUI_HBLOCK> blocks;
        while (GUI_HBLOCK h = GUI_ALLOC_NewBlock(100))
            blocks.push_back(h);
        for (size_t i = 0; i < blocks.size(); i += 2)
            GUI_ALLOC_ReleaseBlock(blocks[i]);
        state.ResumeTiming();
        benchmark::DoNotOptimize(GUI_ALLOC_NewBlock(50000));
    }
}
BENCHMARK(BM_AllocThroughDefragmentation);

void BuildPanel() {
    guitest::FreshGui();
    for (int page = 0; page < 6; ++page) {
        const int style = page == 0 ? WM_CF_SHOW : 0;
        const WM_HWINDOW root = WM_CreateTop(0, 0, 800, 480, style, NoPaint, 0);
        for (int row = 0; row < 10; ++row)
            WM_CreateChild(40, 30 + 28 * row, 720, 28, root, WM_CF_SHOW, NoPaint, 0);
        for (int tile = 0; tile < 40; ++tile) {
            WM_CreateChild(10 * (tile % 10) * 8, 300 + 60 * (tile / 10) % 180, 80, 60, root, WM_CF_SHOW,
                           NoPaint, 0);
        }
        for (int field = 0; field < 49; ++field) {
            WM_CreateChild(5 + 75 * (field % 10), 5 + 22 * (field / 10), 70, 22, root, WM_CF_SHOW, NoPaint,
                           0);
        }
    }
    WM_Run();
}

// state.range(0): 1 repaints every window of the shown page, 0 one small field.
void BM_WmRun600(benchmark::State& state) {
    BuildPanel();
    std::vector<WM_HWINDOW> shown;
    for (WM_HWINDOW h = WM_State.hFirst; h != 0; h = wm::Locked(h)->hNextLin) {
        GUI_BOX r = wm::Locked(h)->rect;
        if (wm::ClipToVisible(h, &r)) shown.push_back(h);
    }
    const WM_HWINDOW field = shown[shown.size() / 2];
    for (auto _ : state) {
        if (state.range(0)) {
            for (WM_HWINDOW h : shown)
                WM_Invalidate(h);
        } else {
            WM_Invalidate(field);
        }
        benchmark::DoNotOptimize(WM_Run());
    }
    state.counters["windows"] = static_cast<double>(WM_State.numWindows);
    state.counters["shown"] = static_cast<double>(shown.size());
}
BENCHMARK(BM_WmRun600)->Arg(0)->Arg(1);

}  // namespace
