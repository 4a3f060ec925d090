#pragma once
// The panel channel's "calstat V": the simulated power stage answers V to every read of its calibration
// status (register 2098: first result in bits 0-2, second in bits 3-5) until the next calstat, so that a
// person can walk the calibration on a running instrument. V is 0-65535, decimal or 0x hexadecimal.
#include <string>

namespace plat {
int PanelCalStatCommand(const std::string& args, std::string* error);
}  // namespace plat
