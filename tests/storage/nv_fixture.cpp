#include "tests/storage/nv_fixture.h"

#include <mutex>

#include "drivers/spi_nvm.h"
#include "platform/devices/spi.h"
#include "storage/nv/nv_blocks.h"
#include "storage/nv/nv_hold.h"

namespace test {

void NvTest::SetUp() {
    // The open refuses a record that still holds a descriptor: one left open is closed first.
    SpiDevClose(&g_NvSpi);
    plat::NvmSimReset();
    ASSERT_EQ(SpiNvmInit(), 0);
    ASSERT_EQ(plat::NvmSimErase(), 0);
    NvBlocksReset();  // no kept checksum of another test's blocks
    std::lock_guard<std::mutex> hold(NvBlockLock());
    NvHoldResetAll();  // no hold of another test's failed load
}

void NvTest::TearDown() {
    SpiDevClose(&g_NvSpi);
    plat::NvmSimReset();
}

}  // namespace test
