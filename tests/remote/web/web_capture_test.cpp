// The screen capture for "/capture.jpg": the picture of the framebuffer, the flag shared with the screen
// copy to USB memory, and the answers when no picture can be had.
#include "remote/web/web_capture.h"
#include "remote/web/web_http.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <thread>

#include "core/system/links/web_capture.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "platform/host/root.h"
#include "tests/support/jpeg_read.h"
#include "tests/support/tcp_client.h"
#include "tests/support/temp_root.h"

namespace {

class WebCaptureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SysStatusClear(kSysScreenCopyPending);
        g_WebScreenCopyOwner.store(0);
        // Left half red, right half blue, as RGB565.
        std::string fb(1152000, '\0');
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 800; ++x) {
                const uint16_t v = x < 400 ? 0xF800 : 0x001F;
                fb[2 * (y * 800 + x)] = static_cast<char>(v & 0xFF);
                fb[2 * (y * 800 + x) + 1] = static_cast<char>(v >> 8);
            }
        root.Write("/dev/fb0", fb);
        PassInterval();
    }
    // The instrument's clock moves past the shortest time between captures at once.
    static void PassInterval() {
        plat::SetTimeScale(1000);
        plat::SleepMs(web::kCaptureMinIntervalMs);
        plat::SetTimeScale(1);
    }
    static size_t Conversions(testsupport::TempRoot& r) {
        const std::string log = r.Read("/var/log/commands.log");
        size_t n = 0;
        for (size_t at = 0; (at = log.find("cjpeg -outfile", at)) != std::string::npos; ++at)
            ++n;
        return n;
    }
    void TearDown() override {
        plat::SetTimeScale(1);
        SysStatusClear(kSysScreenCopyPending);
        g_WebScreenCopyOwner.store(0);
    }
    static std::future<int> CaptureLater() {
        return std::async(std::launch::async, [] {
            std::string jpeg;
            return web::WebScreenCapture(&jpeg);
        });
    }
    static bool Done(std::future<int>& f, int ms) {
        return f.wait_for(std::chrono::milliseconds(ms)) == std::future_status::ready;
    }

    testsupport::TempRoot root;
};

int Near(const testsupport::RgbImage& img, int x, int y, int r, int g, int b) {
    const uint8_t* p = &img.rgb[3 * (static_cast<size_t>(y) * 800 + x)];
    return std::max({std::abs(p[0] - r), std::abs(p[1] - g), std::abs(p[2] - b)});
}

// The whole answer of the web server on port 81 to a request without a body.
std::string Ask(const std::string& method, const std::string& path) {
    testsupport::TcpClient client(81 + testsupport::TestPortOffset(), 3000);
    if (!client.Connected() || !client.Send(method + " " + path + " HTTP/1.0\r\n\r\n")) return "";
    return client.ReadBytes(1 << 20, 3000);
}

// The picture as a browser gets it from "/capture.jpg"; only GET takes one.
TEST_F(WebCaptureTest, ScreenComesBackAsA800x480JpegThroughTheSandboxAndTheFlagIsFree) {
    root.Write("/mnt/disk/httpd/index.html", "");
    mg_context* server = web::WebHttpStart(81, false);
    ASSERT_NE(server, nullptr);
    const std::string posted = Ask("POST", "/capture.jpg");
    const std::string answer = Ask("GET", "/capture.jpg");
    web::WebHttpStop(server);
    EXPECT_EQ(posted.substr(0, posted.find("\r\n")), "HTTP/1.0 405 Method Not Allowed");
    ASSERT_EQ(answer.substr(0, answer.find("\r\n")), "HTTP/1.0 200 OK");
    const size_t body = answer.find("\r\n\r\n");
    ASSERT_NE(body, std::string::npos);
    EXPECT_NE(answer.substr(0, body).find("\r\nContent-Type: image/jpeg"), std::string::npos);
    const std::string jpeg = answer.substr(body + 4);
    testsupport::RgbImage img;
    ASSERT_TRUE(testsupport::DecodeJpeg(jpeg, &img));
    EXPECT_EQ(img.width, 800);
    EXPECT_EQ(img.height, 480);
    EXPECT_LE(Near(img, 100, 10, 255, 0, 0), 12);
    EXPECT_LE(Near(img, 700, 470, 0, 0, 255), 12);
    EXPECT_EQ(g_WebScreenCopyOwner.load(), 0u);
    EXPECT_NE(root.Read("/var/log/commands.log").find("ran 0 cjpeg -outfile /tmp/image.jpg /tmp/image.bmp"),
              std::string::npos);
}

