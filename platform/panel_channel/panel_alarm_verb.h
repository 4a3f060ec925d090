#pragma once
// The panel channel's "alarm REG BIT [off]": sets (or clears) one alarm or status bit of the simulated
// power stage, so that a person can try the protection on a running instrument. REG is an alarm word
// (2086-2088), the system alarm word (2091) or the output status (2085); BIT is 0-31.
#include <string>

namespace plat {
int PanelAlarmCommand(const std::string& args, std::string* error);
}  // namespace plat
