#include "drivers/spi_nvm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/devices/spi.h"
#include "tests/support/temp_root.h"

namespace {

using plat::NvmSimCommand;

class SpiNvmTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SpiDevClose(&g_NvSpi);
        plat::NvmSimReset();
        ASSERT_EQ(SpiNvmInit(), 0);
        plat::NvmSimClearLog();
    }
    void TearDown() override {
        SpiDevClose(&g_NvSpi);
        plat::NvmSimReset();
    }
    // The memory's bytes as its backing file holds them.
    std::vector<uint8_t> Chip() const {
        std::ifstream f(root_.path() + "/dev/spidev1.0", std::ios::binary);
        return {std::istreambuf_iterator<char>(f), {}};
    }
    testsupport::TempRoot root_;
};

std::vector<uint8_t> Pattern(uint32_t n) {
    std::vector<uint8_t> v(n);
    for (uint32_t i = 0; i < n; ++i)
        v[i] = static_cast<uint8_t>(i * 7 + 3);
    return v;
}

// Command groups as the memory saw them: a write chunk is enable/write/disable, a read chunk one read.
TEST_F(SpiNvmTest, TransfersAreChunkedWithTheirOwnCommandGroups) {
    struct Case {
        bool write;
        uint32_t offset, length;
        std::vector<uint32_t> chunks;
    };
    const Case cases[] = {
        {true, 0, 5000, {2048, 2048, 904}},
        {true, 70000, 2048, {2048}},
        {false, 100, 300, {128, 128, 44}},
        {true, 5, 0, {}},
        {false, 5, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.write ? "write " : "read ") << c.length);
        plat::NvmSimClearLog();
        std::vector<uint8_t> data = Pattern(c.length), buf(c.length + 1, 0xA5);
        int32_t rc = c.write ? SpiNvmWriteBuf(c.offset, data.data(), c.length)
                             : SpiNvmReadBuf(c.offset, buf.data(), c.length);
        EXPECT_EQ(rc, static_cast<int32_t>(c.length));
        std::vector<NvmSimCommand> expected;
        uint32_t at = c.offset;
        for (uint32_t n : c.chunks) {
            if (c.write) expected.push_back({0x06, 0, 0, false});
            expected.push_back({static_cast<uint8_t>(c.write ? 0x02 : 0x03), at, n, false});
            if (c.write) expected.push_back({0x04, 0, 0, false});
            at += n;
        }
        auto log = plat::NvmSimLog();
        ASSERT_EQ(log.size(), expected.size());
        for (size_t i = 0; i < log.size(); ++i) {
            EXPECT_EQ(log[i].command, expected[i].command) << i;
            EXPECT_EQ(log[i].address, expected[i].address) << i;
            EXPECT_EQ(log[i].length, expected[i].length) << i;
        }
        EXPECT_TRUE(c.length > 0 || buf[0] == 0xA5) << "the buffer is not touched either";
        if (c.write) {
            auto chip = Chip();
            EXPECT_TRUE(std::equal(data.begin(), data.end(), chip.begin() + c.offset));
            std::vector<uint8_t> back(c.length);
            EXPECT_EQ(SpiNvmReadBuf(c.offset, back.data(), c.length), static_cast<int32_t>(c.length));
            EXPECT_EQ(back, data);
        }
    }
}

// A range past the end is refused whole, never wrapped onto the identity block at offset 0.
TEST_F(SpiNvmTest, RangesBeyondTheMemoryAreRefused) {
    ASSERT_EQ(plat::NvmSimErase(), 0);
    struct Case {
        uint32_t offset, length;
        int32_t result;
    };
    const Case cases[] = {
        {kNvmSize - 10, 10, 10}, {kNvmSize - 10, 11, -1}, {kNvmSize, 0, 0},
        {kNvmSize, 1, -1},       {0xFFFFFFF0u, 32, -1},   {0, kNvmSize + 1, -1},
    };
    std::vector<uint8_t> data = Pattern(kNvmSize + 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.offset << "+" << c.length);
        plat::NvmSimClearLog();
        EXPECT_EQ(SpiNvmWriteBuf(c.offset, data.data(), c.length), c.result);
        EXPECT_EQ(SpiNvmReadBuf(c.offset, data.data(), c.length), c.result);
        EXPECT_TRUE(c.result >= 0 || plat::NvmSimLog().empty());
    }
    auto chip = Chip();
    EXPECT_EQ(chip.size(), kNvmSize);
    EXPECT_TRUE(std::all_of(chip.begin(), chip.begin() + 64, [](uint8_t b) { return b == 0xFF; }));
}

