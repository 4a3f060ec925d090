// Symbolic links under the instrument root: followed while they stay inside it, refused when they lead
// out of it, to a host pseudo-terminal as well (device nodes are opened through their stand-ins).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/host/root.h"
#include "tests/support/temp_root.h"

namespace {
namespace fs = std::filesystem;

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

}  // namespace
