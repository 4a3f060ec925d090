#include "tests/system/panel/fb_png.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "tests/support/png_read.h"

namespace testsupport {

int RunFbPng(const std::vector<std::string>& args) {
    const std::string tool = std::string(std::getenv("VRN_BUILD_DIR")) + "/app/vrn-fbpng";
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv{const_cast<char*>(tool.c_str())};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(tool.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    for (int waited = 0; waited < 10000; waited += 10) {
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

std::string ScreenMatchesGolden(const std::string& root, const std::string& workDir, const std::string& name,
                                int boundMs) {
    namespace fs = std::filesystem;
    const std::string png = workDir + "/" + name + ".png";
    const std::string golden = fs::path(__FILE__).parent_path().string() + "/golden/" + name + ".png";
    const char* update = std::getenv("VRN_UPDATE_GOLDENS");
    if (update != nullptr && std::string(update) == "1") {
        std::this_thread::sleep_for(std::chrono::milliseconds(boundMs / 4));
        if (RunFbPng({root + "/dev/fb0", png}) != 0) return "vrn-fbpng failed";
        fs::create_directories(fs::path(golden).parent_path());
        fs::copy_file(png, golden, fs::copy_options::overwrite_existing);
        return "";
    }
    RgbImage expected, image;
    if (!ReadRgbPng(golden, &expected)) return "no golden " + golden;
    for (int waited = 0; waited <= boundMs; waited += 100) {
        if (RunFbPng({root + "/dev/fb0", png}) != 0) return "vrn-fbpng failed";
        if (ReadRgbPng(png, &image) && image.width == 800 && image.height == 480 && image.rgb == expected.rgb)
            return "";
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return "the screen differs from " + golden + "; it is " + png;
}

}  // namespace testsupport
