// The running controller's panel: the home page it starts with (on the screen, in the text log, and shown
// by vrn-fbpng), the waveform editor's stored wave, the wiring change, the web server. Any SCPI command puts
// the panel in remote: SHIFT then PRESET (or SYST:COMM:RLST LOC) returns it to local before the next keys.
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/support/jpeg_read.h"
#include "tests/support/png_read.h"
#include "tests/support/tcp_client.h"
#include "tests/system/panel/fb_png.h"
#include "tests/system/panel/front_panel_suite.h"

namespace {

using namespace testsupport;

class PanelKeys : public FrontPanelSuite {
  protected:
    static int Port(int instrumentPort) { return instrumentPort + c().portOffset(); }
    struct Response {
        std::string head, body;
    };
    // One HTTP/1.0 request; the server closes after its answer (at most 10 s).
    static Response Http(int instrumentPort, const std::string& request) {
        TcpClient client(Port(instrumentPort));
        client.Send(request + " HTTP/1.0\r\n\r\n");
        std::string all;
        for (int waited = 0; waited < 10000; waited += 200) {
            const std::string part = client.ReadFor(200);
            if (part.empty() && !all.empty()) break;
            all += part;
        }
        const size_t end = all.find("\r\n\r\n");
        if (end == std::string::npos) return {all, ""};
        return {all.substr(0, end + 2), all.substr(end + 4)};
    }
    static std::string Status(const Response& r) { return r.head.substr(0, 12); }
};

// First in the suite: the home page covers the self-test screen (golden/home_page.png), its status bar is
// in the text log once the panel has caught up, and the console blanking was switched off once.
TEST_F(PanelKeys, StartShowsTheHomePageAndLogsItsText) {
    const std::string out = c().Output();
    for (const char* line :
         {"screensize=1152000\n", "/dev/fb0 opened.\n", "Zorvek memory mapped at address "})
        EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
    EXPECT_EQ(ScreenMatchesGolden(c().root(), c().workDir(), "home_page"), "");
    ASSERT_TRUE(Sync());
    // The wiring right-aligned to (638,3), the range from (91,4).
    const std::string text = TextLog();
    EXPECT_NE(text.find("638 3 1 0xFFFF Font16a 3P4W\n"), std::string::npos) << text;
    EXPECT_NE(text.find("91 4 0 0xFFFF Font16a 100V\n"), std::string::npos) << text;
    const std::string commands = ReadFile(c().root() + "/var/log/commands.log");
    EXPECT_EQ(CountOf(commands, "> /dev/tty1"), 1u) << commands;
}

// vrn-fbpng refuses a file that holds no whole screen, and writes nothing then; it never writes its
// input, named alone or as the output too, and says its usage when asked.
TEST_F(PanelKeys, ScreenToolRefusesAFileWithoutAWholeScreen) {
    const std::string dir = c().workDir();
    std::ofstream(dir + "/short") << std::string(768000 - 1, '\0');
    std::ofstream(dir + "/copy.png") << ReadFile(c().root() + "/dev/fb0");
    const std::string fb = c().root() + "/dev/fb0";
    const struct {
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {{dir + "/missing", dir + "/a.png"}, 1},
        {{dir + "/short", dir + "/b.png"}, 1},
        {{c().root() + "/dev/fb0", dir + "/no/such/folder/c.png"}, 1},
        {{}, 2},
        {{"--help"}, 0},
        {{fb}, 2},
        {{fb, fb}, 2},
        {{dir + "/copy.png", dir + "/copy.png"}, 2},
    };
    const size_t fbSize = ReadFile(fb).size();
    for (const auto& [args, status] : cases)
        EXPECT_EQ(RunFbPng(args), status) << (args.empty() ? "no arguments" : args.back());
    // An output name alone reads ./vrnroot/dev/fb0: taken (0), or refused for that file (1), never the usage.
    EXPECT_NE(RunFbPng({dir + "/d.png"}), 2) << "the output name alone";
    EXPECT_EQ(ReadFile(fb).size(), fbSize) << "the framebuffer was written";
    EXPECT_NE(ReadFile(dir + "/copy.png").substr(1, 3), "PNG");
    EXPECT_NE(access((dir + "/a.png").c_str(), F_OK), 0);
    EXPECT_NE(access((dir + "/b.png").c_str(), F_OK), 0);
}

// The waveform editor opened from the top menu, its type set remotely, a crest factor typed on the keypad
// and the built wave stored. Every SCPI message returns the panel to local.
TEST_F(PanelKeys, WaveformEditorStoresTheBuiltWave) {
    Mark();
    ASSERT_TRUE(Panel("key L"));
    for (int i = 0; i < 15; ++i)
        ASSERT_TRUE(Panel("knob -1"));
    Keys({"knob 1", "knob 1", "knob 1", "key U"});
    EXPECT_TRUE(WaitLogged(0, 12, "Arbitrary Edit")) << TextLog();
    SendLocal("SYST:ARB:EDIT:BUIL CFAC1");
    Keys({"knob -1", "key U", "key A", "key J", "key B", "key E", "key U"});
    EXPECT_EQ(Query("SYST:ARB:EDIT:CFAC1?"), "+1.3000");

    // ARB NO. 17, then soft key 1 stores the built wave there.
    const std::string arb17 = c().root() + "/mnt/tst/ARB/ARB17.ARB";
    std::filesystem::remove(arb17);
    Keys({"knob -1", "key U", "key A", "key G", "key U", "key Y"});
    std::error_code ec;
    for (int waited = 0; waited <= 10000 && std::filesystem::file_size(arb17, ec) != 8260; waited += 50)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(std::filesystem::file_size(arb17, ec), 8260u);
    Keys({"key V", "key L"});  // home again
}

// The wiring change from the panel: the wiring choice, its confirmation, the popups and what the power
// stage applies, and the settings of each wiring kept apart.
TEST_F(PanelKeys, WiringChangeTo1P2WAndBack) {
    Send("VOLT 100");
    ASSERT_EQ(Ask("VOLT?"), "+100.0000");
    Keys({"key S", "key N"});
    Mark();
    Keys({"key S", "key H", "key W", "key U", "key V", "key U"});
    EXPECT_TRUE(c().WaitForOutput("popup: Configure Phase Toggle,\nPlease wait...")) << c().Output();
    EXPECT_TRUE(c().WaitForOutput("popup: Configure Phase is Ready")) << c().Output();
    EXPECT_TRUE(StageHas(2355, "1")) << c().Output();
    // The 100 V range goes over as 1P2W's own code; the stage takes 0 for 100 V in every wiring.
    EXPECT_TRUE(StageHas(2347, "0")) << c().Output();
    EXPECT_EQ(Ask("VOLT:RANG?"), "100");
    // The home page's status bar follows: its wiring cell, right-aligned to (638, 3).
    EXPECT_TRUE(WaitLogged(638, 3, "1P2W")) << TextLog();
    EXPECT_TRUE(Sync());
    Keys({"key S", "key N", "key S", "key H", "key V", "key U", "key V", "key U"});
    EXPECT_TRUE(StageHas(2355, "0")) << c().Output();
    EXPECT_EQ(Ask("VOLT?"), "+100.0000");
    Keys({"key S", "key N"});  // local again for the next keys
}

// The web server: the screen as a JPEG on port 81, compared with the screen as vrn-fbpng shows it just
// before and after (a capture taken while the screen changed is taken again), a refused web key, the lock
// release over HTTP, and a screen copy to USB memory while a client keeps asking for the screen.
TEST_F(PanelKeys, WebCaptureOnPort81IsTheScreenAsA800x480Jpeg) {
    ASSERT_TRUE(c().WaitForOutput("Web: serving port " + std::to_string(Port(81)), 10000)) << c().Output();
    const std::string before = c().workDir() + "/web-before.png", after = c().workDir() + "/web-after.png";
    testsupport::RgbImage jpeg, png, png2;
    for (int attempt = 0; attempt < 20; ++attempt) {
        ASSERT_EQ(testsupport::RunFbPng({c().root() + "/dev/fb0", before}), 0);
        const Response r = Http(81, "GET /capture.jpg");
        ASSERT_EQ(Status(r), "HTTP/1.0 200") << r.head;
        EXPECT_NE(r.head.find("Content-Type: image/jpeg\r\n"), std::string::npos) << r.head;
        ASSERT_TRUE(testsupport::DecodeJpeg(r.body, &jpeg));
        ASSERT_EQ(testsupport::RunFbPng({c().root() + "/dev/fb0", after}), 0);
        ASSERT_TRUE(testsupport::ReadRgbPng(before, &png));
        ASSERT_TRUE(testsupport::ReadRgbPng(after, &png2));
        if (png.rgb == png2.rgb) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    ASSERT_EQ(jpeg.width, 800);
    ASSERT_EQ(jpeg.height, 480);
    ASSERT_EQ(png.rgb.size(), jpeg.rgb.size());
    double sum[3] = {};
    for (size_t i = 0; i < png.rgb.size(); ++i)
        sum[i % 3] += std::abs(static_cast<int>(png.rgb[i]) - static_cast<int>(jpeg.rgb[i]));
    for (double s : sum)
        EXPECT_LE(s / (800.0 * 480.0), 6.0);
    EXPECT_NE(ReadFile(c().root() + "/var/log/commands.log").find("ran 0 cjpeg -outfile /tmp/image.jpg /tmp/image.bmp"),
              std::string::npos);
}

TEST_F(PanelKeys, WebUnlockTurnsRemoteWithLockIntoRemote) {
    Send("SYST:COMM:RLST LREM");
    EXPECT_EQ(Ask("SYST:COMM:RLST?"), "LREM");
    EXPECT_EQ(Status(Http(80, "POST /unlock")), "HTTP/1.0 200");
    std::string state;
    for (int waited = 0; waited <= 10000 && (state = Ask("SYST:COMM:RLST?")) != "REM"; waited += 50)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(state, "REM");
}

TEST_F(PanelKeys, WebScreenCopyToUsbWhileAClientLoopsOnTheCaptureTakesTurnsWithIt) {
    EXPECT_EQ(Ask("SYST:COMM:RLST LOC;RLST?"), "LOC");  // keys are refused in remote
    ASSERT_TRUE(Panel("usb insert sda1"));
    const std::string bmp = c().root() + "/mnt/sd1/QXDIMC000.bmp";
    for (int waited = 0; waited <= 10000 && !std::filesystem::exists(c().root() + "/mnt/sd1"); waited += 50)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // the watch sees the stick

    std::atomic<bool> stop{false};
    int captures = 0, undecoded = 0;
    long longestMs = 0;
    std::thread client([&] {
        while (!stop.load()) {
            const auto start = std::chrono::steady_clock::now();
            const Response r = Http(81, "GET /capture.jpg");
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
            longestMs = std::max(longestMs, static_cast<long>(ms.count()));
            testsupport::RgbImage img;
            ++captures;
            if (Status(r) != "HTTP/1.0 200" || !testsupport::DecodeJpeg(r.body, &img) || img.width != 800) ++undecoded;
        }
    });
    Mark();
    ASSERT_TRUE(Panel("hold L"));
    EXPECT_TRUE(WaitLogged(365, 175, "Screen Saved to\\nUSB:/QXDIMC000.bmp", false, 15000)) << TextLog();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    stop.store(true);
    client.join();
    EXPECT_EQ(ReadFile(bmp).size(), 1152054u);
    EXPECT_GT(captures, 1);
    EXPECT_EQ(undecoded, 0);
    EXPECT_LT(longestMs, 10000);
}

}  // namespace
