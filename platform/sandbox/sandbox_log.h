#pragma once
// The command log: <root>/var/log/commands.log, one line per command run through the sandbox.
#include <string_view>

namespace plat::sandbox {

// Appends "<local time> <verdict> <status> <command>", and " -- <first error line>" when the
// command wrote one. Verdicts: "ran" (a file tool), "simulated" (a system tool), "refused".
void LogCommand(std::string_view verdict, int status, std::string_view command, std::string_view error);

}  // namespace plat::sandbox
