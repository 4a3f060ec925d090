// The USB stick mounted and released, the rear USB device started, through the command sandbox.
#include "sysadmin/usb/usb_memory.h"

#include <gtest/gtest.h>

#include "core/system/config/iface_cfg.h"
#include "core/system/links/usb_state.h"
#include "core/system/messaging/msg_ring.h"
#include "platform/sandbox/sandbox.h"
#include "platform/sandbox/sandbox_events.h"
#include "sysadmin/usb/usb_gadget.h"
#include "sysadmin/usb/usb_port_seq.h"
#include "tests/sysadmin/sandbox_log_fixture.h"

namespace {

using Entries = std::vector<std::string>;

class UsbMemory : public SandboxLogTest {
  protected:
    void SetUp() override {
        SandboxLogTest::SetUp();
        Start();
    }
    // A start of the unit's program: its watch begins again, nothing mounted yet.
    void Start() {
        UsbMemSmReset();
        g_UsbState.statusB.store(0);
        g_UsbState.statusC.store(0);
        for (int i = 0; i < 30; ++i)
            UsbMemSm_Run();  // past the start delays: the watch is running
    }
    void Event(const char* args) {
        std::string error;
        ASSERT_EQ(plat::SandboxUsbEvent(args, &error), 0) << error;
    }
    // Passes until an entry holding text is logged; -1 when none within limit.
    int PassesUntil(const std::string& text, int limit = 40) {
        const size_t before = Matching(text).size();
        for (int i = 1; i <= limit; ++i) {
            UsbMemSm_Run();
            if (Matching(text).size() > before) return i;
        }
        return -1;
    }
};

TEST_F(UsbMemory, StickIsMountedAndReleased) {
    root.Write("/var/lib/sandbox/usb/qx/PRESET1.PRE", "on the stick");
    Event("insert sda1");
    const int mountPasses = PassesUntil("mount -t vfat /dev/sda1 /mnt/sd1");
    EXPECT_GE(mountPasses, 1);
    EXPECT_LE(mountPasses, 11);
    EXPECT_EQ(Matching("mount -t vfat").back(), "simulated 0 mount -t vfat /dev/sda1 /mnt/sd1");
    EXPECT_EQ(QueueText(), "USB Memory Connected");
    EXPECT_TRUE(UsbMemoryMounted());
    EXPECT_EQ(g_UsbState.statusC.load() & 1, 1);
    EXPECT_EQ(g_UsbState.usbNewlyMounted.load(), 1u);
    EXPECT_EQ(root.Read("/mnt/sd1/qx/PRESET1.PRE"), "on the stick");

    Event("remove");
    const int umountPasses = PassesUntil("umount /mnt/sd1");
    EXPECT_GE(umountPasses, 1);
    EXPECT_LE(umountPasses, 11);
    EXPECT_FALSE(UsbMemoryMounted());
    EXPECT_EQ(g_UsbState.statusC.load() & 1, 0);
    EXPECT_EQ(root.Read("/mnt/sd1/qx/PRESET1.PRE"), "");  // the files left with the stick
}

// A stop and a power cut leave the stick mounted; the next start mounts it again with its files, and
// a stick pulled while the program was stopped takes them along.
TEST_F(UsbMemory, AStickLeftInKeepsItsFilesAcrossStarts) {
    Event("insert sda1");
    ASSERT_GE(PassesUntil("mount -t vfat /dev/sda1 /mnt/sd1"), 1);
    root.Write("/mnt/sd1/QXDIMC000.bmp", "screen copy");
    const std::string mount = "simulated 0 mount -t vfat /dev/sda1 /mnt/sd1";
    for (size_t start = 1; start <= 2; ++start) {
        SCOPED_TRACE(start);
        plat::SandboxBoot();
        Start();
        for (int i = 0; i < 40 && Matching(mount).size() == start; ++i)
            UsbMemSm_Run();
        ASSERT_EQ(Matching(mount).size(), start + 1);
        EXPECT_EQ(root.Read("/mnt/sd1/QXDIMC000.bmp"), "screen copy");
    }
    Event("remove");
    plat::SandboxBoot();
    EXPECT_EQ(root.Read("/var/lib/sandbox/usb/QXDIMC000.bmp"), "screen copy");
    EXPECT_EQ(root.Read("/mnt/sd1/QXDIMC000.bmp"), "");
}

TEST_F(UsbMemory, StickThatCannotBeMountedStaysUnmountedWithAnError) {
    Event("insert sda1 ntfs");
    for (int i = 0; i < 80; ++i)
        UsbMemSm_Run();
    EXPECT_EQ(Matching("mount -t vfat /dev/sda1 /mnt/sd1"),
              Entries(4,
                      "simulated 32 mount -t vfat /dev/sda1 /mnt/sd1 -- mount: /dev/sda1: wrong fs type, bad "
                      "option, bad superblock"));
    EXPECT_EQ(QueueText(), "USB Memory Access Error");
    EXPECT_EQ(MsgQueue_Count(), 1u);
    EXPECT_FALSE(UsbMemoryMounted());  // no file operation lands in the bare folder
    EXPECT_EQ(g_UsbState.usbAccessError.load(), 1u);

    Event("remove");  // pulling it resets the error, and a good stick mounts again
    for (int i = 0; i < 15; ++i)
        UsbMemSm_Run();
    EXPECT_EQ(g_UsbState.usbAccessError.load(), 0u);
    Event("insert sda");
    EXPECT_GE(PassesUntil("simulated 0 mount -t vfat /dev/sda /mnt/sd1"), 1);
}

TEST_F(UsbMemory, UmountReleasesAllThreeWithASyncEach) {
    UsbUmount();
    const Entries log = Log();
    const Entries expected = {
        "simulated 32 umount /mnt/sd1 -- umount: /mnt/sd1: not mounted",   "ran 0 sync",
        "simulated 32 umount /dev/sda1 -- umount: /dev/sda1: not mounted", "ran 0 sync",
        "simulated 32 umount /dev/sda -- umount: /dev/sda: not mounted",   "ran 0 sync"};
    EXPECT_EQ(Entries(log.end() - 6, log.end()), expected);
}

TEST_F(UsbMemory, DeviceSequencerMovesOnlyOnPassesInWhichTheMountCheckWaits) {
    g_IfaceCfg.usb[2] = 1u << 4;  // CDC
    UsbGadgetInit();
    UsbDev_StartModeSequencer();
    // The gadget is loaded on the 52nd device pass (step 7, a wait of 50, step 9). The mount check
    // waits on 9 passes of every 11 (it acts on one, and its wait reaches 0 on another), so the load
    // comes only after about 52 * 11 / 9 passes.
    const int passes = PassesUntil("g_serial.ko", 200);
    EXPECT_GE(passes, 62);
    EXPECT_LE(passes, 65);
}

TEST_F(UsbMemory, GadgetCarriesSerialAndModelAndFallsBackWithoutTmcModules) {
    const std::tuple<const char*, uint8_t, const char*> cases[] = {
        {"QX2024000123", 1u << 4,
         "simulated 0 insmod /mnt/disk/drivers/usb/g_serial.ko idVendor=0x1d6b idProduct=0x104 "
         "iSerialNumber=24000123 iManufacturer=VRN-4145 iProduct=VRN-4145 use_speed=2"},
        {"A1;reboot", 0,  // TMC: only the module tree's serial gadget is there
         "simulated 0 insmod /lib/modules/3.14.43-g875c69b/kernel/drivers/usb/gadget/legacy/g_serial.ko "
         "idVendor=0x1d6b idProduct=0x104 iSerialNumber=01234567 iManufacturer=VRN-4145 iProduct=VRN-4145 "
         "use_speed=2"},
    };
    std::remove(
        (root.path() + "/lib/modules/3.14.43-g875c69b/kernel/drivers/usb/gadget/legacy/g_usbtmc.ko").c_str());
    std::remove(
        (root.path() + "/lib/modules/3.14.43-g875c69b/kernel/drivers/usb/gadget/function/usb_f_tmc.ko")
            .c_str());
    for (const auto& [serial, usbClass, line] : cases) {
        SetIdentity("VRN-4145", serial);
        g_IfaceCfg.usb[2] = usbClass;
        UsbGadgetInit();
        UsbDevModeSet(1);
        EXPECT_EQ(Log().back(), "ran 0 sync");
        EXPECT_EQ(Matching("insmod").back(), line);
        EXPECT_EQ(root.Read("/sys/class/udc/musb-hdrc.1.auto/device/mode"), "peripheral");
    }
    EXPECT_EQ(Matching("usb_f_serial.ko").back(),
              "simulated 0 insmod "
              "/lib/modules/3.14.43-g875c69b/kernel/drivers/usb/gadget/function/usb_f_serial.ko");
    EXPECT_TRUE(Matching("tmc").empty());
    Event("host on");
    ASSERT_EQ(UsbDevInfoRead(), 0);
    EXPECT_TRUE(UsbDevStateOk());
}

// A new root holds the modules both classes load: USB-TMC takes its function and gadget from the module
// tree. The factory serial number keeps its '-', so units stay apart on the host.
TEST_F(UsbMemory, NewRootLoadsTheTmcGadgetWithTheWholeSerialText) {
    const std::pair<const char*, const char*> serials[] = {{"VRN-SIM-0001", "SIM-0001"},
                                                           {"AB-12", "AB-12"},
                                                           {"", "01234567"},
                                                           {"QX12$(ls)", "01234567"},
                                                           {"QX12 3-45", "01234567"}};
    g_IfaceCfg.usb[2] = 0;  // TMC
    for (const auto& [serial, text] : serials) {
        SetIdentity("VRN-4145", serial);
        UsbGadgetInit();
        EXPECT_STREQ(g_UsbGadget.serial, text) << serial;
    }
    SetIdentity("VRN-4145", "VRN-SIM-0001");
    const size_t from = Log().size();
    UsbGadgetInit();
    UsbDevModeSet(0);
    const Entries loaded = Matching("insmod", from);
    const std::string tree = "simulated 0 insmod /lib/modules/3.14.43-g875c69b/kernel/drivers/usb/gadget/";
    ASSERT_EQ(loaded.size(), 7u);
    EXPECT_EQ(loaded[0], "simulated 0 insmod /mnt/disk/drivers/usb/libcomposite.ko");
    EXPECT_EQ(loaded[4], tree + "function/usb_f_tmc.ko");
    EXPECT_EQ(loaded[6].rfind(tree + "legacy/g_usbtmc.ko idVendor=", 0), 0u) << loaded[6];
    EXPECT_NE(loaded[6].find(" iSerialNumber=SIM-0001 iManufacturer=VRN-4145 "), std::string::npos)
        << loaded[6];
    EXPECT_EQ(loaded[6].substr(loaded[6].size() - 12), " use_speed=5");
}

TEST_F(UsbMemory, ControllerInfoThatIsCutOrGarbledIsNotConfigured) {
    const std::tuple<const char*, int, bool> cases[] = {
        {"3,1,0,152\n", 0, true}, {"3,1,0,255", 0, true}, {"3,1,0,24", 0, false}, {"3,1", 0, false},
        {"x,1,0,152", 0, false},  {"", -1, false},        {nullptr, -1, false},
    };
    for (const auto& [text, result, ok] : cases) {
        if (text != nullptr) {
            root.Write("/sys/class/udc/musb-hdrc.1.auto/device/info", text);
        } else {
            std::remove((root.path() + "/sys/class/udc/musb-hdrc.1.auto/device/info").c_str());
        }
        g_UsbGadget.info[0] = 3, g_UsbGadget.info[1] = 1, g_UsbGadget.info[3] = 152;
        EXPECT_EQ(UsbDevInfoRead(), result) << (text ? text : "no file");
        EXPECT_EQ(UsbDevStateOk(), ok) << (text ? text : "no file");
    }
}

}  // namespace
