// The two port sequencers pass by pass: the USB-GPIB adapter's interface (polled for, driver loaded,
// enabled with the address, restarted for a new address) and the rear USB device (started, its host
// connection and loss announced).
#include "sysadmin/usb/usb_port_seq.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/system/config/iface_cfg.h"
#include "core/system/links/usb_state.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/sys_status.h"
#include "sysadmin/usb/usb_gadget.h"
#include "tests/sysadmin/sandbox_log_fixture.h"

namespace {

using Posts = std::vector<std::pair<uint32_t, uintptr_t>>;

Posts g_gpibPosts, g_usbPosts;
int g_driverLoads = 0;
bool g_host = false;

class UsbPortSeq : public SandboxLogTest {
  protected:
    void SetUp() override {
        SandboxLogTest::SetUp();
        g_gpibPosts.clear();
        g_usbPosts.clear();
        g_driverLoads = 0;
        g_host = false;
        UsbPort_SetHooks({[](uint32_t bits, uintptr_t arg) {
                              g_usbPosts.emplace_back(bits, arg);
                              return 0;
                          },
                          [](uint32_t bits, uintptr_t arg) {
                              g_gpibPosts.emplace_back(bits, arg);
                              return 0;
                          },
                          [] { return g_host; }, [] { ++g_driverLoads; }});
        g_UsbState.statusA.store(0);
        g_UsbState.statusB.store(0);
        g_UsbState.statusC.store(0);
        g_UsbState.gpibAddrApplied.store(0);
        g_IfaceCfg.gpibAddress = 7;
        g_IfaceCfg.usb[2] = 1u << 4;  // CDC
        UsbPortSeqReset();
        MsgQueue_Clear();
        SysStatusSet(kSysMenuThreadRunning);
    }
    void TearDown() override {
        SysStatusClear(kSysMenuThreadRunning);
        UsbPort_SetHooks({});
        g_UsbState.statusA.store(0);
        g_UsbState.statusB.store(0);
        g_UsbState.statusC.store(0);
        SandboxLogTest::TearDown();
    }
    // GPIB passes until one posts to the channel; the pass count, or -1 within limit.
    static int GpibPassesUntilPost(int limit) {
        const size_t before = g_gpibPosts.size();
        for (int i = 1; i <= limit; ++i) {
            UsbGpib_Sequencer();
            if (g_gpibPosts.size() > before) return i;
        }
        return -1;
    }
    static std::vector<uint32_t> Messages() {
        std::vector<uint32_t> ids;
        for (uint32_t id = 0; MsgQueue_Pop(&id) == 0;)
            ids.push_back(id);
        return ids;
    }
};

constexpr uint32_t kEnableWithAddress = 0x02 | 0x20, kDisable = 0x04, kEnable = 0x02;

TEST_F(UsbPortSeq, GpibWaitsAHundredPassesForTheAdapterThenStops) {
    for (int i = 0; i < 100; ++i)
        UsbGpib_Sequencer();
    g_UsbState.statusA.store(1u << 2);  // too late
    for (int i = 0; i < 200; ++i)
        UsbGpib_Sequencer();
    EXPECT_EQ(g_driverLoads, 0);
    EXPECT_TRUE(g_gpibPosts.empty());
}

// The adapter is looked for from the menu/control thread's start: passes before it do not count, and
// one seen within the hundred passes after it is taken.
TEST_F(UsbPortSeq, GpibCountsItsPassesFromTheMenuThreadsStart) {
    SysStatusClear(kSysMenuThreadRunning);
    for (int i = 0; i < 300; ++i)
        UsbGpib_Sequencer();
    SysStatusSet(kSysMenuThreadRunning);
    for (int i = 0; i < 99; ++i)
        UsbGpib_Sequencer();
    g_UsbState.statusA.store(1u << 2);
    EXPECT_EQ(GpibPassesUntilPost(40), 23);
    EXPECT_EQ(g_driverLoads, 1);
}

// Present: step 2 ten passes later loads the driver, step 3 ten passes after that enables the interface
// with the address; the class bit is copied into bit 3 of status byte B.
TEST_F(UsbPortSeq, GpibAdapterGetsItsDriverThenTheAddress) {
    g_UsbState.statusA.store(1u << 2);
    UsbGpib_Sequencer();  // step 1
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(UsbGpib_Sequencer(), 9 - i);
    EXPECT_EQ(g_driverLoads, 0);
    UsbGpib_Sequencer();  // step 2
    EXPECT_EQ(g_driverLoads, 1);
    EXPECT_EQ(GpibPassesUntilPost(40), 11);
    EXPECT_EQ(g_gpibPosts, (Posts{{kEnableWithAddress, 7}}));
    EXPECT_EQ(g_UsbState.gpibAddrApplied.load(), 7u);
    EXPECT_EQ(g_UsbState.statusB.load() & (1u << 3), 1u << 3);
    EXPECT_EQ(GpibPassesUntilPost(200), -1);  // started: nothing more
    EXPECT_EQ(g_driverLoads, 1);
}

// A new address restarts the interface (disable, 50 passes, enable with the new address) while bit 3 of
// status byte B is set, and only then.
TEST_F(UsbPortSeq, NewGpibAddressRestartsTheStartedInterface) {
    g_UsbState.statusA.store(1u << 2);
    ASSERT_EQ(GpibPassesUntilPost(40), 23);
    g_IfaceCfg.gpibAddress = 12;
    GpibAddressApply();
    EXPECT_EQ(GpibPassesUntilPost(1), 1);
    EXPECT_EQ(g_gpibPosts.back(), (std::pair<uint32_t, uintptr_t>{kDisable, 0}));
    EXPECT_EQ(GpibPassesUntilPost(60), 51);
    EXPECT_EQ(g_gpibPosts.back(), (std::pair<uint32_t, uintptr_t>{kEnableWithAddress, 12}));
    EXPECT_EQ(g_UsbState.gpibAddrApplied.load(), 12u);

    // In USB-TMC mode the start leaves bit 3 clear: the adapter present is not enough.
    g_IfaceCfg.usb[2] = 0;
    UsbPortSeqReset();
    ASSERT_EQ(GpibPassesUntilPost(40), 23);
    ASSERT_EQ(g_UsbState.statusB.load() & (1u << 3), 0u);
    GpibAddressApply();
    EXPECT_EQ(GpibPassesUntilPost(100), -1);
    // Bit 3 alone asks for the restart.
    g_UsbState.statusA.store(0);
    UsbPortSeqReset();
    for (int i = 0; i < 100; ++i)
        UsbGpib_Sequencer();
    g_UsbState.statusB.fetch_or(1u << 3);
    GpibAddressApply();
    EXPECT_EQ(GpibPassesUntilPost(1), 1);
    EXPECT_EQ(g_gpibPosts.back(), (std::pair<uint32_t, uintptr_t>{kDisable, 0}));
}

// The rear port: started with the gadget and "enable"; a configured controller and a host give message 1
// and the connected state; the controller losing its configuration gives message 2, clears the state and
// starts the port again from "disable".
TEST_F(UsbPortSeq, RearPortAnnouncesTheHostComingAndGoing) {
    UsbGadgetInit();
    root.Write("/sys/class/udc/musb-hdrc.1.auto/device/info", "3,1,0,152\n");
    for (int i = 0; i < 60 && g_usbPosts.empty(); ++i)
        UsbDev_ModeSequencer();
    ASSERT_EQ(g_usbPosts, (Posts{{kEnable, 0}}));
    EXPECT_FALSE(Matching("insmod /mnt/disk/drivers/usb/g_serial.ko").empty());
    for (int i = 0; i < 40; ++i)
        UsbDev_ModeSequencer();
    EXPECT_TRUE(Messages().empty()) << "configured, but no host on the channel";
    EXPECT_EQ(g_UsbState.statusC.load() & 0x6, 0);

    g_host = true;
    for (int i = 0; i < 12; ++i)
        UsbDev_ModeSequencer();
    EXPECT_EQ(Messages(), std::vector<uint32_t>{1});
    EXPECT_EQ(g_UsbState.statusC.load() & 0x6, 0x2);
    for (int i = 0; i < 40; ++i)
        UsbDev_ModeSequencer();
    EXPECT_TRUE(Messages().empty()) << "announced once";

    root.Write("/sys/class/udc/musb-hdrc.1.auto/device/info", "1,0,0,0\n");
    for (int i = 0; i < 12; ++i)
        UsbDev_ModeSequencer();
    EXPECT_EQ(Messages(), std::vector<uint32_t>{2});
    EXPECT_EQ(g_UsbState.statusC.load() & 0x6, 0);
    for (int i = 0; i < 12 && g_usbPosts.size() < 2; ++i)
        UsbDev_ModeSequencer();
    EXPECT_EQ(g_usbPosts.back(), (std::pair<uint32_t, uintptr_t>{kDisable, 0}));
}

}  // namespace
