#include "platform/root.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "tests/support/temp_root.h"

namespace {
namespace fs = std::filesystem;

TEST(MapPath, StaysUnderTheRoot) {
    testsupport::TempRoot root;
    const std::string r = root.path();
    struct Case {
        const char* in;
        std::string out;
    };
    const Case cases[] = {
        {"/mnt/disk/a", r + "/mnt/disk/a"},
        {"/", r},
        {"/mnt/tst/seq/", r + "/mnt/tst/seq"},
        {"//mnt///sd1/./x", r + "/mnt/sd1/x"},
        {"/mnt/disk/../tst/seq", r + "/mnt/tst/seq"},
        {"/../../etc/passwd", r + "/etc/passwd"},
        {"/mnt/../../../..", r},
        {"relative/../path", "relative/../path"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plat::MapPath(c.in), c.out) << c.in;
}

TEST(MapPath, MappingTwiceChangesNothing) {
    testsupport::TempRoot root;
    std::string once = plat::MapPath("/tmp/netconf");
    EXPECT_EQ(plat::MapPath(once), once);
    // A host path that merely starts like the root is not inside it.
    EXPECT_EQ(plat::MapPath(root.path() + "x/y"), root.path() + root.path() + "x/y");
    // An already mapped path still cannot climb out.
    EXPECT_EQ(plat::MapPath(root.path() + "/../../etc"), root.path() + "/etc");
}

TEST(IsInsideRoot, FollowsLinksAndDots) {
    testsupport::TempRoot root;
    EXPECT_TRUE(plat::IsInsideRoot(root.path()));
    EXPECT_TRUE(plat::IsInsideRoot(root.path() + "/mnt/disk/new/file"));
    EXPECT_FALSE(plat::IsInsideRoot(root.path() + "/../x"));
    EXPECT_FALSE(plat::IsInsideRoot(root.path() + "-sibling/x"));
    EXPECT_FALSE(plat::IsInsideRoot("/etc/passwd"));
    EXPECT_FALSE(plat::IsInsideRoot(""));
    fs::create_directory_symlink("/etc", plat::MapPath("/mnt/disk/out"));
    fs::create_directory_symlink("../tst", plat::MapPath("/mnt/disk/in"));
    EXPECT_FALSE(plat::IsInsideRoot(plat::MapPath("/mnt/disk/out/passwd")));
    EXPECT_TRUE(plat::IsInsideRoot(plat::MapPath("/mnt/disk/in/seq")));
}

TEST(IsInsideRoot, FollowsLinksWhoseTargetIsMissing) {
    testsupport::TempRoot root;
    // Creating a name that is a dangling link creates the link's target, so the target decides.
    const std::string outside = root.path() + "-missing/file";
    struct Case {
        const char* link;
        std::string target;
        const char* probe;
        bool inside;
    };
    const Case cases[] = {
        {"/mnt/disk/abs", outside, "/mnt/disk/abs", false},
        {"/mnt/disk/rel", "../../../x-missing", "/mnt/disk/rel", false},
        {"/mnt/disk/dir", root.path() + "-missing", "/mnt/disk/dir/file", false},
        {"/mnt/disk/chain", "abs", "/mnt/disk/chain", false},
        {"/mnt/disk/home", "index.html", "/mnt/disk/home", true},
        {"/mnt/disk/up", "../tst/new", "/mnt/disk/up", true},
    };
    for (const Case& c : cases)
        fs::create_symlink(c.target, plat::MapPath(c.link));
    for (const Case& c : cases)
        EXPECT_EQ(plat::IsInsideRoot(plat::MapPath(c.probe)), c.inside) << c.probe;
    fs::create_symlink("loop", plat::MapPath("/mnt/disk/loop"));
    EXPECT_FALSE(plat::IsInsideRoot(plat::MapPath("/mnt/disk/loop")));
}

TEST(PrepareRoot, MakesTheInstrumentsFoldersAndSysfsFiles) {
    testsupport::TempRoot root;
    for (const char* folder : {"/mnt/disk/default/ARB", "/mnt/disk/httpd", "/mnt/disk/drivers/usb",
                               "/mnt/tst/seq", "/mnt/tst/sim", "/mnt/tst/ARB", "/mnt/tst/Bar", "/mnt/sd1",
                               "/tmp", "/etc/avahi/services", "/var/log", "/dev", "/sys/class/gpio"})
        EXPECT_TRUE(fs::is_directory(plat::MapPath(folder))) << folder;
    EXPECT_EQ(root.Read("/sys/class/net/eth0/operstate"), "up\n");
    EXPECT_EQ(root.Read("/sys/class/net/eth0/address").size(), 18u);
    EXPECT_EQ(root.Read("/sys/class/udc/musb-hdrc.1.auto/device/info"), "0,0,0,0\n");
    EXPECT_TRUE(root.Exists("/sys/class/pwm/pwmchip0/pwm0/enable"));
    // Both names of the FPGA switch line lead to one file, as on the board.
    root.Write("/sys/devices/leds/leds/fpga_sw/brightness", "1\n");
    EXPECT_EQ(root.Read("/sys/class/leds/fpga_sw/brightness"), "1\n");
}

TEST(PrepareRoot, IsIdempotentAndKeepsWhatIsThere) {
    testsupport::TempRoot root;
    root.Write("/sys/class/net/eth0/operstate", "down\n");
    root.Write("/mnt/tst/seq/SEQ1.SEQ", "data");
    fs::remove_all(plat::MapPath("/mnt/sd1"));
    ASSERT_EQ(plat::PrepareRoot(), 0);
    ASSERT_EQ(plat::PrepareRoot(), 0);
    EXPECT_EQ(root.Read("/sys/class/net/eth0/operstate"), "down\n");
    EXPECT_EQ(root.Read("/mnt/tst/seq/SEQ1.SEQ"), "data");
    EXPECT_TRUE(fs::is_directory(plat::MapPath("/mnt/sd1")));
}

TEST(PrepareRoot, FailsWhereNoRootCanBeMade) {
    testsupport::TempRoot root;
    const std::string hostRootLink = plat::MapPath("/tmp/hostroot");
    std::string file = plat::MapPath("/tmp/plainfile");
    root.Write("/tmp/plainfile", "x");
    plat::SetRoot(file);
    EXPECT_EQ(plat::PrepareRoot(), -1);
    // The host's own root is never taken as the instrument's.
    plat::SetRoot("/");
    EXPECT_EQ(plat::PrepareRoot(), -1);
    EXPECT_EQ(errno, EINVAL);
    // Nor is it when named through a link or dots.
    fs::create_directory_symlink("/", hostRootLink);
    for (const std::string& dir : {hostRootLink, hostRootLink + "/tmp/.."}) {
        plat::SetRoot(dir);
        errno = 0;
        EXPECT_EQ(plat::PrepareRoot(), -1) << dir;
        EXPECT_EQ(errno, EINVAL) << dir;
    }
}

}  // namespace
