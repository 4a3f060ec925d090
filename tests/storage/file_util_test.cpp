// The file services of every file routine.
#include "storage/file_util.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/host/root.h"
#include "tests/support/temp_root.h"

namespace {

TEST(FileUtil, SizeAndAlignedAlloc) {
    testsupport::TempRoot root;
    root.Write("/mnt/tst/empty", "");
    root.Write("/mnt/tst/five", "12345");
    EXPECT_EQ(FileSize("/mnt/tst/empty"), 0);
    EXPECT_EQ(FileSize("/mnt/tst/five"), 5);
    EXPECT_EQ(FileSize("/mnt/tst/missing"), -1);
    EXPECT_EQ(FileSize(nullptr), -1);
    EXPECT_GT(FileSize("/mnt/tst"), 0);  // a directory exists and has a size of its own
    for (size_t n : {1u, 3u, 4096u, 1573888u}) {
        void* p = AlignedAlloc(n);
        ASSERT_NE(p, nullptr) << n;
        EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 4, 0u);
        std::memset(p, 0xA5, n);
        std::free(p);
    }
}

// IsDirectory tells a folder by its file type, not by one bit of the mode: a socket's or a block
// device's mode has that bit too.
TEST(FileUtil, IsDirectoryByFileType) {
    testsupport::TempRoot root;
    root.Write("/mnt/tst/file.txt", "x");
    ASSERT_EQ(mkfifo(plat::MapPath("/mnt/tst/fifo").c_str(), 0600), 0);
    int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::string sockPath = plat::MapPath("/mnt/tst/sock");
    ASSERT_LT(sockPath.size(), sizeof addr.sun_path);
    std::strcpy(addr.sun_path, sockPath.c_str());
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    const std::pair<const char*, int32_t> cases[] = {
        {"/mnt/tst", 1},      {"/mnt/tst/file.txt", 0}, {"/mnt/tst/fifo", 0},
        {"/mnt/tst/sock", 0}, {"/mnt/tst/none", -1},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(IsDirectory(path), expected) << path;
    close(sock);
}

}  // namespace