TEST_F(WebCaptureTest, NoFramebufferOrAFailedConversionAnswers500NeverTheLastPicture) {
    std::string jpeg;
    ASSERT_EQ(web::WebScreenCapture(&jpeg), 200);
    PassInterval();
    std::filesystem::remove(plat::MapPath("/dev/fb0"));
    jpeg.clear();
    EXPECT_EQ(web::WebScreenCapture(&jpeg), 500);
    EXPECT_EQ(g_WebScreenCopyOwner.load(), 0u);

    SetUp();
    // cjpeg cannot put its output in place.
    std::filesystem::remove(plat::MapPath("/tmp/image.jpg"));
    std::filesystem::create_directories(plat::MapPath("/tmp/image.jpg/x"));
    EXPECT_EQ(web::WebScreenCapture(&jpeg), 500);
    EXPECT_EQ(g_WebScreenCopyOwner.load(), 0u);
}

TEST_F(WebCaptureTest, CaptureWaitsForAPendingCopyAndAnotherCaptureAndGivesUpAfterTenSeconds) {
    SysStatusSet(kSysScreenCopyPending);
    auto first = CaptureLater();
    EXPECT_FALSE(Done(first, 500));  // longer than a capture takes
    EXPECT_EQ(g_WebScreenCopyOwner.load(), 0u);  // the copy reads the screen meanwhile
    SysStatusClear(kSysScreenCopyPending);
    ASSERT_TRUE(Done(first, 5000));
    EXPECT_EQ(first.get(), 200);

    PassInterval();
    g_WebScreenCopyOwner.store(1);  // another capture is under way
    auto second = CaptureLater();
    EXPECT_FALSE(Done(second, 500));
    EXPECT_EQ(g_WebScreenCopyOwner.load(), 1u);
    g_WebScreenCopyOwner.store(0);
    ASSERT_TRUE(Done(second, 5000));
    EXPECT_EQ(second.get(), 200);
    PassInterval();
    plat::SetTimeScale(100);
    SysStatusSet(kSysScreenCopyPending);
    const uint64_t start = plat::NowMs();
    std::string jpeg;
    EXPECT_EQ(web::WebScreenCapture(&jpeg), 503);
    EXPECT_GE(plat::NowMs() - start, 10000u);
    EXPECT_TRUE(jpeg.empty());
    EXPECT_EQ(g_WebScreenCopyOwner.load(), 0u);
}

// Captures closer together than the shortest interval get the last picture: the screen is read (and the
// GUI held still) once for a burst of them, and again only once the interval has passed.
TEST_F(WebCaptureTest, CapturesWithinTheIntervalGetTheLastPictureAndReadTheScreenOnce) {
    std::string first;
    ASSERT_EQ(web::WebScreenCapture(&first), 200);
    const size_t conversions = Conversions(root);
    root.Write("/dev/fb0", std::string(1152000, '\0'));  // black
    std::vector<std::future<std::string>> burst;
    for (int i = 0; i < 20; ++i)
        burst.push_back(std::async(std::launch::async, [] {
            std::string jpeg;
            return web::WebScreenCapture(&jpeg) == 200 ? jpeg : std::string();
        }));
    for (auto& picture : burst)
        EXPECT_EQ(picture.get(), first);
    EXPECT_EQ(Conversions(root), conversions);

    PassInterval();
    std::string later;
    ASSERT_EQ(web::WebScreenCapture(&later), 200);
    testsupport::RgbImage img;
    ASSERT_TRUE(testsupport::DecodeJpeg(later, &img));
    EXPECT_LE(Near(img, 100, 10, 0, 0, 0), 12);
    EXPECT_EQ(Conversions(root), conversions + 1);
}

}  // namespace
