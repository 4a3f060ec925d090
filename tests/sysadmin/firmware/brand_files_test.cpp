// The brand file, the boot loader's version value and the boot logo, on a fresh root through the sandbox.
#include "sysadmin/firmware/brand_files.h"

#include <filesystem>

#include "core/system/config/identity.h"
#include "tests/support/brand_media.h"
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
    for (const char* brand : {"qx", "tulve", "pelma"})
        root.Write(std::string("/mnt/disk/app/image/") + brand + "_logo.bmp", testsupport::LogoBitmap());
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

// Only the boot loader's picture replaces the logo: 480 x 272 pixels of 24 bits, the header's size the
// file's and every row inside it. Anything else leaves the partition unerased.
TEST_F(BrandFiles, OnlyABootLogoBitmapIsWritten) {
    const std::string good = testsupport::LogoBitmap();
    const auto with = [&good](size_t at, uint8_t byte) {
        std::string b = good;
        b[at] = static_cast<char>(byte);
        return b;
    };
    std::string topDown = good;  // a height of -272: rows top first
    for (int i = 0; i < 4; ++i)
        topDown[22 + i] = static_cast<char>(static_cast<uint32_t>(-272) >> (8 * i));
    std::string shortRows = good.substr(0, good.size() - 1);  // the header names the shorter size
    shortRows[2] = static_cast<char>(shortRows.size() & 0xFF);
    const struct {
        const char* what;
        std::string bytes;
        bool fits;
    } cases[] = {
        {"the logo", good, true},
        {"top-down rows", topDown, true},
        {"no BMP mark", with(0, 'P'), false},
        {"a size one short of the file", with(2, static_cast<uint8_t>(good[2] - 1)), false},
        {"479 wide", with(18, 0xDF), false},
        {"273 high", with(22, 0x11), false},
        {"16 bits", with(28, 16), false},
        {"compressed", with(30, 1), false},
        {"pixels past the end", with(10, 55), false},
        {"a row missing", shortRows, false},
        {"the header alone", good.substr(0, 54), false},
        {"nothing", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(BootLogoBitmapFits(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size()), c.fits);
        root.Write("/mnt/disk/app/image/qx_logo.bmp", c.bytes);
        std::remove((root.path() + "/var/log/commands.log").c_str());
        EXPECT_EQ(BootLogoWrite(), c.fits ? 0 : -1);
        EXPECT_EQ(Matching("flash_eraseall /dev/mtd9").size(), c.fits ? 1u : 0u);
        EXPECT_EQ(Matching("dd if=/mnt/disk/app/image/qx_logo.bmp of=/dev/mtdblock9 bs=1024").size(),
                  c.fits ? 1u : 0u);
    }
    std::remove((root.path() + "/mnt/disk/app/image/qx_logo.bmp").c_str());
    EXPECT_EQ(BootLogoWrite(), -1) << "no file";
}

}  // namespace
