// Kernel and boot-loader versions as the start-up reads them through the command sandbox.
#include "sysadmin/sys_versions.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "tests/sysadmin/sandbox_log_fixture.h"

namespace {

std::array<int32_t, 7> KernelTime() {
    std::array<int32_t, 7> t;
    std::memcpy(t.data(), g_KernelBuildTime, sizeof g_KernelBuildTime);
    return t;
}

using SysVersions = SandboxLogTest;

TEST_F(SysVersions, ReadsTheKernelAndBootLoaderOfTheBoard) {
    const int32_t n = SysVersionsRead();
    EXPECT_STREQ(g_KernelName, "Linux");
    EXPECT_STREQ(g_KernelRelease, "4.14.108-qx");
    EXPECT_STREQ(g_KernelVersion, "#1 Thu Mar 16 10:32:51 CST 2023");
    EXPECT_EQ(KernelTime(), (std::array<int32_t, 7>{2023, 3, 16, 10, 32, 51, 4}));
    EXPECT_STREQ(g_UbootName, "U-Boot");
    EXPECT_STREQ(g_UbootVersion, "2014.07-00001-g4a8e5b89e5-dirty");
    EXPECT_STREQ(g_UbootDateText, "Mar 07 2023 - 15:12:33");
    EXPECT_STREQ(g_UbootVersionText, "Uboot_Version\n20230307 15:12:33");
    EXPECT_EQ(n, static_cast<int32_t>(std::strlen(g_UbootVersionText)));
}

TEST_F(SysVersions, CommandOutputIsBoundedAndTerminated) {
    // A reply longer than the read buffer and the text: cut, terminated, nothing past either.
    root.Write("/tmp/long", std::string(300, 'x'));
    char text[16];
    std::memset(text, '#', sizeof text);
    sysadmin::ReadCommandLine("cat /tmp/long", text, sizeof text);
    EXPECT_EQ(std::string(text), std::string(15, 'x'));

    char wide[200];
    std::memset(wide, '#', sizeof wide);
    sysadmin::ReadCommandLine("cat /tmp/long", wide, sizeof wide);
    EXPECT_EQ(std::string(wide), std::string(127, 'x'));  // only the first 127 bytes are read

    root.Write("/tmp/two", "first\nsecond\n");
    sysadmin::ReadCommandLine("cat /tmp/two", wide, sizeof wide);
    EXPECT_STREQ(wide, "first");

    sysadmin::ReadCommandLine("cat /tmp/missing 2>/dev/null", wide, sizeof wide);
    EXPECT_STREQ(wide, "");
}

TEST(KernelDate, ParsesTheVersionLineAndTheBootLoaderDate) {
    // {text, {year, month, day, hour, minute, second, weekday}}
    const std::pair<const char*, std::array<int32_t, 7>> cases[] = {
        {"#1 Thu Mar 16 10:32:51 CST 2023", {2023, 3, 16, 10, 32, 51, 4}},
        {"#1 thu mAR 16 10:32:51 CST 2023", {2023, 3, 16, 10, 32, 51, 4}},   // names in any case
        {"#7 Sun Dec  3 23:59:09 UTC 2000\n", {2000, 12, 3, 23, 59, 9, 7}},  // padded day
        {"#1 Thu Mar 16 10:32", {0, 3, 16, 10, 32, 0, 4}},                   // missing fields are 0
        {"#1 Thursday March 16 -1:32:51 CST 2023", {2023, 0, 16, 0, 32, 51, 0}},
        {"", {0, 0, 0, 0, 0, 0, 0}},
        {"#1 Thu Mar 16 10:32:51 CST 2023 extra words beyond nine fields", {2023, 3, 16, 10, 32, 51, 4}},
    };
    for (const auto& [text, time] : cases) {
        EXPECT_EQ(KernelDateParse(text), 0);
        EXPECT_EQ(KernelTime(), time) << text;
    }
    EXPECT_EQ(KernelDateParse(nullptr), -1);
    // The board's own date text: the version test above.
    UbootDateParse("(oct 1 1999 - 1:2:3");
    EXPECT_EQ(g_UbootBuildTime[1], 10);
    EXPECT_EQ(g_UbootBuildTime[0], 1999);
    EXPECT_EQ(g_UbootBuildTime[5], 3);
}

}  // namespace
