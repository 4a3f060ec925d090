#include "platform/host/root.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/host/root_provision.h"
#include "tests/support/temp_root.h"

namespace {
namespace fs = std::filesystem;

TEST(MapPath, StaysUnderTheRoot) {
    testsupport::TempRoot root;
    const std::string r = root.path();
    const std::pair<std::string, std::string> cases[] = {
        {"/mnt/disk/a", r + "/mnt/disk/a"},
        {"/", r},
        {"//mnt///sd1/./x", r + "/mnt/sd1/x"},
        {"/../../etc/passwd", r + "/etc/passwd"},
        {"relative/../path", "relative/../path"},
        {"", ""},
        {r + "/tmp/netconf", r + "/tmp/netconf"},  // mapping twice changes nothing
        {r + "/../../etc", r + "/etc"},            // and still cannot climb out
        {r + "x/y", r + r + "x/y"},                // a host path that merely starts like the root
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(plat::MapPath(in), out) << in;
}

// Symbolic links under the instrument root: followed while they stay inside it, refused when they lead
// out of it, to a host pseudo-terminal as well (device nodes are opened through their stand-ins).
TEST(MapPath, LinksOutOfTheRootAreNotFollowed) {
    testsupport::TempRoot root;
    const fs::path outside =
        fs::path(root.path()).parent_path() / (fs::path(root.path()).filename().string() + "-out");
    fs::create_directories(outside);
    int pty = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(pty, 0);
    grantpt(pty);
    unlockpt(pty);
    const std::string r = root.path();
    fs::create_directory_symlink(outside, r + "/mnt/tst/out");
    fs::create_symlink(outside / "missing", r + "/mnt/tst/dangling");
    fs::create_directory_symlink("../../mnt/sd1", r + "/mnt/tst/in");
    fs::create_symlink("../../../..", r + "/mnt/tst/up");
    fs::create_symlink(ptsname(pty), r + "/dev/ttyS1");
    // {path, mapped}
    const std::pair<const char*, bool> cases[] = {
        {"/mnt/tst/out", false},    {"/mnt/tst/out/new.txt", false}, {"/mnt/tst/dangling", false},
        {"/mnt/tst/up/etc", false}, {"/mnt/tst/in/x.txt", true},     {"/mnt/tst/plain.txt", true},
        {"/dev/ttyS1", false},
    };
    for (const auto& [path, mapped] : cases)
        EXPECT_EQ(plat::MapPath(path).empty(), !mapped) << path;
    // Nothing is written through a refused link.
    std::FILE* f = std::fopen(plat::MapPath("/mnt/tst/out/new.txt").c_str(), "w");
    EXPECT_EQ(f, nullptr);
    if (f != nullptr) std::fclose(f);
    EXPECT_FALSE(fs::exists(outside / "new.txt"));
    close(pty);
    fs::remove_all(outside);
}

// Links and dots are followed; a dangling link counts as its target, since creating the name creates
// the target.
TEST(IsInsideRoot, FollowsLinksAndDots) {
    testsupport::TempRoot root;
    const std::string r = root.path(), outside = r + "-missing/file";
    const std::pair<const char*, std::string> links[] = {
        {"/mnt/disk/out", "/etc"},         {"/mnt/disk/in", "../tst"},
        {"/mnt/disk/abs", outside},        {"/mnt/disk/rel", "../../../x-missing"},
        {"/mnt/disk/dir", r + "-missing"}, {"/mnt/disk/chain", "abs"},
        {"/mnt/disk/up", "../tst/new"},    {"/mnt/disk/loop", "loop"},
    };
    for (const auto& [link, target] : links)
        fs::create_symlink(target, plat::MapPath(link));
    const std::pair<std::string, bool> cases[] = {
        {r, true},
        {r + "/mnt/disk/new/file", true},
        {r + "/mnt/disk/new/../../../../x", false},
        {r + "/mnt//disk/./new", true},
        {r + "/../x", false},
        {r + "-sibling/x", false},
        {"/etc/passwd", false},
        {"", false},
        {r + "/mnt/disk/out/passwd", false},
        {r + "/mnt/disk/in/seq", true},
        {r + "/mnt/disk/abs", false},
        {r + "/mnt/disk/rel", false},
        {r + "/mnt/disk/dir/file", false},
        {r + "/mnt/disk/chain", false},
        {r + "/mnt/disk/up", true},
        {r + "/mnt/disk/loop", false},
    };
    for (const auto& [path, inside] : cases)
        EXPECT_EQ(plat::IsInsideRoot(path), inside) << path;
}

TEST(PrepareRoot, MakesTheInstrumentsFoldersAndKeepsWhatIsThere) {
    testsupport::TempRoot root;
    EXPECT_EQ(root.Read("/sys/class/net/eth0/operstate"), "up\n");
    // Both names of the FPGA switch line lead to one file, as on the board.
    root.Write("/sys/devices/leds/leds/fpga_sw/brightness", "1\n");
    EXPECT_EQ(root.Read("/sys/class/leds/fpga_sw/brightness"), "1\n");
    // Preparing again keeps what is there and makes what is missing.
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
    // The host's own root is never taken as the instrument's, nor when named through a link or dots.
    fs::create_directory_symlink("/", hostRootLink);
    for (const std::string& dir : {std::string("/"), hostRootLink, hostRootLink + "/tmp/.."}) {
        plat::SetRoot(dir);
        errno = 0;
        EXPECT_EQ(plat::PrepareRoot(), -1) << dir;
        EXPECT_EQ(errno, EINVAL) << dir;
    }
}

}  // namespace
