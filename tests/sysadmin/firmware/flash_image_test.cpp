// Update packages and start-screen blocks from USB memory written into the flash partition files.
#include "sysadmin/firmware/flash_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "core/system/links/usb_state.h"
#include "storage/checked_block.h"
#include "tests/sysadmin/sandbox_log_fixture.h"
#include "tests/sysadmin/tar_fixture.h"

namespace {

using Bytes = std::string;

// A checksummed block with d length digits around the payload.
Bytes Block(const Bytes& payload) {
    const std::string length = std::to_string(payload.size() + 4);
    uint32_t sum = 0;
    for (char c : payload)
        sum += static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(c)));
    Bytes block = "#" + std::to_string(length.size()) + length;
    for (int i = 0; i < 4; ++i)
        block += static_cast<char>(sum >> (8 * i));
    return block + payload;
}

const Bytes kKernel = Bytes(3000, 'K') + "end";

class FlashImage : public StickTest {
  protected:
    Bytes Partition(int n) const { return root.Read("/dev/mtd" + std::to_string(n)); }
};

TEST_F(FlashImage, KernelFromPackageIsWrittenAndCheckedBadPackagesChangeNothing) {
    const Bytes good = UpdatePackage(Tar(TarMember("qx/merge_vrn/zImage", '0', kKernel)));
    Bytes badLength = good, badSum = good;
    badLength[3] = '7';
    badSum[4] ^= 1;
    const Bytes kernelMember = TarMember("qx/merge_vrn/zImage", '0', kKernel);
    const struct {
        const char* what;
        Bytes file;
        int32_t result;
        bool unpacked;  // the archive reached tar
    } cases[] = {
        {"length 27", badLength, -600, false},
        {"checksum byte", badSum, -600, false},
        {"20 bytes", good.substr(0, 20), -600, false},
        {"parent part", UpdatePackage(Tar(kernelMember + TarMember("qx/../x", '0', "x"))), -105, false},
        {"absolute name", UpdatePackage(Tar(TarMember("/x", '0', "x") + kernelMember)), -105, false},
        {"outside the brand folder", UpdatePackage(Tar(kernelMember + TarMember("netconf", '0', "x"))), -105,
         false},
        {"link", UpdatePackage(Tar(TarMember("qx/merge_vrn", '2', "") + kernelMember)), -105, false},
        {"truncated", good.substr(0, good.size() - 1100), -105, false},
        {"no kernel in it", UpdatePackage(Tar(TarMember("qx/merge_vrn/u-boot.img", '0', "U"))), -2, true},
    };
    const Bytes erased = Partition(11);
    ASSERT_EQ(erased, Bytes(2 * 1024 * 1024, '\xff'));
    // An earlier package's kernel stays in /tmp unless the unpack removes it first.
    root.Write("/tmp/qx/merge_vrn/zImage", "stale");
    for (const auto& c : cases) {
        root.Write("/mnt/sd1/qx/qx.sb6", c.file);
        EXPECT_EQ(FlashWriteFromPackage(11, "zImage"), c.result) << c.what;
        EXPECT_EQ(Matching("tar -xf").size(), c.unpacked ? 1u : 0u) << c.what;
        EXPECT_EQ(root.Read("/tmp/qx.tar"), "") << c.what;
        EXPECT_TRUE(Matching("flash_eraseall").empty()) << c.what;
        EXPECT_EQ(Partition(11), erased) << c.what;
    }

    root.Write("/mnt/sd1/qx/qx.sb6", good);
    EXPECT_EQ(FlashWriteFromPackage(7, "zImage"), -2);
    EXPECT_EQ(FlashWriteFromPackage(11, "zImage"), 0);
    EXPECT_EQ(Matching("tar -xf").back(), "ran 0 tar -xf /tmp/qx.tar -C /tmp");
    EXPECT_EQ(Matching("rm /tmp/qx.tar").back(), "ran 0 rm /tmp/qx.tar");
    EXPECT_EQ(Matching("flash_eraseall"), std::vector<std::string>{"simulated 0 flash_eraseall /dev/mtd11"});
    EXPECT_EQ(Partition(11), kKernel + erased.substr(kKernel.size()));

    // A kernel larger than its partition is refused before the erase.
    root.Write("/mnt/sd1/qx/qx.sb6",
               UpdatePackage(Tar(TarMember("qx/merge_vrn/zImage", '0', Bytes(3 << 20, 'K')))));
    EXPECT_EQ(FlashWriteFromPackage(11, "zImage"), -2);
    EXPECT_EQ(Matching("flash_eraseall").size(), 1u);
    EXPECT_EQ(Partition(11), kKernel + erased.substr(kKernel.size()));

    g_UsbState.usbAccessError.store(1);  // a stick that failed its mount is not a source
    root.Write("/mnt/sd1/qx/qx.sb6", good);
    EXPECT_EQ(FlashWriteFromPackage(11, "zImage"), -100);
}

