// The remote reset's hand-over to the supervisor, which may take the queued reset the moment it is pushed.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/control/sync/output_pending.h"
#include "core/control/sys_event.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/status/scpi_status.h"
#include "tests/scpi/scpi_channel_fixture.h"

namespace {

// The remote-reset field a thread watching the ring sees when the queued reset appears (9: not seen).
uint32_t FieldWhenQueued(ScpiInterface* ifc) {
    core::SysEventReset();
    core::SysStatusReset();
    SysEvent_Run();  // the ring initialised
    std::atomic<uint32_t> field{9};
    std::atomic<bool> looking{false};
    std::thread supervisor([&field, &looking] {
        looking.store(true);
        for (const uint64_t end = plat::NowMs() + 5000; plat::NowMs() < end && field.load() == 9;)
            for (const auto& slot : g_SysEventRing.slots)
                if (slot.load(std::memory_order_acquire) == kSysEventResetOutput)
                    field.store((g_SysStatus.load(std::memory_order_relaxed) >> kSysRemoteResetLow) & 3u);
    });
    while (!looking.load())
        std::this_thread::yield();
    scpi::CmdRst(ifc);
    supervisor.join();
    core::SysEventReset();
    core::SysStatusReset();
    return field.load();
}

// Once the reset can be seen in the ring its request is marked: a reset begun before the mark never
// advances the hand-shake, and the unit would never be ready again.
TEST(ResetCommand, RequestIsMarkedBeforeTheResetIsQueued) {
    scpitest::FakeChannel channel;
    channel.cmd->query = 0;
    for (int round = 0; round < 20; ++round)
        ASSERT_EQ(FieldWhenQueued(&channel.ifc), 1u) << "round " << round;
}

// A reset leaves no *OPC of its channel waiting: the operations pending when the *OPC ran end with the
// reset, and the bit must not then say that they completed.
TEST(ResetCommand, CancelsAWaitingOperationComplete) {
    scpitest::FakeChannel channel;
    channel.cmd->query = 0;
    // An operation stays pending: no control task runs here.
    scpiOpcArm(channel.ifc.status, core::NoteSettingsChange());
    scpi::CmdRst(&channel.ifc);
    core::SysEventReset();
    core::SysStatusReset();
    core::OutputPendingReset();
    scpiOpcPoll(channel.ifc.status);
    EXPECT_EQ(scpiEsrGet(channel.ifc.status) & 1, 0);
}

}  // namespace
