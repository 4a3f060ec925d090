#pragma once
// A LAN channel on the execution loop over a fresh unit's store (3P4W, AC-INT, L1 selected, a stand-alone
// master): the handler tests' common fixture, apart from the channel's, which the parser's fuzz target
// builds without the test framework.
#include <gtest/gtest.h>

#include "tests/scpi/scpi_channel_fixture.h"
#include "tests/support/default_store.h"

namespace scpitest {

class ChannelTest : public ::testing::Test {
  protected:
    test::DefaultStore store;
    MenuEnv env;
    FakeChannel ch{kChanLan};
};

}  // namespace scpitest
