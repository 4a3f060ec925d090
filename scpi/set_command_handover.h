#pragma once
// The menu/control thread's side of the set-command hand-over: a channel sends a type-10 message whose
// payload carries its interface; the menu/control thread runs the command's handler with it and, once
// the command is done, sends the completion message under 100 + the channel id.
#include <atomic>
#include <cstdint>

struct ScpiInterface;

struct ScpiHandoverOps {
    // Runs the handler of the interface's command id (command set g_ScpiCmdSetSel). Returns 0 when the
    // command is done, 1 when it completes later (once the system reports ready).
    int32_t (*run)(ScpiInterface* ifc);
    // The channel id of the interface's command block.
    uint32_t (*channelId)(const ScpiInterface* ifc);
};

// The channel context's operations (a test may replace them); while null a handed-over command
// cannot run.
extern std::atomic<const ScpiHandoverOps*> g_ScpiHandoverOps;
