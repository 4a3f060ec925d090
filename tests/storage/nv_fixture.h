#pragma once
// The simulated NV memory, erased and open, with no stored data held, for each test of a part that keeps
// its data there; closed and reset again after the test, so that no test sees another's contents.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace test {

class NvTest : public ::testing::Test {
  protected:
    // A derived set-up runs this first: ASSERT_NO_FATAL_FAILURE(NvTest::SetUp()).
    void SetUp() override;
    void TearDown() override;
    // The memory's bytes as its backing file holds them: what the next start finds.
    static std::string Chip(uint32_t offset, uint32_t length);
    // One byte of the memory with a bit flipped, as a failing cell leaves it.
    static void FlipByte(uint32_t at);
};

}  // namespace test
