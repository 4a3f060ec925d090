// The running program's display: the framebuffer file under its root, mapped at start, showing the
// self-test screen, and shown by vrn-fbpng as an 800x480 picture; the tool refuses a file that holds no
// whole screen.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/support/png_read.h"
#include "tests/system/controller_fixture.h"
#include "tests/system/fb_png.h"

namespace {

using testsupport::RunFbPng;

class Display : public testsupport::SharedController {};

// Once the panel runs, its home page covers the self-test screen; the golden picture is
// golden/home_page.png (VRN_UPDATE_GOLDENS=1 rewrites it).
TEST_F(Display, StartedControllerShowsTheHomePage) {
    ASSERT_TRUE(c().WaitForOutput("GuiThread: system ready", testsupport::kStartupTimeoutMs)) << c().Output();
    const std::string out = c().Output();
    for (const char* line :
         {"screensize=1152000\n", "/dev/fb0 opened.\n", "Zorvek memory mapped at address "})
        EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
    const std::string png = c().workDir() + "/screen.png";
    const std::string golden =
        std::filesystem::path(__FILE__).parent_path().string() + "/golden/home_page.png";
    const char* update = std::getenv("VRN_UPDATE_GOLDENS");
    const bool updating = update != nullptr && std::string(update) == "1";
    testsupport::RgbImage image, expected;
    if (!updating) {
        ASSERT_TRUE(testsupport::ReadRgbPng(golden, &expected)) << golden;
    }
    // The first main pass paints home a few milliseconds after the ready line.
    for (int tries = 0; tries < 50; ++tries) {
        ASSERT_EQ(RunFbPng({c().root() + "/dev/fb0", png}), 0);
        ASSERT_TRUE(testsupport::ReadRgbPng(png, &image));
        if (!updating && image.rgb == expected.rgb) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(image.width, 800);
    EXPECT_EQ(image.height, 480);
    ASSERT_EQ(image.rgb.size(), 800u * 480 * 3);
    if (updating) {
        std::filesystem::create_directories(std::filesystem::path(golden).parent_path());
        std::filesystem::copy_file(png, golden, std::filesystem::copy_options::overwrite_existing);
        return;
    }
    EXPECT_TRUE(image.rgb == expected.rgb) << "the screen differs from " << golden << "; it is " << png;
}

TEST_F(Display, ToolRefusesAFileWithoutAWholeScreen) {
    const std::string dir = c().workDir();
    std::ofstream(dir + "/short") << std::string(768000 - 1, '\0');
    const struct {
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {{dir + "/missing", dir + "/a.png"}, 1},
        {{dir + "/short", dir + "/b.png"}, 1},
        {{c().root() + "/dev/fb0", dir + "/no/such/folder/c.png"}, 1},
        {{}, 2},
    };
    for (const auto& [args, status] : cases)
        EXPECT_EQ(RunFbPng(args), status) << (args.empty() ? "no arguments" : args[0]);
    EXPECT_NE(access((dir + "/a.png").c_str(), F_OK), 0);
    EXPECT_NE(access((dir + "/b.png").c_str(), F_OK), 0);
}

}  // namespace
