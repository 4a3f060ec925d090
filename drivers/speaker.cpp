#include "drivers/speaker.h"

#include <cstdio>
#include <string>

#include "core/params/param_store.h"
#include "platform/host/root.h"

namespace {

constexpr char kPwmChip[] = "/sys/class/pwm/pwmchip0";
constexpr char kChannel[] = "pwm0";

// Opens, writes and closes one file; a file that cannot be opened is reported with the step's name and
// skipped. Write results are not examined: the kernel reports nothing useful on them.
void WriteFile(const std::string& path, const char* text, const char* step) {
    std::FILE* file = std::fopen(plat::MapPath(path).c_str(), "w");
    if (file == nullptr) {
        std::printf("==>Speaker Error:%s.\n", step);
        return;
    }
    std::fputs(text, file);
    std::fclose(file);
}

std::string ChannelFile(const char* name) {
    return std::string(kPwmChip) + "/" + kChannel + "/" + name;
}

}  // namespace

void SpeakerInit() {
    // Exporting a channel that is already exported fails in the kernel; the tone is written regardless.
    WriteFile(std::string(kPwmChip) + "/export", "0", "open export");
    WriteFile(ChannelFile("period"), "490196", "open period");
    WriteFile(ChannelFile("duty_cycle"), "245098", "open duty_cycle");
    WriteFile(ChannelFile("polarity"), "inversed", "open polarity");
}

void BeepOn() {
    if (paramGetValue(kParamBuzzer, 0) != 0) WriteFile(ChannelFile("enable"), "1", "turn on");
}

void BeepOff() {
    WriteFile(ChannelFile("enable"), "0", "turn off");
}
