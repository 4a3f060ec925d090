// Colour setters, the external web-server stop and the key beep.
#include "sysadmin/system_helpers.h"

#include <gtest/gtest.h>

#include "GUI/gui.h"
#include "GUI/lcd/color_rgb.h"
#include "core/control/alarms/alarm_state.h"
#include "core/params/param_store.h"
#include "tests/sysadmin/sandbox_log_fixture.h"

namespace {

TEST(ColorRgb, SwapsRedAndBlueForTheGraphicsLibrary) {
    SetColorRGB(0x010203);  // red 1, green 2, blue 3
    EXPECT_EQ(GUI_Context.foreColor, 0x030201u);
    SetBkColorRGB(0xFF8000);
    EXPECT_EQ(GUI_Context.backColor, 0x0080FFu);
}

using WebServer = SandboxLogTest;

TEST_F(WebServer, StopKillsOnce) {
    EXPECT_EQ(WebServerStop(), 0);
    EXPECT_EQ(WebServerStop(), -1);  // nothing runs any more: no second kill
    const std::string log = root.Read("/var/log/commands.log");
    EXPECT_NE(log.find("kill 612"), std::string::npos);
    EXPECT_EQ(log.find("kill", log.find("kill 612") + 1), std::string::npos) << log;
}

TEST_F(WebServer, BeepSoundsFromOneServiceStepToTheNext) {
    paramPutValue(107, 1, 0);  // buzzer on
    const std::string enable = "/sys/class/pwm/pwmchip0/pwm0/enable";
    BeepService();
    EXPECT_EQ(root.Read(enable), "0\n");  // idle: nothing written
    BeepRequest();
    BeepService();
    EXPECT_EQ(root.Read(enable), "1");
    BeepService();
    EXPECT_EQ(root.Read(enable), "0");

    // The alarm tone keeps the speaker on when the beep ends.
    g_AlarmState.flags = kAlarmFlagBeepSounding;
    BeepRequest();
    BeepService();
    BeepService();
    EXPECT_EQ(root.Read(enable), "1");
    g_AlarmState.flags = 0;
    EXPECT_EQ(sysadmin::g_BeepFlags & 6u, 0u);
}

}  // namespace
