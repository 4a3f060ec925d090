#pragma once
// The device clear a host sends through the USB device port or the GPIB bus: the message in progress is
// abandoned, its replies (committed or staged) are dropped and the parser starts afresh.
#include "scpi/channels/scpi_interface.h"

namespace scpi {

// Aborts a large reply (its committed entries dropped before the shared transfer buffer is released; a
// SEQ/SIM transfer through slot 9 puts the slot back), clears pending output, discards the staged replies
// and resets the parser at the main root. A command with the menu/control thread keeps its context until
// its completion arrives: only its output is cleared then, and the rest waits for
// DeviceClearAfterCompletion.
void DeviceClear(ScpiInterface* ifc);
// The rest of a clear that came while a command was with the menu/control thread, once its completion
// has been taken: the message's remaining commands and replies go. A channel pass calls it after polling
// for the completion.
void DeviceClearAfterCompletion(ScpiInterface* ifc);

// The end of a SEQ/SIM data transfer through slot 9 (command ids 31 and 34): the memory it borrowed is
// put back. Nothing for other commands.
void DeferredSlot9Commit(const ScpiInterface* ifc);

}  // namespace scpi
