// The running controller's menu/control thread at the panel: the lamps follow SHIFT and PRESET, LOCK
// drops keys until its long press, a remote command shows RMT and refuses keys until SHIFT then LOCAL,
// and the screen-copy key writes the screen and a settings text to the USB stick.
#include <sys/stat.h>

#include <cstring>

#include "tests/system/front_panel_suite.h"

namespace {

using namespace testsupport;

class PanelThread : public FrontPanelSuite {
  protected:
    static std::string Lamps() { return c().root() + "/var/run/panel-lamps"; }
    // The lamp word the simulated panel controller was sent last, one line.
    static bool WaitLamps(const std::string& word) { return WaitFile(Lamps(), word + "\n"); }
    static bool Exists(const std::string& path) {
        struct stat st {};
        return stat(path.c_str(), &st) == 0;
    }
};

TEST_F(PanelThread, LampsFollowShiftAndPreset) {
    EXPECT_TRUE(WaitLamps("0x0")) << ReadFile(Lamps());
    ASSERT_TRUE(Panel("key S"));
    EXPECT_TRUE(WaitLamps("0x2")) << ReadFile(Lamps());
    EXPECT_TRUE(WaitPixel(254, 2, 0x001F)) << "SHIFT cell of the status bar";
    ASSERT_TRUE(Panel("key S"));
    EXPECT_TRUE(WaitLamps("0x0")) << ReadFile(Lamps());
    EXPECT_TRUE(WaitPixel(254, 2, 0x0000));
    ASSERT_TRUE(Panel("key N"));
    EXPECT_TRUE(WaitLamps("0x4")) << ReadFile(Lamps());
    ASSERT_TRUE(Panel("key N"));
    EXPECT_TRUE(WaitLamps("0x0")) << ReadFile(Lamps());
}

TEST_F(PanelThread, LockedKeysAreDroppedUntilTheLongPress) {
    const std::string before = Ask("VOLT?");
    Keys({"key S", "key N"});
    Mark();
    ASSERT_TRUE(Panel("key K"));
    EXPECT_TRUE(WaitLogged(365, 190, "Keys Locked")) << TextLog();
    bool iconDrawn = false;
    for (int waited = 0; waited <= 5000 && !iconDrawn; waited += 20) {
        for (int x = 700; x <= 719 && !iconDrawn; ++x)
            for (int y = 0; y < 24 && !iconDrawn; ++y)
                iconDrawn = Pixel(x, y) != 0x0000;
        if (!iconDrawn) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(iconDrawn) << "lock icon at x 700-719";
    Keys({"key O", "knob 1"});
    Mark();
    ASSERT_TRUE(Panel("hold K"));
    EXPECT_TRUE(WaitLogged(365, 190, "Keys Unlocked")) << TextLog();
    EXPECT_EQ(Ask("VOLT?"), before);
}

TEST_F(PanelThread, RemoteShowsRmtAndRefusesKeysUntilLocal) {
    ASSERT_FALSE(Ask("*IDN?").empty());
    EXPECT_TRUE(WaitLogged(260, 3, "RMT")) << TextLog();
    Mark();
    ASSERT_TRUE(Panel("key X"));
    EXPECT_TRUE(WaitLogged(365, 175, "Invalid with \\nRemote Control")) << TextLog();
    Keys({"key S", "key N"});
    // RMT goes: its cell is cleared to the status bar's black.
    EXPECT_TRUE(WaitPixel(262, 8, 0x0000)) << "RMT cleared";
}

TEST_F(PanelThread, ScreenCopyGoesToTheStickWithTheSettingsText) {
    Keys({"key S", "key N"});
    Mark();
    ASSERT_TRUE(Panel("hold L"));
    EXPECT_TRUE(WaitLogged(365, 190, "USB Memory Unconnected")) << TextLog();
    EXPECT_FALSE(Exists(c().root() + "/mnt/sd1/QXDIMC000.bmp"));

    ASSERT_TRUE(Panel("usb insert sda1"));
    const std::string bmp = c().root() + "/mnt/sd1/QXDIMC000.bmp";
    bool mounted = false;
    for (int waited = 0; waited <= 10000 && !mounted; waited += 50) {
        mounted = Exists(c().root() + "/mnt/sd1");
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(mounted);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // the watch sees the stick
    const std::string snapshot = ReadFile(c().root() + "/dev/fb0");
    Mark();
    ASSERT_TRUE(Panel("hold L"));
    EXPECT_TRUE(WaitLogged(365, 175, "Screen Saved to\\nUSB:/QXDIMC000.bmp", false, 15000)) << TextLog();
    const std::string file = ReadFile(bmp);
    ASSERT_EQ(file.size(), 1152054u);
    const unsigned char header[] = {0x42, 0x4d, 0x36, 0x94, 0x11, 0x00, 0x00, 0x00, 0x00, 0x00, 0x36, 0x00,
                                    0x00, 0x00, 0x28, 0x00, 0x00, 0x00, 0x20, 0x03, 0x00, 0x00, 0xe0, 0x01,
                                    0x00, 0x00, 0x01, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x94,
                                    0x11, 0x00, 0xc4, 0x0e, 0x00, 0x00, 0xc4, 0x0e, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(file.substr(0, sizeof header), std::string(reinterpret_cast<const char*>(header), sizeof header));
    // Bottom-up rows of blue, green, red bytes, each channel's bits replicated to eight.
    ASSERT_GE(snapshot.size(), 800u * 480 * 2);
    int wrong = 0;
    for (int y = 0; y < 480; y += 7)
        for (int x = 0; x < 800; x += 3) {
            const size_t at = 2 * (800 * static_cast<size_t>(y) + x);
            const unsigned p = static_cast<unsigned char>(snapshot[at]) | (static_cast<unsigned char>(snapshot[at + 1]) << 8);
            const unsigned r5 = p >> 11, g6 = (p >> 5) & 0x3F, b5 = p & 0x1F;
            const size_t px = 54 + 3 * (800 * static_cast<size_t>(479 - y) + x);
            const unsigned char want[3] = {static_cast<unsigned char>((b5 << 3) | (b5 >> 2)),
                                           static_cast<unsigned char>((g6 << 2) | (g6 >> 4)),
                                           static_cast<unsigned char>((r5 << 3) | (r5 >> 2))};
            if (std::memcmp(file.data() + px, want, 3) != 0) ++wrong;
        }
    EXPECT_EQ(wrong, 0);
    const std::string info = ReadFile(c().root() + "/mnt/sd1/qx/VRN4100_Info.txt");
    EXPECT_EQ(info.size(), 1024u);
    EXPECT_EQ(info.rfind("Kernal Version\t20230316 10:32:51\nMachine Version\t1.06\n\nOutphase\t3P4W\nRange\t100V\n", 0), 0u)
        << info.substr(0, 120);

    Mark();
    Keys({"key S", "key C"});
    EXPECT_TRUE(WaitLogged(365, 175, "Screen Saved to\\nUSB:/QXDIMC001.bmp", false, 15000)) << TextLog();
}

}  // namespace
