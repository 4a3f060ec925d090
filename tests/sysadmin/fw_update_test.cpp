// The application and web-page updates from USB memory: checked copies, refused archives, and a kill at
// any moment leaving the old part or the new one whole.
#include "sysadmin/fw_update.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "core/system/sys_status.h"
#include "core/system/usb_state.h"
#include "platform/md5.h"
#include "tests/sysadmin/sandbox_log_fixture.h"
#include "tests/sysadmin/tar_fixture.h"

namespace {

const std::string kOldApp(300000, 'o'), kNewApp = std::string(400000, 'n') + "end";
const std::string kNewPages =
    Gzip(Tar(TarMember("httpd/", '5', "") + TarMember("httpd/index.html", '0', "new") +
             TarMember("httpd/images/logo.png", '0', std::string(200000, 'L'))));

class FwUpdate : public SandboxLogTest {
  protected:
    void SetUp() override {
        SandboxLogTest::SetUp();
        g_UsbState.statusB.store(core::kUsbMounted);
        g_UsbState.usbAccessError.store(0);
        Reset();
    }
    void TearDown() override {
        g_UsbState.statusB.store(0);
        SandboxLogTest::TearDown();
    }
    // The installed parts old, the new ones on the stick in the brand's folder.
    void Reset() {
        root.Write("/mnt/disk/app/VRN4100", kOldApp);
        std::filesystem::remove_all(root.path() + "/mnt/disk/httpd");
        root.Write("/mnt/disk/httpd/index.html", "old");
        root.Write("/mnt/sd1/QX/VRN4100", kNewApp);
        root.Write("/mnt/sd1/QX/httpd.tar.gz", kNewPages);
    }

  public:
    // "old", "new" or "torn": what the installed program and the web root are.
    std::string App() const {
        const std::string md5 = plat::Md5Hex(root.Read("/mnt/disk/app/VRN4100"));
        return md5 == plat::Md5Hex(kOldApp) ? "old" : md5 == plat::Md5Hex(kNewApp) ? "new" : "torn";
    }
    std::string Pages() const {
        const std::string index = root.Read("/mnt/disk/httpd/index.html");
        const std::string logo = root.Read("/mnt/disk/httpd/images/logo.png");
        if (index == "old" && logo.empty()) return "old";
        return index == "new" && logo == std::string(200000, 'L') ? "new" : "torn";
    }
};

TEST_F(FwUpdate, ApplicationIsCheckedThenRenamedIntoPlace) {
    const struct {
        const char* what;
        std::string source;  // "" removes it
        bool mounted;
        int32_t result;
        const char* after;
    } cases[] = {
        {"missing", "", true, 1, "old"},
        {"empty", "-", true, 1, "old"},
        {"stick not mounted", kNewApp, false, 1, "old"},
        {"good", kNewApp, true, 0, "new"},
    };
    for (const auto& c : cases) {
        Reset();
        root.Write("/mnt/sd1/QX/VRN4100", c.source == "-" ? "" : c.source);
        if (c.source.empty()) unlink((root.path() + "/mnt/sd1/QX/VRN4100").c_str());
        g_UsbState.statusB.store(c.mounted ? core::kUsbMounted : 0);
        EXPECT_EQ(FwUpd_App(0, 0), c.result) << c.what;
        EXPECT_EQ(App(), c.after) << c.what;
        EXPECT_EQ(root.Read("/mnt/disk/app/VRN4100.new"), "") << c.what;
    }
    EXPECT_EQ(Matching("mv ").back(), "ran 0 mv /mnt/disk/app/VRN4100.new /mnt/disk/app/VRN4100");
    EXPECT_FALSE(SysStatusTest(kSysRebootRequest));
    root.Write("/mnt/sd1/VRN4100/VRN4100", kOldApp);  // the service folder
    EXPECT_EQ(FwUpd_App(1, kFwUpdServiceMode), 0);
    EXPECT_EQ(App(), "old");
    EXPECT_TRUE(SysStatusTest(kSysRebootRequest));
    g_SysStatus.store(0);
}

TEST_F(FwUpdate, WebPagesReplacedWholeOrNotAtAll) {
    const struct {
        const char* what;
        std::string archive;
        int32_t result;
        const char* after;
    } cases[] = {
        {"outside the web root",
         Gzip(Tar(TarMember("httpd/index.html", '0', "new") + TarMember("app/VRN4100", '0', "x"))), 1, "old"},
        {"parent part", Gzip(Tar(TarMember("httpd/../app/VRN4100", '0', "x"))), 1, "old"},
        {"link", Gzip(Tar(TarMember("httpd/images", '2', "") + TarMember("httpd/index.html", '0', "new"))), 1,
         "old"},
        {"corrupt gzip", kNewPages.substr(0, kNewPages.size() / 2), 1, "old"},
        {"good", kNewPages, 0, "new"},
    };
    for (const auto& c : cases) {
        Reset();
        root.Write("/mnt/sd1/QX/httpd.tar.gz", c.archive);
        EXPECT_EQ(FwUpd_WebFromTgz(0), c.result) << c.what;
        EXPECT_EQ(Pages(), c.after) << c.what;
        EXPECT_EQ(root.Read("/mnt/disk/app/VRN4100"), kOldApp) << c.what;
    }
    EXPECT_EQ(Matching("tar -xzvf").size(), 1u);
}

// Runs the update in a child process, killed once `delay` has passed; the time it ran.
std::chrono::microseconds KillDuring(int32_t (*update)(), std::chrono::microseconds delay) {
    const auto start = std::chrono::steady_clock::now();
    const auto ran = [&] {
        return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                     start);
    };
    pid_t child = fork();
    if (child == 0) _exit(update());
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (ran() < delay) {
            usleep(100);
            continue;
        }
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        break;
    }
    return ran();
}

TEST_F(FwUpdate, KillAnywhereLeavesOldOrNewWhole) {
    struct Update {
        int32_t (*run)();
        std::string (FwUpdate::*part)() const;
    };
    const Update updates[] = {{[] { return FwUpd_App(0, 0); }, &FwUpdate::App},
                              {[] { return FwUpd_WebFromTgz(0); }, &FwUpdate::Pages}};
    for (const Update& update : updates) {
        Reset();
        const auto whole = KillDuring(update.run, std::chrono::seconds(20));
        ASSERT_EQ((this->*update.part)(), "new");
        int newSeen = 0;
        for (int i = 0; i < 20; ++i) {
            Reset();
            KillDuring(update.run, whole * i / 20);
            const std::string after = (this->*update.part)();
            EXPECT_NE(after, "torn") << i;
            newSeen += after == "new";
        }
        EXPECT_LT(newSeen, 20);
    }
}

}  // namespace
