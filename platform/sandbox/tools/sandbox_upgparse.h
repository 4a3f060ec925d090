#pragma once
// The update-package parser of the board ("cd /mnt/sd1/DIR \n\n /mnt/disk/app/upgparse NAME \n\n"): a
// shell script the sandbox takes as one simulated tool, since it knows no "cd".
#include <string_view>

#include "platform/sandbox/tools/sandbox_tools.h"

namespace plat::sandbox {

// When `line` is that script: extracts the package NAME, a tar archive, into /mnt/sd1/DIR after checking
// its members, logs one line and sets *status (0, 1 for a missing, unreadable, too large or unsafe
// package or a failed extraction, kRefused for a folder outside /mnt/sd1 or a name with a '/'); true.
// False for any other line (nothing done).
bool RunUpgparseScript(std::string_view line, ToolIo& io, int* status);

}  // namespace plat::sandbox
