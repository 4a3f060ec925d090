#include "platform/host/log_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "tests/support/controller_process.h"
#include "tests/support/temp_root.h"

namespace {
namespace fs = std::filesystem;

using testsupport::FileText, testsupport::Lines;

std::set<std::string> FilesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

ino_t Inode(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

// Numbered lines of uneven length ("line 7 ab", "line 8 abc", ...), so that a rotation lands on no
// fixed boundary.
std::string NumberedLine(int n) {
    return "line " + std::to_string(n) + " " + std::string(static_cast<size_t>(n % 23), 'a') + "\n";
}

// Far more lines than the limit holds: the log and one older generation remain, each within the limit
// and made of whole lines, together the newest lines without a gap; the older one was full (its next
// line would not have fitted), and it is the former log itself, moved by a rename.
TEST(LogFile, RotationKeepsTheNewestLinesInTwoFilesWithinTheLimit) {
    testsupport::TempRoot root;
    const std::string folder = root.path() + "/var/log", log = folder + "/test.log", old = log + ".1";
    constexpr off_t kLimit = 1000;
    constexpr int kLines = 400;
    int rotations = 0;
    for (int n = 0; n < kLines; ++n) {
        const ino_t before = Inode(log);
        ASSERT_TRUE(plat::LogAppend(log, NumberedLine(n), kLimit));
        if (before != 0 && Inode(log) != before) {
            ++rotations;
            EXPECT_EQ(Inode(old), before) << "line " << n;
        }
    }
    EXPECT_GE(rotations, 5);
    EXPECT_EQ(FilesIn(folder), (std::set<std::string>{"test.log", "test.log.1"}));

    const std::string current = FileText(log), older = FileText(old);
    EXPECT_LE(static_cast<off_t>(current.size()), kLimit);
    EXPECT_LE(static_cast<off_t>(older.size()), kLimit);
    ASSERT_FALSE(current.empty());
    ASSERT_FALSE(older.empty());
    EXPECT_EQ(current.back(), '\n');
    EXPECT_EQ(older.back(), '\n');
    const std::vector<std::string> kept = Lines(older + current);
    ASSERT_FALSE(kept.empty());
    const int first = kLines - static_cast<int>(kept.size());
    for (size_t i = 0; i < kept.size(); ++i)
        EXPECT_EQ(kept[i] + "\n", NumberedLine(first + static_cast<int>(i))) << i;
    const size_t olderLines = Lines(older).size();
    EXPECT_GT(static_cast<off_t>(older.size() + NumberedLine(first + static_cast<int>(olderLines)).size()),
              kLimit);
}

TEST(LogFile, ExactFitAndLongLines) {
    testsupport::TempRoot root;
    const std::string log = root.path() + "/var/log/test.log", old = log + ".1";
    // A line that ends the log exactly at the limit stays in it; the next one starts a new log.
    ASSERT_TRUE(plat::LogAppend(log, "12345\n", 10));
    ASSERT_TRUE(plat::LogAppend(log, "abc\n", 10));
    EXPECT_EQ(FileText(log), "12345\nabc\n");
    EXPECT_FALSE(fs::exists(old));
    ASSERT_TRUE(plat::LogAppend(log, "x\n", 10));
    EXPECT_EQ(FileText(old), "12345\nabc\n");
    EXPECT_EQ(FileText(log), "x\n");

    // A line longer than the limit is cut to it and still ends its line.
    ASSERT_TRUE(plat::LogAppend(log, "0123456789abcdef\n", 10));
    EXPECT_EQ(FileText(old), "x\n");
    EXPECT_EQ(FileText(log), "012345678\n");
}

// The limit is read from the environment once; each case runs in a child of its own, whose first call
// reads it.
TEST(LogFile, LimitFromTheEnvironment) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::pair<const char*, off_t> cases[] = {
        {nullptr, 1024 * 1024}, {"4096", 4096},      {"1", 1},          {"0", 1024 * 1024},
        {"-5", 1024 * 1024},    {"4k", 1024 * 1024}, {"", 1024 * 1024},
    };
    for (const auto& [text, limit] : cases) {
        EXPECT_EXIT(
            {
                if (text == nullptr)
                    unsetenv("VRN_LOG_LIMIT_BYTES");
                else
                    setenv("VRN_LOG_LIMIT_BYTES", text, 1);
                const off_t first = plat::LogLimitBytes();
                setenv("VRN_LOG_LIMIT_BYTES", "77", 1);
                std::_Exit(first == limit && plat::LogLimitBytes() == limit ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "")
            << (text != nullptr ? text : "(unset)");
    }
}

}  // namespace