// Any failed message fails the whole transfer, the write of a chunk included when the disable after it
// goes through; the loop stops at the failed chunk and a write is still disabled.
TEST_F(SpiNvmTest, AFailedMessageFailsTheTransfer) {
    struct Case {
        bool write;
        int failing;  // message index counted from the start of the transfer
        size_t messages;
        uint32_t inPlace;  // bytes of a write that reached the memory
    };
    const Case cases[] = {
        {true, 0, 1, 0},     // enable of chunk 1: nothing is sent after it
        {true, 4, 6, 2048},  // data of chunk 2, its disable succeeds
        {true, 8, 9, 5000},  // disable of the last chunk
        {false, 1, 2, 0},
    };
    const std::vector<uint8_t> data = Pattern(5000);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.write ? "write" : "read") << " failing " << c.failing);
        ASSERT_EQ(plat::NvmSimErase(), 0);
        plat::NvmSimClearLog();
        plat::NvmSimFailMessage(c.failing);
        std::vector<uint8_t> buf = data;
        EXPECT_EQ(c.write ? SpiNvmWriteBuf(0, buf.data(), 5000) : SpiNvmReadBuf(0, buf.data(), 300), -1);
        auto log = plat::NvmSimLog();
        ASSERT_EQ(log.size(), c.messages);
        EXPECT_TRUE(log[c.failing].failed);
        if (!c.write) continue;
        EXPECT_TRUE(c.failing == 0 || log.back().command == 0x04) << "the write is disabled";
        auto chip = Chip();
        EXPECT_TRUE(std::equal(data.begin(), data.begin() + c.inPlace, chip.begin()));
        EXPECT_EQ(chip[c.inPlace], 0xFF);
    }
}

// A power cut after N write commands: the chunks before it are in place, nothing after it reaches the
// chip (not even a read or another transfer) until the power is back.
TEST_F(SpiNvmTest, APowerCutStopsTheChipAfterItsWrites) {
    const std::vector<uint8_t> data = Pattern(5000);  // three chunks: 2048, 2048, 904
    for (int cut = 0; cut <= 3; ++cut) {
        SCOPED_TRACE(testing::Message() << "cut after " << cut << " writes");
        plat::NvmSimCutAfterWrites(-1);
        ASSERT_EQ(plat::NvmSimErase(), 0);
        plat::NvmSimCutAfterWrites(cut);
        // The disable after the last write taken fails too: the supply is gone.
        EXPECT_EQ(SpiNvmWriteBuf(0, data.data(), 5000), -1);
        const uint8_t more[2] = {1, 2};
        EXPECT_EQ(SpiNvmWriteBuf(6000, more, 2), -1);
        std::vector<uint8_t> back(10);
        EXPECT_EQ(SpiNvmReadBuf(0, back.data(), 10), -1);
        const uint32_t inPlace = std::min<uint32_t>(5000, 2048u * static_cast<uint32_t>(cut));
        auto chip = Chip();
        EXPECT_TRUE(std::equal(data.begin(), data.begin() + inPlace, chip.begin()));
        EXPECT_TRUE(inPlace == 5000 || chip[inPlace] == 0xFF);
        EXPECT_EQ(chip[6000], 0xFF);
    }
    plat::NvmSimCutAfterWrites(-1);
    std::vector<uint8_t> back(10);
    EXPECT_EQ(SpiNvmReadBuf(0, back.data(), 10), 10);
}

TEST_F(SpiNvmTest, ContentsOutliveTheDeviceAndTheSelfTestFindsADeadChip) {
    std::vector<uint8_t> data = Pattern(40), back(40);
    ASSERT_EQ(SpiNvmWriteBuf(1000, data.data(), 40), 40);
    SpiDevClose(&g_NvSpi);
    ASSERT_EQ(SpiNvmInit(), 0);
    ASSERT_EQ(SpiNvmReadBuf(1000, back.data(), 40), 40);
    EXPECT_EQ(back, data);
    EXPECT_EQ(NvMemTest(), 0);
    plat::NvmSimSetReadsAllOnes(true);
    EXPECT_EQ(NvMemTest(), 1);
    plat::NvmSimSetReadsAllOnes(false);
    ASSERT_EQ(plat::NvmSimErase(), 0);
    ASSERT_EQ(SpiNvmReadBuf(1000, back.data(), 40), 40);
    EXPECT_EQ(back, std::vector<uint8_t>(40, 0xFF));
}

}  // namespace
