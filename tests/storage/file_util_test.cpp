// The file services of every file routine.
#include "storage/file_util.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "tests/support/temp_root.h"

namespace {

TEST(FileUtil, SizeAlignedAllocAndUpperCaseCopy) {
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
    char dst[16];
    EXPECT_EQ(UpperCaseCopy(dst, "preset1.Set", sizeof dst), 11);
    EXPECT_STREQ(dst, "PRESET1.SET");

    std::memset(dst, '#', sizeof dst);
    EXPECT_EQ(UpperCaseCopy(dst, "abcd", 4), -1);  // no room for the NUL: nothing copied
    EXPECT_EQ(dst[0], '#');
    EXPECT_EQ(UpperCaseCopy(dst, "abcd", 5), 4);
    EXPECT_EQ(UpperCaseCopy(nullptr, "a", 2), -1);
    EXPECT_EQ(UpperCaseCopy(dst, nullptr, 2), -1);
}

}  // namespace
