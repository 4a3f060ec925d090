// The screen copy: free names on the stick, the BMP file, and every way a copy can fail.
#include "panel/hardcopy/hardcopy.h"

#include <sys/resource.h>

#include <csignal>
#include <thread>

#include "core/system/links/usb_state.h"
#include "core/system/links/web_capture.h"
#include "panel/gui_thread.h"
#include "panel/hardcopy/bmp_writer.h"
#include "panel/hardcopy/hardcopy_sync.h"
#include "platform/host/clock.h"
#include "tests/panel/hardcopy/hardcopy_fixture.h"

namespace hardcopytest {
namespace {

std::string Name(int n) {
    char name[32];
    std::snprintf(name, sizeof name, "/mnt/sd1/QXDIMC%03d.bmp", n);
    return name;
}

TEST_F(HardcopyTest, NamesContinueFromTheCounterSkipTakenOnesWrapAndRestartOnARemount) {
    for (int n = 0; n < 5; ++n)
        store.root.Write(Name(n), "taken");
    CopyKey();
    EXPECT_EQ(Popup(), "Screen Saved to\nUSB:/QXDIMC005.bmp");
    EXPECT_EQ(File(Name(5)).size(), 1152054u);
    EXPECT_EQ(g_HardcopyCounter, 6u) << "006 is tried next";

    g_HardcopyCounter = 999;
    CopyKey();
    EXPECT_EQ(Popup(), "Screen Saved to\nUSB:/QXDIMC999.bmp");
    store.root.Write(Name(0), "");  // an empty file counts as free
    CopyKey();
    EXPECT_EQ(Popup(), "Screen Saved to\nUSB:/QXDIMC000.bmp");
    EXPECT_EQ(File(Name(0)).size(), 1152054u);

    CopyKey();
    EXPECT_EQ(Popup(), "Screen Saved to\nUSB:/QXDIMC006.bmp");
    RemoveStick();
    std::remove((store.root.path() + "/var/lib/sandbox/usb/QXDIMC002.bmp").c_str());
    InsertStick();
    CopyKey();
    EXPECT_EQ(Popup(), "Screen Saved to\nUSB:/QXDIMC002.bmp") << "numbering starts again at 000";
    CopyKey();
    EXPECT_EQ(Popup(), "Screen Saved to\nUSB:/QXDIMC007.bmp");
    EXPECT_TRUE(File(Name(4)) == "taken");
}

TEST_F(HardcopyTest, WithoutAUsableStickOrAFreeNameTheKeyOnlyTellsWhy) {
    RemoveStick();
    CopyKey();
    EXPECT_EQ(Popup(), "USB Memory Unconnected");
    EXPECT_EQ(Folder("/mnt/sd1"), std::vector<std::string>{});
    InsertStick();
    g_UsbState.usbAccessError.store(1);
    CopyKey();
    EXPECT_EQ(Popup(), "USB Memory Access Error");
    EXPECT_EQ(Folder("/mnt/sd1"), std::vector<std::string>{});
    g_UsbState.usbAccessError.store(0);
    for (int n = 0; n < 1000; ++n)
        store.root.Write(Name(n), "x");
    Hardcopy_KeyRequest();
    EXPECT_FALSE(Hardcopy_IsPending()) << "every name taken";
    EXPECT_EQ(Popup(), "Hardcopy Fail!\n(Too Many Files in USB)");
}

TEST_F(HardcopyTest, BmpHoldsTheScreenBottomRowFirstWithBitReplicatedColours) {
    FillScreen([](int x, int y) -> uint16_t {
        if (y == 479) return x == 0 ? 0x0001 : 0xFFFF;
        if (y == 0) return x == 0 ? 0x07E0 : 0xF800;
        return x == 5 && y == 200 ? 0x8410 : 0;
    });
    CopyKey();
    const std::string bmp = File(Name(0));
    ASSERT_EQ(bmp.size(), 1152054u);
    const std::vector<uint8_t> header = {
        0x42, 0x4d, 0x36, 0x94, 0x11, 0x00, 0x00, 0x00, 0x00, 0x00, 0x36, 0x00, 0x00, 0x00, 0x28, 0x00, 0x00, 0x00,
        0x20, 0x03, 0x00, 0x00, 0xe0, 0x01, 0x00, 0x00, 0x01, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x94,
        0x11, 0x00, 0xc4, 0x0e, 0x00, 0x00, 0xc4, 0x0e, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(bmp.begin(), bmp.begin() + 54), header);
    const auto pixel = [&](int storedRow, int x) {
        const size_t at = 54 + static_cast<size_t>(storedRow) * 2400 + 3 * x;
        return std::vector<uint8_t>(bmp.begin() + at, bmp.begin() + at + 3);
    };
    using Bgr = std::vector<uint8_t>;
    EXPECT_EQ(pixel(0, 0), (Bgr{8, 0, 0})) << "screen row 479 is stored first";
    EXPECT_EQ(pixel(0, 1), (Bgr{0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(pixel(479, 0), (Bgr{0, 0xFF, 0}));
    EXPECT_EQ(pixel(479, 799), (Bgr{0, 0, 0xFF}));
    EXPECT_EQ(pixel(279, 5), (Bgr{0x84, 0x82, 0x84}));
    EXPECT_EQ(pixel(279, 6), (Bgr{0, 0, 0}));
}

TEST_F(HardcopyTest, UnreadableFramebufferOrFailedWriteLeavesNoFile) {
    std::remove((store.root.path() + "/dev/fb0").c_str());
    EXPECT_EQ(Bmp_WriteScreen("/mnt/sd1/a.bmp"), -1);
    store.root.Write("/dev/fb0", std::string(1151999, '\0'));
    EXPECT_EQ(Bmp_WriteScreen("/mnt/sd1/a.bmp"), -1) << "a short framebuffer";
    CopyKey();
    EXPECT_EQ(Popup(), "USB File Write Error!");
    EXPECT_EQ(Folder("/mnt/sd1"), std::vector<std::string>{}) << "neither the picture nor the settings text";

    // A full stick: the file system takes only part of the picture.
    FillScreen([](int, int) { return uint16_t{0x1234}; });
    store.root.Write("/tmp/image.bmp", "the last one");
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 500000;
    setrlimit(RLIMIT_FSIZE, &small);
    const int result = Bmp_WriteScreen("/tmp/image.bmp");
    CopyKey();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result, -2);
    EXPECT_TRUE(File("/tmp/image.bmp") == "the last one");
    EXPECT_EQ(Popup(), "USB File Write Error!");
    EXPECT_EQ(Folder("/mnt/sd1"), std::vector<std::string>{});
    EXPECT_EQ(Bmp_WriteScreen("/mnt/nowhere/a.bmp"), -2);
}

TEST_F(HardcopyTest, WebCaptureIsAwaitedAndAHungOneEndsTheCopyWithAnError) {
    g_WebScreenCopyOwner.store(1);
    Hardcopy_KeyRequest();
    const uint64_t start = plat::NowMs();
    Hardcopy_Run();
    EXPECT_GE(plat::NowMs() - start, 10000u);
    EXPECT_FALSE(Hardcopy_IsPending());
    EXPECT_EQ(Popup(), "USB File Write Error!");
    EXPECT_FALSE(Exists(Name(0)));

    Hardcopy_KeyRequest();
    std::thread web([] {
        plat::SleepMs(1000);
        g_WebScreenCopyOwner.store(0);
    });
    Hardcopy_Run();
    web.join();
    EXPECT_EQ(Popup(), "Screen Saved to\nUSB:/QXDIMC001.bmp");
}

// The GUI pass that was painting when the key came finishes its frame; the copy takes that frame. The
// GUI's answer to one copy does not let the next one through.
TEST_F(HardcopyTest, CopyWaitsForTheGuiPassThatWasPainting) {
    plat::SetTimeScale(1);
    // Both frames made beforehand: the copy waits only a short while for the GUI, and computing a frame
    // on a slow machine would outlast that wait.
    const std::string dark = Frame([](int, int) { return uint16_t{0x0001}; });
    const std::string painted = Frame([](int, int) { return uint16_t{0xFFFF}; });
    for (int copy = 0; copy < 2; ++copy) {
        store.root.Write("/dev/fb0", dark);
        Hardcopy_KeyRequest();
        std::thread supervisor(Hardcopy_Run);
        plat::SleepMs(20);
        store.root.Write("/dev/fb0", painted);  // the end of the frame being painted
        // GUI passes until the copy is taken: bounded well inside the copy's own 10 s wait for the GUI, so
        // that a slow machine still sees the answer.
        for (int i = 0; i < 3000 && Hardcopy_IsPending(); ++i) {
            GuiThread_Pass();
            plat::SleepMs(2);
        }
        supervisor.join();
        const std::string bmp = File(Name(copy));
        ASSERT_EQ(bmp.size(), 1152054u);
        EXPECT_EQ(static_cast<uint8_t>(bmp[54]), 0xFF) << copy;
    }
}

// The web server's capture reads the framebuffer under its flag: the GUI thread answers that it stands still
// and paints nothing until the flag is given back.
TEST_F(HardcopyTest, GuiStandsStillWhileTheWebCaptureFlagIsSet) {
    plat::SetTimeScale(1);
    g_WebScreenCopyOwner.store(1);
    std::thread web([] { EXPECT_TRUE(panel::HardcopyWaitGuiStill(2000)); });
    for (int i = 0; i < 50; ++i) {
        GuiThread_Pass();
        plat::SleepMs(2);
    }
    web.join();
    g_WebScreenCopyOwner.store(0);
}

}  // namespace
}  // namespace hardcopytest