TEST_F(FlashImage, StartScreenBlockBecomesTheBmpInFlash) {
    Bytes pixels(480 * 272 * 2, '\0');
    pixels[0] = '\xE0';  // row 0, col 0: 0x07E0
    pixels[1] = '\x07';
    pixels[271 * 960 + 1] = '\xF8';  // row 271, col 0: 0xF800
    const Bytes payload = Bytes(4144, 'h') + pixels;
    root.Write("/mnt/sd1/qx/qx_aps_start_scrn.blk", Block(payload));
    ASSERT_EQ(FlashWriteStartScreen(9, "qx_aps_start_scrn.blk"), 0);
    const Bytes bmp = root.Read("/dev/mtd9");
    EXPECT_EQ(bmp.substr(0, 6), Bytes("BM\x36\xFA\x05\x00", 6));
    EXPECT_EQ(bmp.substr(18, 8), Bytes("\xE0\x01\x00\x00\x10\x01\x00\x00", 8));
    EXPECT_EQ(bmp.substr(54, 3), Bytes("\x00\x00\xF8", 3));
    EXPECT_EQ(bmp.substr(390294, 3), Bytes("\x00\xFC\x00", 3));
    EXPECT_EQ(bmp.substr(391734), Bytes(512 * 1024 - 391734, '\xff'));

    Bytes changed = Block(payload), noDigits = Block(payload);
    changed[5000] ^= 1;
    noDigits[1] = '0';
    const struct {
        const char* what;
        int32_t partition;
        Bytes file;
        int32_t result;
    } cases[] = {
        {"changed payload byte", 9, changed, -1},
        {"d = 0", 9, noDigits, -1},
        {"300-byte payload", 9, Block(Bytes(300, 'p')), -1},
        {"L below 4", 9, "#13xyz", -1},
        {"one byte more", 9, Block(payload) + "x", -1},
        {"boot-loader partition", 5, Block(payload), -2},
    };
    const size_t erases = Matching("flash_eraseall").size();
    for (const auto& c : cases) {
        root.Write("/mnt/sd1/qx/qx_aps_start_scrn.blk", c.file);
        EXPECT_EQ(FlashWriteStartScreen(c.partition, "qx_aps_start_scrn.blk"), c.result) << c.what;
        EXPECT_EQ(Matching("flash_eraseall").size(), erases) << c.what;
        EXPECT_EQ(root.Read("/dev/mtd9"), bmp) << c.what;
    }
    // A 300-byte payload has L = 304 in three digits; its checksum sums the payload as signed bytes.
    const struct {
        Bytes file;
        bool valid;
    } blocks[] = {
        {"#3304" + Bytes("\x40\x83\x00\x00", 4) + Bytes(300, 'p'), true},
        {"#3304" + Bytes("\x40\xED\xFF\xFF", 4) + Bytes(300, '\xF0'), true},
        {"#3304" + Bytes("\x40\x19\x01\x00", 4) + Bytes(300, '\xF0'), false},  // unsigned sum
        {"#3305" + Bytes("\x40\x83\x00\x00", 4) + Bytes(300, 'p'), false},
        {"#40304" + Bytes("\x40\x83\x00\x00", 4) + Bytes(300, 'p'), true},
        {"#3304" + Bytes("\x40\x83\x00\x00", 4) + Bytes(299, 'p'), false},
    };
    for (const auto& b : blocks) {
        size_t offset = 0, length = 0;
        const auto* data = reinterpret_cast<const uint8_t*>(b.file.data());
        EXPECT_EQ(CheckedBlockPayload(data, b.file.size(), &offset, &length), b.valid) << b.file.substr(0, 9);
        if (b.valid) {
            EXPECT_EQ(offset, b.file[1] == '3' ? 9u : 10u);
            EXPECT_EQ(length, 300u);
        }
    }
    EXPECT_EQ(FlashWriteStartScreen(9, "missing.blk"), -2);
    EXPECT_EQ(FlashCopyToUsb(9, "qx_aps_start_scrn.blk"), -1);
}

}  // namespace
