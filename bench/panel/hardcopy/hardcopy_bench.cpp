// One screen copy as the supervisor makes it: the framebuffer read, the BMP assembled and written to the
// stick with its sync, the settings text, while a GUI thread answers every 2 ms as the real one does.
#include <benchmark/benchmark.h>

#include <atomic>
#include <string>
#include <thread>

#include "core/system/links/usb_state.h"
#include "core/system/messaging/msg_ring.h"
#include "panel/hardcopy/hardcopy.h"
#include "panel/hardcopy/hardcopy_sync.h"
#include "platform/host/clock.h"
#include "platform/sandbox/sandbox_events.h"
#include "sysadmin/usb/usb_memory.h"
#include "tests/support/default_store.h"

namespace {

void BM_ScreenCopy(benchmark::State& state) {
    test::DefaultStore store;
    store.root.Write("/dev/fb0", std::string(1152000, '\x5a'));
    std::string error;
    plat::SandboxUsbEvent("insert sda1", &error);
    UsbMemSmReset();
    for (int i = 0; i < 40 && !UsbMemoryMounted(); ++i)
        UsbMem_MountCheck();
    std::atomic<bool> stop{false};
    std::thread gui([&] {
        while (!stop.load()) {
            if (Hardcopy_IsPending()) panel::HardcopyGuiStandsStill();
            plat::SleepMs(2);
        }
    });
    for (auto _ : state) {
        g_HardcopyCounter = 0;  // the same name each time: the copy replaces it
        state.PauseTiming();
        std::remove((store.root.path() + "/mnt/sd1/QXDIMC000.bmp").c_str());
        state.ResumeTiming();
        Hardcopy_KeyRequest();
        Hardcopy_Run();
    }
    stop.store(true);
    gui.join();
    char text[64] = {};
    MsgQueue_CopyText(text, sizeof text);
    state.SetLabel(text);
    state.SetBytesProcessed(state.iterations() * 1152054);
}
BENCHMARK(BM_ScreenCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
