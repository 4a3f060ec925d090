#pragma once
// One remote channel's context: its port operations, parse state, lexer, command block, error queue,
// status block and command log.
#include <cstdint>

#include "scpi/scpi_error_queue.h"
#include "scpi/scpi_parse_state.h"
#include "scpi/scpi_status.h"
#include "scpi/scpi_tree.h"

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

namespace scpi {

// Takes the command set selected by g_ScpiCmdSetSel when it changed, moving to its main root.
void ReselectCmdSet(ScpiInterface* ifc);

const ScpiCmdSetDescriptor* CmdSetDesc(const ScpiInterface* ifc);

// Command log.
void LogAppend(ScpiInterface* ifc, uint8_t byte);
void LogCloseLine(ScpiInterface* ifc);
void LogNewLine(ScpiInterface* ifc);
const char* LogCurrentLine(const ScpiInterface* ifc);
void LogClear(ScpiInterface* ifc);

}  // namespace scpi
