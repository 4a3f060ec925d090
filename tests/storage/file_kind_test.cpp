// IsDirectory tells a folder by its file type, not by one bit of the mode: a socket's or a block
// device's mode has that bit too.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "platform/host/root.h"
#include "storage/file_util.h"
#include "tests/support/temp_root.h"

namespace {

TEST(IsDirectory, ByFileType) {
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
