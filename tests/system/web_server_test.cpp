// The web server of a running controller: the screen as a JPEG on port 81, a refused web key, the lock
// release over HTTP, and a screen copy to USB memory while a client keeps asking for the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <string>

#include "tests/support/jpeg_read.h"
#include "tests/support/png_read.h"
#include "tests/support/tcp_client.h"
#include "tests/system/fb_png.h"
#include "tests/system/front_panel_suite.h"

namespace {

using testsupport::TcpClient;

class WebServer : public testsupport::FrontPanelSuite {
  protected:
    static void SetUpTestSuite() {
        FrontPanelSuite::SetUpTestSuite();
        ASSERT_TRUE(c().WaitForOutput("Web: serving port " + std::to_string(Port(81)), 10000)) << c().Output();
    }
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

// Compared with the screen as vrn-fbpng shows it just before and after; a capture taken while the screen
// changed (the start-up screens give way to the home page) is taken again.
TEST_F(WebServer, CaptureOnPort81IsTheScreenAsA800x480Jpeg) {
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

TEST_F(WebServer, WebKeyOutsideTheCodesIsRefusedWith400) {
    EXPECT_EQ(Status(Http(80, "POST /webkey?code=300")), "HTTP/1.0 400");
    EXPECT_EQ(Status(Http(80, "POST /webkey?code=79&delta=200")), "HTTP/1.0 400");
}

TEST_F(WebServer, UnlockTurnsRemoteWithLockIntoRemoteWithinTwoAndAHalfSeconds) {
    Send("SYST:COMM:RLST LREM");
    EXPECT_EQ(Ask("SYST:COMM:RLST?"), "LREM");
    EXPECT_EQ(Status(Http(80, "POST /unlock")), "HTTP/1.0 200");
    std::string state;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(2500);
    while ((state = Ask("SYST:COMM:RLST?")) != "REM" && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(state, "REM");
}

TEST_F(WebServer, ScreenCopyToUsbWhileAClientLoopsOnTheCaptureTakesTurnsWithIt) {
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
