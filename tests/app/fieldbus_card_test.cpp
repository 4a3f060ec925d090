// The fieldbus thread on this machine: with a card detected it asks for the CAN interface, finds none
// and ends, clearing its running word; the supervisor's stop request is still acknowledged afterwards.
#include <gtest/gtest.h>

#include <string>

#include "app/supervisor.h"
#include "core/system/config/iface_card_detect.h"
#include "core/system/links/thread_ctl.h"
#include "core/system/messaging/msg_queue.h"
#include "core/system/state/sys_status.h"
#include "remote/fieldbus.h"
#include "tests/support/temp_root.h"

namespace {

TEST(FieldbusCard, CardWithoutInterfaceEndsAndStopIsAcknowledged) {
    testsupport::TempRoot root;
    root.Write("/sys/class/gpio/gpio106/value", "1\n");
    ASSERT_EQ(IfaceCardDetect(), 3);
    MsgQueueInit();
    SysStatusSet(kSysMenuThreadRunning);
    testing::internal::CaptureStdout();
    FieldbusThread(nullptr);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "FieldbusThread: CAN card 3\nFieldbusThread: no CAN interface, ending\n");
    EXPECT_EQ(g_ThreadCtl.running[kRunFieldbus].load(), 0u);

    g_ThreadCtl.control.store(kIfaceStop);
    SupervisorPass();
    EXPECT_EQ(g_ThreadCtl.control.load(), static_cast<uint32_t>(kIfaceIdle));
    SysStatusClear(kSysMenuThreadRunning);
    root.Write("/sys/class/gpio/gpio106/value", "0\n");
    IfaceCardDetect();
}

}  // namespace
