#include "tests/storage/nv_fixture.h"

#include <fstream>
#include <iterator>
#include <mutex>

#include "drivers/spi_nvm.h"
#include "platform/host/root.h"
#include "storage/nv/nv_blocks.h"
#include "storage/nv/nv_hold.h"
#include "tests/support/erased_nv.h"

namespace test {

void NvTest::SetUp() {
    ASSERT_NO_FATAL_FAILURE(testsupport::OpenErasedNv());
    std::lock_guard<std::mutex> hold(NvBlockLock());
    NvHoldResetAll();  // no hold of another test's failed load
}

void NvTest::TearDown() {
    testsupport::CloseNv();
}

std::string NvTest::Chip(uint32_t offset, uint32_t length) {
    std::ifstream f(plat::MapPath("/dev/spidev1.0"), std::ios::binary);
    const std::string all{std::istreambuf_iterator<char>(f), {}};
    return all.size() >= offset + length ? all.substr(offset, length) : std::string();
}

void NvTest::FlipByte(uint32_t at) {
    uint8_t b = 0;
    ASSERT_EQ(SpiNvmReadBuf(at, &b, 1), 1);
    b ^= 0x10;
    ASSERT_EQ(SpiNvmWriteBuf(at, &b, 1), 1);
}

}  // namespace test
