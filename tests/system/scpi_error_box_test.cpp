// The SCPI Error box over the running controller's screen: an error left in a remote channel's queue
// brings it up, reading the queue empty takes it down. The screen is read from ROOT/dev/fb0.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <string>
#include <thread>

#include "tests/system/scpi_socket_suite.h"

namespace {

using namespace testsupport;

class ScpiErrorBox : public ScpiSocketSuite {
  protected:
    // RGB565 at (x, y) of the framebuffer file, little-endian.
    static uint16_t Pixel(int x, int y) {
        std::ifstream fb(c().root() + "/dev/fb0", std::ios::binary);
        fb.seekg(2 * (800 * y + x));
        unsigned char b[2] = {};
        fb.read(reinterpret_cast<char*>(b), 2);
        return static_cast<uint16_t>(b[0] | (b[1] << 8));
    }
    // Polls (x, y) until it holds want; bounded, ends on the first match.
    static bool WaitPixel(int x, int y, uint16_t want, int boundMs) {
        for (int waited = 0; waited <= boundMs; waited += 20) {
            if (Pixel(x, y) == want) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
};

TEST_F(ScpiErrorBox, AnErrorInTheQueueShowsTheBoxAndReadingItClearsIt) {
    // The home page is up once the box's place shows black.
    ASSERT_TRUE(WaitPixel(280, 150, 0x0000, 10000));
    Send("FOO");
    // The box waits 30 main passes (about 0.25 s) before it shows; a loaded machine may take longer.
    EXPECT_TRUE(WaitPixel(280, 150, 0xF800, 10000)) << "red frame at (280,150)";
    EXPECT_EQ(Pixel(284, 154), 0x0000) << "black inside at (284,154)";
    EXPECT_EQ(Ask("SYST:ERR?"), kUndefined);
    EXPECT_TRUE(WaitPixel(280, 150, 0x0000, 10000)) << "the box goes once the queue is read empty";
}

}  // namespace
