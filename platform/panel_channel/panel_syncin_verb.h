#pragma once
// The panel channel's "syncin F": a signal of F Hz at the simulated power stage's synchronisation input
// (0: no signal, as at start), which the stage reports in register 2236 whether the output is on or not.
// F is 0-100000, decimal.
#include <string>

namespace plat {
int PanelSyncInCommand(const std::string& args, std::string* error);
}  // namespace plat
