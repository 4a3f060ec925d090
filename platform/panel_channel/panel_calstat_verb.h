#pragma once
// The panel channel's "calstat V": the simulated power stage answers V to every read of its calibration
// status (register 2098: first result in bits 0-2, second in bits 3-5) until the next calstat, so that a
// person can force a point's failure or a stage that does not answer. V is 0-65535, decimal or 0x
// hexadecimal; "calstat auto" gives the status back to the stage, which answers a calibration by itself.
#include <string>

namespace plat {
int PanelCalStatCommand(const std::string& args, std::string* error);
}  // namespace plat
