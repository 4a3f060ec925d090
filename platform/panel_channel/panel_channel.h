#pragma once
// The local panel channel: a running controller reads one-line commands from a FIFO under its root
// (<root>/var/run/panel), so that a person or a black-box test can operate the front panel:
//   key K          short press of key K (released after a few key-thread passes)
//   hold K [N]     key K held for N key-thread passes (default 450: a long press), then released
//   down K / up    key K pressed until "up"
//   knob N         knob turned by N detents (negative: counter-clockwise)
//   scan TEXT      the simulated USB scanner types TEXT and Enter (plugged in first when absent)
//   alarm R B [off] sets (clears) bit B of alarm or status register R of the simulated power stage
//   syncin F       a signal of F Hz at the simulated stage's synchronisation input (0: none)
//   sync           prints "panel: synced" once the panel has caught up (platform/panel_channel/panel_sync.h)
// K is one printable character ('U', 'X', '@' ...) or a decimal key code (1-255).
#include <string>

namespace plat {

// Carries out one command line; 0, or -1 with the reason in *error.
int PanelChannelCommand(const std::string& line, std::string* error);

// Another subsystem's command (a scanned code, a load change ...): `verb args...`.
using PanelVerbHandler = int (*)(const std::string& args, std::string* error);
void PanelChannelAddVerb(const char* verb, PanelVerbHandler handler);

// Creates the FIFO at hostPath (replacing anything else of that name) and starts the reader thread.
// Returns 0, or -1 when the FIFO cannot be made.
int PanelChannelStart(const std::string& hostPath);

}  // namespace plat
