// The board's package parser as the firmware update runs it: one script, one log line, the package's
// members in the stick's folder whatever case the folder is named in, and unsafe packages refused.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/sandbox/sandbox.h"
#include "tests/sysadmin/sandbox_log_fixture.h"
#include "tests/sysadmin/tar_fixture.h"

namespace {

constexpr const char* kScript = "cd /mnt/sd1/QX \n\n /mnt/disk/app/upgparse qx_sb6.upg \n\n";

class Upgparse : public SandboxLogTest {
  protected:
    bool Exists(const char* path) const { return std::filesystem::exists(root.path() + path); }
};

TEST_F(Upgparse, ExtractsThePackageIntoTheFolderOfAnyCase) {
    root.Write("/mnt/sd1/qx/qx_sb6.upg",
               Tar(TarMember("VRN4100_BOOT.bin", '0', "boot") + TarMember("VRN4100", '0', "app")));
    EXPECT_EQ(plat::System(kScript), 0);
    EXPECT_EQ(root.Read("/mnt/sd1/qx/VRN4100_BOOT.bin"), "boot");
    EXPECT_EQ(root.Read("/mnt/sd1/QX/VRN4100"), "app") << "the stick's names match in any case";
    EXPECT_EQ(Log(),
              std::vector<std::string>{"simulated 0 cd /mnt/sd1/QX && /mnt/disk/app/upgparse qx_sb6.upg"});
}

TEST_F(Upgparse, UnsafeMissingOrOtherScriptsChangeNothing) {
    root.Write("/mnt/sd1/qx/qx_sb6.upg",
               Tar(TarMember("VRN4100", '0', "app") + TarMember("../../disk/app/VRN4100", '0', "evil")));
    EXPECT_EQ(plat::System(kScript), 1);
    EXPECT_FALSE(Exists("/mnt/sd1/qx/VRN4100")) << "nothing of an unsafe package is extracted";
    EXPECT_FALSE(Exists("/mnt/disk/app/VRN4100"));
    // Truncated: no end blocks.
    root.Write("/mnt/sd1/qx/qx_sb6.upg", TarMember("VRN4100", '0', "app"));
    EXPECT_EQ(plat::System(kScript), 1);
    EXPECT_FALSE(Exists("/mnt/sd1/qx/VRN4100"));
    EXPECT_EQ(plat::System("cd /mnt/sd1/QX \n\n /mnt/disk/app/upgparse none.upg \n\n"), 1);
    EXPECT_EQ(plat::System("cd /mnt/sd1/QX \n\n /mnt/disk/app/upgparse ../x.upg \n\n"), 127);
    EXPECT_EQ(plat::System("cd /mnt/disk \n\n /mnt/disk/app/upgparse qx_sb6.upg \n\n"), 127)
        << "only a stick's folder";
    EXPECT_EQ(plat::System("cd /mnt/sd1/QX"), 127) << "no cd of its own";
}

}  // namespace
