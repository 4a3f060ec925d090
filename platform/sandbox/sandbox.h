#pragma once
// The command sandbox: every shell command of the instrument goes through here instead of system()
// and popen(). Each command is logged to <root>/var/log/commands.log. File tools run only when every
// path maps inside the instrument root; system tools (network, mounts, modules, flash, reboot, ...)
// are simulated against state kept under the root; anything else is refused with exit status 127.
#include <cstdio>
#include <string>

namespace plat {

// Runs a command line; returns its exit status (0-255), 127 when refused.
int System(const char* command);

// Runs a command line and returns its standard output as a readable stream (mode "r"), or nullptr.
// Pclose returns the exit status.
FILE* Popen(const char* command, const char* mode);
int Pclose(FILE* stream);

// A start of the program is a boot of the unit: what the last run left mounted is mounted no more (a
// stick's files go back to the stick, ready for the next mount). Called once at the start, holding the
// root's lock, before any command runs.
void SandboxBoot();

}  // namespace plat
