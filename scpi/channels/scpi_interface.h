#pragma once
// One remote channel's context: its port operations, parse state, lexer, command block, error queue,
// status block and command log.
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "scpi/status/scpi_error_queue.h"
#include "scpi/parser/scpi_parse_state.h"
#include "scpi/status/scpi_status.h"
#include "scpi/parser/scpi_tree.h"

// The port operations of a channel, in slot order. Every slot may be null where a port lacks it.
struct ScpiIoOps {
    int (*init)(const char* name, uint32_t channelId);
    int (*open)();  // 1 when the port is open
    int (*write)(const void* data, uint32_t length, int32_t mode);
    int (*read)(void* buffer, uint32_t length, int32_t how);  // below 1: nothing now
    int (*control)(int32_t code, uintptr_t argument);
    int (*close)();  // the open flag
    void (*deinit)();
};

constexpr uint32_t kScpiLogLines = 16;
constexpr uint32_t kScpiLogLineSize = 64;

struct ScpiCommandLog {
    char line[kScpiLogLines][kScpiLogLineSize];
    int32_t curLine;
    int32_t curCol;
    uint32_t wrapped;      // the line index passed 15 while closing a line
    uint32_t overwritten;  // a new line started past 15
    // The channel's thread writes its log while the command-log query reads and the clear command empties
    // any channel's log from other threads: every access holds this.
    mutable std::mutex lock;
};

// Channel ids; the id is also the completion message's type.
enum ScpiChannelId : uint32_t {
    kChanUart = 1,
    kChanUsbGpib = 4,
    kChanUsbCdc = 5,
    kChanUsbTmc = 6,
    kChanLan = 9,
    kChanWeb = 12
};

struct ScpiCompletionMsg {
    uint32_t type;
    uint32_t result;
    uint32_t spare;
};

struct ScpiHandOverMsg {
    uint32_t type;  // 10: a set command
    uint32_t zero;
    struct ScpiInterface* ifc;
};

struct ScpiInterface {
    uint32_t channelId;
    int32_t replyCount;  // query replies written in the current program message
    uint32_t deviceClear;
    ScpiErrorQueue errq;
    ScpiCompletionMsg completion;
    ScpiHandOverMsg handOver;
    uint32_t deferredState;  // 0 none, 1 a large reply is ready, 2 it is draining
    uint32_t deferredLen;
    const uint8_t* deferredData;
    ScpiStatusBlock* status;
    ScpiParseState* parse;
    ScpiLexer* lexer;
    ScpiCmdBlock* cmd;
    const ScpiCmdSet* cmdSet;
    ScpiCommandLog log;
    ScpiIoOps io;
};

// Stores an error index in the interface's parse state; it
// reaches the error queue when the command finishes. -1 without a parse state.
int scpiSetError(ScpiInterface* ifc, uint32_t index);

// State 0, cleared header and error, the command set selected by g_ScpiCmdSetSel, no deferred
// transfer, a new command-log line. The current tree node is kept.
void scpiResetInterface(ScpiInterface* ifc);

// One step of the parse states 0-4, 7 and 8: reads and parses until a command is recognised (state
// 5), the port has no more input, or a command has finished.
void scpiProcessInput(ScpiInterface* ifc);

// State 5: a query runs its handler at once in the calling (channel) thread; a set command is handed to
// the menu/control thread as a type-10 message without waiting (state 6; a failed send is tried again
// on the next call). A set command while a reboot is pending is refused with "-310".
void scpiExecute(ScpiInterface* ifc);
// State 6: takes the completion message of a handed-over command when it has arrived; a command that
// failed or was given up after kScpiHandoverWaitMs reports "-310".
void scpiPollPostedCommand(ScpiInterface* ifc);

// Writes a handler's reply: ";" first when a reply of this message was written already (unless
// noSeparator), then the data in the given write mode. A reply the transmit queue has no room for is
// refused as "-223,"Too much data"" (the message's replies are then dropped and its line goes out
// empty). The write result.
int scpiWriteResponse(ScpiInterface* ifc, const void* data, uint32_t length, int32_t mode,
                      uint32_t noSeparator);

