#include "tests/sysadmin/sandbox_log_fixture.h"

#include <cstring>

#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "core/system/links/usb_state.h"
#include "core/system/messaging/msg_ring.h"
#include "platform/host/clock.h"
#include "tests/support/controller_process.h"

void SandboxLogTest::SetUp() {
    plat::SetTimeScale(1000.0);
    MsgQueue_Clear();
    SetIdentity("VRN-4145", "QX12345678");
}

void SandboxLogTest::TearDown() {
    plat::SetTimeScale(1.0);
}

void StickTest::SetUp() {
    SandboxLogTest::SetUp();
    g_UsbState.statusB.store(core::kUsbMounted);
    g_UsbState.usbAccessError.store(0);
}

void StickTest::TearDown() {
    g_UsbState.statusB.store(0);
    SandboxLogTest::TearDown();
}

void SandboxLogTest::SetIdentity(const char* model, const char* serial) {
    g_ModelId = 1;
    g_BrandId = 0;
    IdentityTextWrite(g_ModelName, sizeof g_ModelName, model, std::strlen(model));
    IdentityTextWrite(g_SerialNo, sizeof g_SerialNo, serial, std::strlen(serial));
}

std::string SandboxLogTest::QueueText() {
    char text[128] = {};
    MsgQueue_CopyText(text, sizeof text);
    return text;
}

std::vector<std::string> SandboxLogTest::Log() const {
    std::vector<std::string> entries = testsupport::Lines(root.Read("/var/log/commands.log"));
    for (std::string& line : entries)
        line = line.substr(line.find(' ', line.find(' ') + 1) + 1);  // after the date and time
    return entries;
}

std::vector<std::string> SandboxLogTest::Matching(const std::string& text, size_t from) const {
    const std::vector<std::string> log = Log();
    std::vector<std::string> out;
    for (size_t i = from; i < log.size(); ++i)
        if (log[i].find(text) != std::string::npos) out.push_back(log[i]);
    return out;
}
