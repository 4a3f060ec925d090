#pragma once
// The GUI thread's part of the screen-copy hand-shake. A GUI pass that began before the pending bit was
// raised goes on painting, so the bit alone does not make the framebuffer still: the copier asks, and the
// GUI thread answers at its next pass that sees the bit and so draws nothing.
#include <cstdint>

namespace panel {

// The GUI thread, at a pass that saw the pending bit or the web capture flag.
void HardcopyGuiStandsStill();
// The copier, while the pending bit is set: waits until the GUI thread has stood still since the call
// began; false when it has not within timeoutMs (a GUI thread that is not running never answers).
bool HardcopyWaitGuiStill(uint32_t timeoutMs);

}  // namespace panel
