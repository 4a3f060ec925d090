// The SCPI Error box over the running controller's screen: an error left in a remote channel's queue
// brings it up, reading the queue empty takes it down. The screen is read from ROOT/dev/fb0.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/system/scpi_socket_suite.h"

namespace {

using namespace testsupport;

class ScpiErrorBox : public ScpiSocketSuite {
  protected:
    static uint16_t Pixel(int x, int y) { return FramebufferPixel(c().root(), x, y); }
    static bool WaitPixel(int x, int y, uint16_t want, int boundMs) {
        return WaitFramebufferPixel(c().root(), x, y, want, boundMs);
    }
};

TEST_F(ScpiErrorBox, AnErrorInTheQueueShowsTheBoxAndReadingItClearsIt) {
    // The box's bottom edge (y 206-209) lies over the home page's background between two meter rows: the
    // page is up once it shows there.
    constexpr uint16_t kBodyBackground = 0x2125;
    ASSERT_TRUE(WaitPixel(300, 208, kBodyBackground, 10000));
    Send("FOO");
    // The box waits 30 main passes (about 0.25 s) before it shows; a loaded machine may take longer.
    EXPECT_TRUE(WaitPixel(280, 150, 0xF800, 10000)) << "red frame at (280,150)";
    EXPECT_EQ(Pixel(300, 208), 0xF800) << "red frame at (300,208)";
    EXPECT_EQ(Pixel(284, 154), 0x0000) << "black inside at (284,154)";
    EXPECT_EQ(Ask("SYST:ERR?"), kUndefined);
    EXPECT_TRUE(WaitPixel(300, 208, kBodyBackground, 10000)) << "the box goes once the queue is read empty";
}

}  // namespace
