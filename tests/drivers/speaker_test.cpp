// The speaker's sysfs PWM files.
#include "drivers/speaker.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/params/param_store.h"
#include "platform/host/root.h"
#include "tests/support/temp_root.h"

namespace {

constexpr char kChannel[] = "/sys/class/pwm/pwmchip0/pwm0/";

std::string Channel(const char* file) {
    return std::string(kChannel) + file;
}

// The channel is exported and set to a square tone (half the period on), again on every start.
TEST(Speaker, InitSetsASquareTone) {
    testsupport::TempRoot root;
    for (int start = 0; start < 2; ++start) {
        SpeakerInit();
        EXPECT_EQ(root.Read("/sys/class/pwm/pwmchip0/export"), "0");
        const long period = std::stol("0" + root.Read(Channel("period")));
        EXPECT_GT(period, 0);
        EXPECT_EQ(std::stol("0" + root.Read(Channel("duty_cycle"))) * 2, period);
        EXPECT_EQ(root.Read(Channel("polarity")), "inversed");
    }
}

TEST(Speaker, BuzzerSettingGatesOnButNeverOff) {
    testsupport::TempRoot root;
    paramPutValue(107, 0, 0);
    root.Write(Channel("enable"), "x");
    BeepOn();
    EXPECT_EQ(root.Read(Channel("enable")), "x");  // buzzer off: silent
    BeepOff();
    EXPECT_EQ(root.Read(Channel("enable")), "0");
    paramPutValue(107, 1, 0);
    BeepOn();
    EXPECT_EQ(root.Read(Channel("enable")), "1");
    BeepOff();
    EXPECT_EQ(root.Read(Channel("enable")), "0");
}

TEST(Speaker, MissingFileLeavesTheOthersWritten) {
    testsupport::TempRoot root;
    std::filesystem::remove_all(plat::MapPath("/sys/class/pwm/pwmchip0/pwm0"));
    SpeakerInit();
    BeepOff();
    EXPECT_EQ(root.Read("/sys/class/pwm/pwmchip0/export"), "0");
}

}  // namespace
