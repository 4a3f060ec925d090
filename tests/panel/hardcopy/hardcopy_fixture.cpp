#include "tests/panel/hardcopy/hardcopy_fixture.h"

#include <algorithm>
#include <filesystem>

#include "core/system/links/usb_state.h"
#include "core/system/links/web_capture.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/sys_status.h"
#include "panel/hardcopy/hardcopy.h"
#include "platform/host/clock.h"
#include "platform/sandbox/sandbox_events.h"
#include "sysadmin/usb/usb_memory.h"

namespace hardcopytest {

namespace {
void UsbEvent(const char* args) {
    std::string error;
    ASSERT_EQ(plat::SandboxUsbEvent(args, &error), 0) << error;
}

void WatchUntil(bool mounted) {
    for (int i = 0; i < 40 && UsbMemoryMounted() != mounted; ++i)
        UsbMem_MountCheck();
    ASSERT_EQ(UsbMemoryMounted(), mounted);
}
}  // namespace

void HardcopyTest::SetUp() {
    // Nothing answers for the GUI thread here: its wait (100 ms) and the web capture's (10 s) pass fast.
    plat::SetTimeScale(200);
    SysStatusClear(kSysScreenCopyPending);
    g_WebScreenCopyOwner.store(0);
    g_UsbState.statusB.store(0);
    g_UsbState.usbAccessError.store(0);
    g_UsbState.usbNewlyMounted.store(0);
    g_HardcopyCounter = 0;
    UsbMemSmReset();
    InsertStick();
    FillScreen([](int, int) { return uint16_t{0}; });
    MsgQueue_Clear();
}

void HardcopyTest::TearDown() {
    plat::SetTimeScale(1);
    SysStatusClear(kSysScreenCopyPending);
    g_WebScreenCopyOwner.store(0);
    MsgQueue_Clear();
}

void HardcopyTest::InsertStick() {
    UsbEvent("insert sda1");
    WatchUntil(true);
}

void HardcopyTest::RemoveStick() {
    UsbEvent("remove");
    WatchUntil(false);
}

void HardcopyTest::CopyKey() {
    Hardcopy_KeyRequest();
    if (Hardcopy_IsPending()) Hardcopy_Run();
    EXPECT_FALSE(Hardcopy_IsPending());
}

std::string HardcopyTest::Popup() {
    char text[128] = {};
    MsgQueue_CopyText(text, sizeof text);
    return text;
}

bool HardcopyTest::Exists(const std::string& instrumentPath) const {
    return std::filesystem::exists(store.root.path() + instrumentPath);
}

std::vector<std::string> HardcopyTest::Folder(const std::string& instrumentPath) const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(store.root.path() + instrumentPath, ec))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace hardcopytest
