#pragma once
// A LAN channel on the execution loop over a fresh unit's store (3P4W, AC-INT, L1 selected, a stand-alone
// master): the handler tests' common fixture, apart from the channel's, which the parser's fuzz target
// builds without the test framework.
#include <gtest/gtest.h>

#include "core/system/config/model_table.h"
#include "tests/scpi/scpi_channel_fixture.h"
#include "tests/support/default_store.h"

namespace scpitest {

// Runs each {program message, reply|errors} row on the channel in order and expects its result.
inline void ExpectRuns(FakeChannel& ch, std::initializer_list<std::pair<const char*, std::string>> rows) {
    for (const auto& [message, expect] : rows)
        EXPECT_EQ(ch.Run(message), expect) << message;
}

class ChannelTest : public ::testing::Test {
  protected:
    // The menu/control thread's start reads the root's memory, erased here, which holds no model type:
    // the unit keeps the store's, as a unit out of the factory has one.
    ChannelTest() { g_ModelId.store(kStoreModel); }
    static constexpr uint32_t kStoreModel = 2;
    test::DefaultStore store{kStoreModel};
    MenuEnv env;
    FakeChannel ch{kChanLan};
};

}  // namespace scpitest
