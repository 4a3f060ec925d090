#pragma once
// The simulated NV memory of a test that keeps data there: erased and open before it, with no kept checksum
// of another test's blocks; closed and reset after it, so that no later test sees its contents.
#include <gtest/gtest.h>

#include "drivers/spi_nvm.h"
#include "platform/devices/spi.h"
#include "storage/nv/nv_blocks.h"

namespace testsupport {

// Fails the calling test when the memory cannot be opened or erased: call under ASSERT_NO_FATAL_FAILURE.
inline void OpenErasedNv() {
    // The open refuses a record that still holds a descriptor: one left open is closed first.
    SpiDevClose(&g_NvSpi);
    plat::NvmSimReset();
    ASSERT_EQ(SpiNvmInit(), 0);
    ASSERT_EQ(plat::NvmSimErase(), 0);
    NvBlocksReset();
}

inline void CloseNv() {
    SpiDevClose(&g_NvSpi);
    plat::NvmSimReset();
}

}  // namespace testsupport