// After each parse step: a recognised command other than SYSTem:COMMunicate:RLSTate switches a local
// panel to remote. Returns the remote indication bit.
uint32_t EnterRemoteOnCommand(ScpiInterface* ifc);

// -1 unless the context, its error queue and its two message buffers lie on 4-byte boundaries.
int scpiCheckContext(const ScpiInterface* ifc, const char* name);

namespace scpi {

// Start of a channel: the context check, status block, port operations and their init, an empty log,
// a parser reset at the main root and an empty error queue. -1 when the context check fails (the
// channel does not start).
int ChannelStart(ScpiInterface* ifc, const char* name, const ScpiIoOps& ops);

// One pass of a channel loop: the completion of a posted command, the deferred-reply step, the input
// step, the remote switch, execution and the status byte. While a command is posted the context belongs
// to the menu/control thread and only the completion is polled. True when replies are committed and wait
// for the port's transmit.
bool ChannelPass(ScpiInterface* ifc);

// State 9: a large reply prepared by a handler is queued by reference and committed; once it has been
// sent the shared transfer buffer is released and the command finishes (state 8).
void DeferredStep(ScpiInterface* ifc);

// The parser waits for bytes from the port (header, parameters, or skipping a failed message).
bool WaitsForInput(const ScpiInterface* ifc);

// Runs the handler of the command in the block, from the handler table of the set it was parsed in;
// ids without a handler report "-113,"Undefined header"".
int RunHandler(ScpiInterface* ifc);
// Runs a set command's handler as RunHandler does, on the menu/control thread. While a calibration is in
// progress a command that would change the page or reconfigure the output is refused with "-221,"Settings
// conflict"" before it changes anything: it would leave the unit in calibration mode without its page, or
// change the output under the running point; only the calibration's own exits end it.
int RunSetHandler(ScpiInterface* ifc);
// Whether the set command in the block may change what the stage plays: every one but those of the
// channel's own status registers.
bool MayChangeOutput(const ScpiInterface* ifc);

// After a pass of a channel whose client's bytes wait to be parsed: waits for the completion of a command
// handed to the menu/control thread (woken by it, at most waitMs), or one pass period (2 ms) while a large
// reply drains or the queue has not yet taken the command; otherwise returns at once.
void ChannelAwaitProgress(ScpiInterface* ifc, uint32_t waitMs);

// Drops what a departed client left: waits for the completion of a command still posted (the
// menu/control thread uses the context until then; at most until the command is given up), releases a
// deferred reply's buffer, clears the port's pending output and resets the parser to the main root.
void ChannelDropSession(ScpiInterface* ifc);

// Takes the command set selected by g_ScpiCmdSetSel when it changed, moving to its main root.
void ReselectCmdSet(ScpiInterface* ifc);

const ScpiCmdSetDescriptor* CmdSetDesc(const ScpiInterface* ifc);

// Command log.
void LogAppend(ScpiInterface* ifc, uint8_t byte);
void LogCloseLine(ScpiInterface* ifc);
void LogNewLine(ScpiInterface* ifc);
// A copy of the current line, valid in the calling thread until its next call.
const char* LogCurrentLine(const ScpiInterface* ifc);
void LogClear(ScpiInterface* ifc);
// Closes the current line when anything was written to it.
void LogCloseOpenLine(ScpiInterface* ifc);
// The log from the current line back through at most 16 lines, each non-empty one followed by CR LF
// ("No Command Record Data\n" when nothing was logged), terminated and cut to size - 1. Its length.
size_t LogDump(const ScpiInterface* ifc, char* out, size_t size);
constexpr size_t kScpiLogDumpSize = kScpiLogLines * (kScpiLogLineSize + 2) + 1;

}  // namespace scpi
