// The brand file, the boot loader's version value and the boot logo, on a fresh root through the sandbox.
#include "sysadmin/firmware/brand_files.h"

#include <filesystem>

#include "core/system/config/identity.h"
#include "tests/sysadmin/sandbox_log_fixture.h"

namespace {

class BrandFiles : public SandboxLogTest {
  protected:
    void TearDown() override {
        g_BrandId = 0;
        SandboxLogTest::TearDown();
    }
};

TEST_F(BrandFiles, TheFileNamesTheBrandByItsCode) {
    EXPECT_EQ(BrandFileRead(), -1);  // no file
    const struct {
        const char* text;
        int32_t brand;
    } cases[] = {
        {"firm=TULVE\n", 1}, {"firm=PL\n", 2}, {"firm=QX\n", 0},
        {"firm=XY\n", -1},   {"QX\n", -1},     {"firm=\nQX\n", -1},  // only the first line counts
        {"firm=QX", 0},                                              // no line end
    };
    for (const auto& c : cases) {
        root.Write("/mnt/disk/firm", c.text);
        EXPECT_EQ(BrandFileRead(), c.brand) << c.text;
    }
    for (uint32_t brand : {2u, 1u, 0u}) {
        g_BrandId = brand;
        EXPECT_EQ(BrandFileWrite(), 0);
        EXPECT_EQ(BrandFileRead(), static_cast<int32_t>(brand));
    }
    EXPECT_EQ(root.Read("/mnt/disk/firm"), "firm=QX\n");
}

TEST_F(BrandFiles, AnUnwritableFileStillSetsTheBootLoader) {
    std::filesystem::create_directories(root.path() + "/mnt/disk/firm");  // a folder where the file goes
    g_BrandId = 2;
    EXPECT_EQ(BrandFileWrite(), -1);
    EXPECT_EQ(Matching("fw_setenv").size(), 1u);
    EXPECT_NE(Matching("fw_setenv upg_ver 0x262").size(), 0u);
}

TEST_F(BrandFiles, TheLogoIsRewrittenOnlyWhenTheBootLoaderNamesAnotherBrand) {
    // As provisioned: the maker brand's value.
    EXPECT_EQ(BrandBootLogoCheck(), 0);
    EXPECT_TRUE(Matching("flash_eraseall").empty());
    // A value read back with CR LF still matches.
    root.Write("/var/lib/sandbox/state", "fw_env.upg_ver=0x261\r\n");
    g_BrandId = 1;
    EXPECT_EQ(BrandBootLogoCheck(), 0);
    EXPECT_TRUE(Matching("flash_eraseall").empty());
    g_BrandId = 2;
    EXPECT_EQ(BrandBootLogoCheck(), 0);
    EXPECT_EQ(Matching("flash_eraseall /dev/mtd9").size(), 1u);
    EXPECT_EQ(Matching("dd if=/mnt/disk/app/image/pelma_logo.bmp of=/dev/mtdblock9 bs=1024").size(), 1u);
    // No value at all rewrites it too.
    root.Write("/var/lib/sandbox/state", "");
    EXPECT_EQ(BrandBootLogoCheck(), 0);
    EXPECT_EQ(Matching("flash_eraseall /dev/mtd9").size(), 2u);
}

}  // namespace
