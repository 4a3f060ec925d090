#pragma once
// Screen copies to the USB memory stick. The key asks for a copy, which picks a free file name and raises
// the pending bit (bit 3 of g_SysStatus); while it is set the GUI thread draws nothing, and the supervisor
// loop writes the copy and clears the bit.
#include <cstdint>

// The screen-copy key (SHIFT then COPY, or a long MENU press): refuses without a usable stick, else
// requests a copy.
void Hardcopy_KeyRequest();
// Picks the first free name "QXDIMC000.bmp" to "QXDIMC999.bmp" from the counter on and raises the pending
// bit; without a usable stick, or with all 1000 names taken, it shows why and leaves the bit clear.
void Hardcopy_Request();
// 1 while a copy is pending.
int Hardcopy_IsPending();
// Writes the pending copy and the settings text, shows the result and clears the pending bit. Called by
// the supervisor loop while a copy is pending.
void Hardcopy_Run();

// The number of the next name to try, 0-999; only the requesting thread touches it.
extern uint32_t g_HardcopyCounter;

namespace panel {
// The instrument path of the pending copy ("/mnt/sd1/QXDIMCnnn.bmp"); written before the pending bit is
// raised and read only while it is set.
const char* HardcopyPath();
}  // namespace panel
