#include "platform/panel_channel/panel_alarm_verb.h"

#include <cstdlib>
#include <sstream>

#include "platform/stage/power_stage_sim.h"
#include "platform/stage/reg_map.h"

namespace plat {
namespace {
bool Number(const std::string& text, long lo, long hi, long* out) {
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < lo || v > hi) return false;
    *out = v;
    return true;
}

bool Injectable(long reg) {
    return regmap::kOutputStatus.contains(static_cast<uint32_t>(reg)) ||
           regmap::kAlarmWord.contains(static_cast<uint32_t>(reg)) ||
           regmap::kAlarmWord2.contains(static_cast<uint32_t>(reg));
}

int Fail(std::string* error, const char* why) {
    if (error) *error = why;
    return -1;
}
}  // namespace

int PanelAlarmCommand(const std::string& args, std::string* error) {
    std::istringstream in(args);
    std::string regText, bitText, offText, extra;
    in >> regText >> bitText >> offText >> extra;
    long reg = 0, bit = 0;
    if (!Number(regText, 0, 4095, &reg) || !Injectable(reg))
        return Fail(error, "alarm needs a register 2085-2088 or 2091");
    if (!Number(bitText, 0, 31, &bit)) return Fail(error, "alarm needs a bit 0-31");
    if (!extra.empty() || (!offText.empty() && offText != "off"))
        return Fail(error, "only \"off\" may follow");
    PowerStage().InjectBit(static_cast<uint32_t>(reg), static_cast<uint32_t>(bit), offText.empty());
    return 0;
}

}  // namespace plat
