#pragma once
// The simulated NV memory, erased and open, with no stored data held, for each test of a part that keeps
// its data there; closed and reset again after the test, so that no test sees another's contents.
#include <gtest/gtest.h>

namespace test {

class NvTest : public ::testing::Test {
  protected:
    // A derived set-up runs this first: ASSERT_NO_FATAL_FAILURE(NvTest::SetUp()).
    void SetUp() override;
    void TearDown() override;
};

}  // namespace test
