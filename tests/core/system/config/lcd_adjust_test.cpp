// The display adjustment: the settings words and the text the display takes.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/system/config/iface_cfg.h"
#include "tests/support/temp_root.h"

namespace {

TEST(LcdAdjust, EachSetterStoresItsWordAndAppliesAllThree) {
    testsupport::TempRoot root;
    IfaceLcdWordSet(0);
    SetLcdAdjust0(40);
    EXPECT_EQ(root.Read("/var/run/lcd-adjust"), "40 0 0\n");
    SetLcdAdjust1(55);
    EXPECT_EQ(root.Read("/var/run/lcd-adjust"), "40 55 0\n");
    SetLcdAdjust2(100);
    EXPECT_EQ(root.Read("/var/run/lcd-adjust"), "40 55 100\n");
    EXPECT_EQ(IfaceLcdByte(0), 40);
    EXPECT_EQ(IfaceLcdByte(1), 55);
    EXPECT_EQ(IfaceLcdByte(2), 100);
    EXPECT_FALSE(std::filesystem::exists(root.path() + "/var/run/lcd-adjust.tmp")) << "renamed into place";
    // The GUI thread applies the values it copied; a newer setting in the words must survive that.
    EXPECT_EQ(SetLcdAdjustAll(10, 20, 30), 0);
    EXPECT_EQ(root.Read("/var/run/lcd-adjust"), "10 20 30\n");
    EXPECT_EQ(IfaceLcdByte(1), 55);
}

TEST(LcdAdjust, AMissingRunFolderFailsWithoutWriting) {
    testsupport::TempRoot root;
    std::filesystem::remove_all(root.path() + "/var/run");
    EXPECT_EQ(SetLcdAdjustAll(1, 2, 3), -1);
    SetLcdAdjust0(5);  // nothing to write into, and nothing thrown
    EXPECT_EQ(IfaceLcdByte(0), 5);
}

}  // namespace
