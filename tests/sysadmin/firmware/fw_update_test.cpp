// The application and web-page updates from USB memory: checked copies, refused archives, and a kill at
// any moment leaving the old part or the new one whole.
#include "sysadmin/firmware/fw_update.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "core/system/links/usb_state.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/sys_status.h"
#include "platform/sandbox/tools/md5.h"
#include "storage/brand_dir.h"
#include "sysadmin/firmware/brand_web_images.h"
#include "tests/sysadmin/sandbox_log_fixture.h"
#include "tests/sysadmin/tar_fixture.h"

namespace {

const std::string kOldApp(300000, 'o'), kNewApp = std::string(4000000, 'n') + "end";
const std::string kNewPages =
    Gzip(Tar(TarMember("httpd/", '5', "") + TarMember("httpd/index.html", '0', "new") +
             TarMember("httpd/images/logo.png", '0', std::string(200000, 'L'))));

class FwUpdate : public StickTest {
  protected:
    void SetUp() override {
        StickTest::SetUp();
        Reset();
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
        {"second gzip member", kNewPages + Gzip(Tar(TarMember("app/VRN4100", '0', "x"))), 1, "old"},
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

TEST_F(FwUpdate, PlainWebArchiveOnlyWhenEnabledAndSafe) {
    const std::string good = Tar(TarMember("httpd/", '5', "") + TarMember("httpd/index.html", '0', "new") +
                                 TarMember("httpd/images/logo.png", '0', std::string(200000, 'L')));
    const struct {
        const char* what;
        uint8_t enable;
        std::string archive;  // "" removes it, "-" leaves it empty
        bool mounted;
        int32_t result;
        const char* after;
    } cases[] = {
        {"not enabled", 0x7F, good, true, -1, "old"},
        {"missing", 0x80, "", true, -2, "old"},
        {"empty", 0x80, "-", true, -2, "old"},
        {"stick not mounted", 0x80, good, false, -2, "old"},
        {"outside the web root", 0x80, Tar(TarMember("app/VRN4100", '0', "x")), true, -4, "old"},
        {"truncated", 0x80, good.substr(0, 700), true, -4, "old"},
        {"good", 0x80, good, true, 0, "new"},
    };
    for (const auto& c : cases) {
        Reset();
        g_FwUpdWebTarEnable = c.enable;
        root.Write("/mnt/sd1/qx/httpd.tar", c.archive == "-" ? "" : c.archive);
        if (c.archive.empty()) unlink((root.path() + "/mnt/sd1/qx/httpd.tar").c_str());
        g_UsbState.statusB.store(c.mounted ? core::kUsbMounted : 0);
        EXPECT_EQ(FwUpd_WebFromTar(), c.result) << c.what;
        EXPECT_EQ(Pages(), c.after) << c.what;
        EXPECT_EQ(root.Read("/mnt/disk/app/VRN4100"), kOldApp) << c.what;
        EXPECT_FALSE(std::filesystem::exists(root.path() + "/tmp/httpd")) << c.what;
    }
    g_FwUpdWebTarEnable = 0;
    // The brand's images replace the served ones; the sample picture comes from the model's folder.
    EXPECT_EQ(Matching("tar -xf").size(), 1u);  // refused archives are never unpacked
    EXPECT_EQ(Matching("rm -r /tmp/httpd").size(), 1u);
    EXPECT_EQ(Matching("cp /mnt/disk/httpd/ODM_image/qx/").size(), 5u);
    EXPECT_EQ(Matching("ODM_image/qx/VRN4145/sample.png /mnt/disk/httpd/images/sample.png").size(), 1u);
}

TEST_F(FwUpdate, BrandWebImagesCopiedOverTheServedOnes) {
    const struct {
        uint32_t brand, model;
        const char* sampleFolder;
    } cases[] = {{0, 2, "qx/VRN4160/"}, {1, 1, "tulve/VRN-345/"}, {2, 7, "pelma/"}};
    std::filesystem::create_directories(root.path() + "/mnt/disk/httpd/images");
    for (const auto& c : cases) {
        g_BrandId = c.brand;
        g_ModelId = c.model;
        const std::string from = std::string("/mnt/disk/httpd/ODM_image/") + g_BrandDirTable[c.brand] + "/";
        for (const char* name : {"logo.png", "logo-dark.svg", "logo.svg", "favicon.ico"})
            root.Write(from + name, from);
        root.Write(std::string("/mnt/disk/httpd/ODM_image/") + c.sampleFolder + "sample.png", c.sampleFolder);
        EXPECT_EQ(CopyBrandWebImages(), 0) << c.brand;
        EXPECT_EQ(root.Read("/mnt/disk/httpd/images/favicon.ico"), from);
        EXPECT_EQ(root.Read("/mnt/disk/httpd/images/sample.png"), c.sampleFolder);
    }
    // A copy that fails is the result though the later ones succeed.
    std::remove((root.path() + "/mnt/disk/httpd/ODM_image/pelma/logo.svg").c_str());
    root.Write("/mnt/disk/httpd/ODM_image/pelma/favicon.ico", "new");
    EXPECT_NE(CopyBrandWebImages(), 0);
    EXPECT_EQ(root.Read("/mnt/disk/httpd/images/favicon.ico"), "new");
    g_BrandId = 0;
    g_ModelId = 0;
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
        for (int i = 0; i < 40; ++i) {
            Reset();
            KillDuring(update.run, whole * i / 40);
            const std::string after = (this->*update.part)();
            EXPECT_NE(after, "torn") << i;
            newSeen += after == "new";
        }
        EXPECT_LT(newSeen, 40);
    }
}

TEST_F(FwUpdate, FpgaProgrammedThenResetOrItsFailureShown) {
    const struct {
        uint32_t brand, variantA;
        const char* exitLine;  // "" the tool's own
        int32_t result;
        const char* command;
        size_t echoes;
        const char* popup;
    } cases[] = {
        {1, 0, "", 0, "simulated 0 /mnt/disk/app/qx_jtag -aprogram /mnt/sd1/tulve/VRN4100_SPWM_3pof.jam", 9,
         "Update Success\nReboot"},
        {0, 1, "", 0, "/mnt/sd1/qx/VRN4100A_SPWM_3pof.jam", 9, "Update Success\nReboot"},
        {0, 0, "none", 1, "/mnt/sd1/qx/VRN4100_SPWM_3pof.jam", 0, "Update Max10 Fail\nPlease Try again"},
        {0, 0, "Exit code = 1. Device 100% failed. Retry", 1, "qx_jtag", 9,
         "Exit code = 1\n Device 100  failed"},
        {0, 0, "Exit code 5", 1, "qx_jtag", 9, "Exit code 5\n"},
    };
    for (const auto& c : cases) {
        g_BrandId = c.brand;
        g_ModelVariantA = c.variantA;
        root.Write("/var/lib/sandbox/state",
                   *c.exitLine ? std::string("qx_jtag.exit=") + c.exitLine + "\n" : "");
        const size_t from = Log().size();
        EXPECT_EQ(FwUpd_Fpga(0, 0, 0), c.result) << c.command;
        ASSERT_EQ(Matching("qx_jtag", from).size(), 1u);
        EXPECT_NE(Matching("qx_jtag", from)[0].find(c.command), std::string::npos) << c.command;
        EXPECT_EQ(Matching("echo ", from).size(), c.echoes) << c.command;
        EXPECT_EQ(QueueText(), c.popup) << c.command;
    }
    g_BrandId = 0;
    g_ModelVariantA = 0;
}

TEST_F(FwUpdate, BootImageCheckedCopiedAndWrittenToPartitionZero) {
    const std::string image = std::string(100000, 'B') + "boot";
    root.Write("/mnt/sd1/QX/VRN4100_BOOT.bin", image);
    EXPECT_EQ(FwUpd_Boot(1, 0, 0), 0);
    EXPECT_EQ(Matching("cp /mnt/sd1"),
              std::vector<std::string>{"ran 0 cp /mnt/sd1/QX/VRN4100_BOOT.bin /tmp/"});
    EXPECT_EQ(Matching("echo ").size(), 8u);
    EXPECT_EQ(Matching("flashcp"),
              std::vector<std::string>{"simulated 0 /mnt/disk/app/flashcp /tmp/VRN4100_BOOT.bin /dev/mtd0"});
    EXPECT_EQ(Matching("rm /tmp"), std::vector<std::string>{"ran 0 rm /tmp/VRN4100_BOOT.bin"});
    EXPECT_EQ(root.Read("/dev/mtd0").substr(0, image.size() + 1), image + "\xff");
    EXPECT_TRUE(SysStatusTest(kSysRebootRequest));
    g_SysStatus.store(0);

    // A copy that cannot be checked (a folder in its place), and an image larger than the partition.
    std::filesystem::create_directories(root.path() + "/tmp/VRN4100_BOOT.bin");
    size_t from = Log().size();
    EXPECT_NE(FwUpd_Boot(0, 0, 0), 0);
    EXPECT_EQ(Matching("cp /mnt/sd1", from).size(), 3u);
    EXPECT_TRUE(Matching("flashcp", from).empty());
    root.Write("/mnt/disk/app/VRN4100_BOOT.bin", std::string(600 * 1024, 'X'));
    from = Log().size();
    EXPECT_NE(FwUpd_Boot(1, 1, kFwUpdServiceMode), 0);
    EXPECT_EQ(Matching("simulated 1 /mnt/disk/app/flashcp /mnt/disk/app/VRN4100_BOOT.bin", from).size(),
              3u);
    EXPECT_EQ(root.Read("/dev/mtd0").substr(0, image.size()), image);
    // A write stopped after 1000 bytes fails every attempt; the torn partition stays as it is.
    root.Write("/mnt/disk/app/VRN4100_BOOT.bin", image);
    root.Write("/var/lib/sandbox/state", "flashcp.stop=1000\n");
    EXPECT_NE(FwUpd_Boot(1, 1, kFwUpdServiceMode), 0);
    EXPECT_EQ(root.Read("/dev/mtd0").substr(0, 1001), image.substr(0, 1000) + "\xff");
    EXPECT_FALSE(SysStatusTest(kSysRebootRequest));
}

TEST_F(FwUpdate, PendingUpdateRunsOnceAfterTheReadyBit) {
    root.Write("/mnt/disk/app/VRN4100_SPWM_3pof.jam", "jam");
    root.Write("/mnt/disk/app/VRN4100_BOOT.bin", "boot image");
    root.Write("/mnt/disk/Update_C2000", "");
    c2000Checked = 0;
    FwUpd_C2000Pending();
    EXPECT_EQ(c2000Checked.load(), 0u);  // not ready yet
    SysStatusSet(kSysReady);
    FwUpd_C2000Pending();
    ASSERT_EQ(Matching("-aprogram").size(), 1u);
    EXPECT_EQ(Matching("-aprogram /mnt/disk/app/VRN4100_SPWM_3pof.jam").size(), 1u);
    ASSERT_EQ(Matching("flashcp").size(), 1u);
    EXPECT_EQ(Matching("flashcp /mnt/disk/app/VRN4100_BOOT.bin /dev/mtd0").size(), 1u);
    EXPECT_EQ(root.Read("/dev/mtd0").substr(0, 10), "boot image");
    EXPECT_TRUE(SysStatusTest(kSysRebootRequest));
    EXPECT_EQ(c2000Checked.load(), 1u);

    g_SysStatus.store(0);
    SysStatusSet(kSysReady);
    std::filesystem::create_directories(root.path() + "/mnt/disk/Update_C2000");
    c2000Checked = 0;
    const size_t from = Log().size();
    FwUpd_C2000Pending();
    FwUpd_C2000Pending();
    EXPECT_EQ(Matching("-aprogram", from).size(), 1u);
    EXPECT_TRUE(Matching("flashcp", from).empty());
    EXPECT_EQ(Matching("rm -r /mnt/disk/Update_C2000", from),
              std::vector<std::string>{"ran 0 rm -r /mnt/disk/Update_C2000"});
    g_SysStatus.store(0);
}

// The index of the first entry holding text; the log's size when none does.
size_t FirstOf(const std::vector<std::string>& log, const std::string& text) {
    for (size_t i = 0; i < log.size(); ++i)
        if (log[i].find(text) != std::string::npos) return i;
    return log.size();
}

// The source's digest is taken before the copy starts, and a copy that differs from it in one byte (a
// stick with a bad read) is refused: the application stays, the boot image never reaches the flash.
TEST_F(FwUpdate, SourceDigestComesFirstAndACopyDifferingInOneByteIsRefused) {
    const std::string image = std::string(100000, 'B') + "boot";
    root.Write("/mnt/sd1/QX/VRN4100_BOOT.bin", image);
    ASSERT_EQ(FwUpd_App(0, 0), 0);
    ASSERT_EQ(FwUpd_Boot(0, 0, 0), 0);
    const auto log = Log();
    EXPECT_LT(FirstOf(log, "md5sum /mnt/sd1/QX/VRN4100"), FirstOf(log, "cp /mnt/sd1/QX/VRN4100 "));
    EXPECT_LT(FirstOf(log, "md5sum /mnt/sd1/QX/VRN4100_BOOT.bin"),
              FirstOf(log, "cp /mnt/sd1/QX/VRN4100_BOOT.bin"));
    EXPECT_LT(FirstOf(log, "cp /mnt/sd1/QX/VRN4100_BOOT.bin"), FirstOf(log, "md5sum /tmp/VRN4100_BOOT.bin"));

    Reset();
    const std::string partition = root.Read("/dev/mtd0");
    root.Write("/var/lib/sandbox/state", "cp.flip=1000\n");
    const size_t from = Log().size();
    EXPECT_EQ(FwUpd_App(1, 0), 1);
    EXPECT_EQ(App(), "old");
    EXPECT_EQ(root.Read("/mnt/disk/app/VRN4100.new"), "");
    EXPECT_NE(FwUpd_Boot(1, 0, 0), 0);
    EXPECT_TRUE(Matching("mv ", from).empty());
    EXPECT_EQ(Matching("cp /mnt/sd1/QX/VRN4100_BOOT.bin", from).size(), 3u);
    EXPECT_TRUE(Matching("flashcp", from).empty());
    EXPECT_TRUE(root.Read("/dev/mtd0") == partition) << "the partition was written";
    EXPECT_FALSE(SysStatusTest(kSysRebootRequest));
    root.Write("/var/lib/sandbox/state", "");
}

// Progress codes 14 and 15 step the percentage by the bytes done, 16 and 19 set it; each change shows
// the "Update Firmware" text with the next number of dots, and a call that changes nothing shows nothing.
// The progress texts replace the text of the popup on show, not the queue's free text.
std::string ShownText() {
    char text[128] = {};
    MsgPopup_Text(text, sizeof text);
    return text;
}

TEST_F(FwUpdate, ProgressCodesStepThePercentageAndTheDots) {
    ShowMessageHold("Update Firmware\nPlease Wait...");
    fwDots = 0;
    FwUpd_ShowStatus(16, 0, 0);
    EXPECT_EQ(fwPercent.load(), 1u);
    EXPECT_EQ(ShownText(), "Update Firmware\nPlease Wait.   1%");
    FwUpd_ShowStatus(19, 0, 0);
    EXPECT_EQ(ShownText(), "Update Firmware\nPlease Wait..  2%");
    FwUpd_ShowStatus(16, 0, 0);
    EXPECT_EQ(ShownText(), "Update Firmware\nPlease Wait...1%");

    // 14: 780 bytes a step; by 2 below 81, by 1 up to 91, then no more.
    FwUpd_ShowStatus(14, 0, 0);
    FwUpd_ShowStatus(14, 779, 0);
    EXPECT_EQ(fwPercent.load(), 1u);
    EXPECT_EQ(ShownText(), "Update Firmware\nPlease Wait...1%");
    FwUpd_ShowStatus(14, 780, 0);
    EXPECT_EQ(ShownText(), "Update Firmware\nPlease Wait.   3%");  // after three dots, one again
    FwUpd_ShowStatus(14, 1000, 0);
    EXPECT_EQ(fwPercent.load(), 3u);
    // Steps code `code` on by `bytes` a step from `done` steps, checking the percentage at each mark.
    const auto walk = [](int32_t code, int32_t bytes, int32_t done,
                         std::initializer_list<std::pair<int32_t, uint32_t>> marks) {
        for (const auto& [steps, percent] : marks) {
            for (; done < steps; ++done)
                FwUpd_ShowStatus(code, bytes * (done + 1), 0);
            EXPECT_EQ(fwPercent.load(), percent) << code << " after " << steps;
        }
    };
    walk(14, 780, 1, {{40, 81}, {41, 82}, {45, 86}, {50, 91}, {60, 91}});
    EXPECT_EQ(ShownText().substr(ShownText().size() - 3), "91%");
    // From an even start the step by 2 reaches 80, which is still below 81.
    FwUpd_ShowStatus(19, 0, 0);
    FwUpd_ShowStatus(14, 0, 0);
    walk(14, 780, 0, {{39, 80}, {40, 82}, {48, 90}, {49, 91}, {55, 91}});

    // 15: 2330 bytes a step, a start at 0 also counts one; by 2 below 86, by 1 up to 96.
    FwUpd_ShowStatus(16, 0, 0);
    FwUpd_ShowStatus(15, 0, 0);
    EXPECT_EQ(fwPercent.load(), 2u);
    EXPECT_EQ(ShownText().substr(ShownText().find('\n')), "\nPlease Wait...2%");
    walk(15, 2330, 0, {{1, 4}, {42, 86}, {43, 87}, {52, 96}, {60, 96}});
    MsgPopup_Close();
    MsgQueue_Clear();
}

}  // namespace
