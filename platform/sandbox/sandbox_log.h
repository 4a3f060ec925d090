#pragma once
// The command log: <root>/var/log/commands.log, one line per command run through the sandbox.
#include <string_view>

namespace plat::sandbox {

// Appends "<local time> <verdict> <status> <command>", and " -- <first error line>" when the
// command wrote one. Verdicts: "ran" (a file tool), "simulated" (a system tool), "refused".
void LogCommand(std::string_view verdict, int status, std::string_view command, std::string_view error);
// True when the command's last run gave the same status, output and error text (and so need not be
// logged again); remembers this run's answer for the next. A unit that polls a state several times a
// second would otherwise fill the bounded log with the same line in minutes.
bool RepeatsLastAnswer(std::string_view command, int status, std::string_view out, std::string_view error);

}  // namespace plat::sandbox
