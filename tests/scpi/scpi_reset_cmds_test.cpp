// The remote reset's hand-over to the supervisor, which may take the queued reset the moment it is
// pushed.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/control/sys_event.h"
#include "core/system/sys_status.h"
#include "platform/clock.h"
#include "scpi/scpi_handlers.h"
#include "tests/scpi/scpi_channel_fixture.h"

namespace {

// When the reset event can be seen in the ring, its remote request is already marked: a reset begun
// before the mark never advances the hand-shake, and the unit would stay not ready for ever.
TEST(ResetCommand, RequestIsMarkedBeforeTheResetIsQueued) {
    core::SysEventReset();
    core::SysStatusReset();
    SysEvent_Run();  // the ring initialised
    scpitest::FakeChannel channel;
    channel.cmd->query = 0;
    std::atomic<int> fieldSeen{-1};
    std::thread supervisor([&fieldSeen] {
        const uint64_t endMs = plat::NowMs() + 5000;
        while (plat::NowMs() < endMs) {
            for (const auto& slot : g_SysEventRing.slots) {
                if (slot.load(std::memory_order_acquire) == kSysEventResetOutput) {
                    fieldSeen.store((g_SysStatus.load(std::memory_order_relaxed) >> kSysRemoteResetLow) & 3u);
                    return;
                }
            }
        }
    });
    EXPECT_EQ(scpi::CmdRst(&channel.ifc), 0);
    supervisor.join();
    EXPECT_EQ(fieldSeen.load(), 1);
    core::SysEventReset();
    core::SysStatusReset();
}

}  // namespace
