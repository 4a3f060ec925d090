#pragma once
// A SCPI channel on a fake port, in the shape of the reference SCPI libraries' tests: program message
// text goes in through the channel's read operation and replies go through the real transmit queue of
// a RemotePort into a packet socket (one record per send) that the test reads back. Send() runs the
// real parser and records every recognised command with its id, suffixes and typed parameters; queries
// "execute" by replying with their id and a test may make chosen ids fail with an error index (a failing
// query has written its reply first). Exec()
// runs the channel's real execution loop instead: real handlers, set commands handed over to the
// menu/control thread's pass (see MenuEnv).
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/control/hooks/screen_request.h"
#include "scpi/channels/remote_port.h"
#include "scpi/channels/scpi_interface.h"

namespace scpitest {

// The error queue's texts the handler tests expect most.
inline const std::string kExecution = "-200,\"Execution error\"";
inline const std::string kSystem = "-310,\"System error\"";
inline const std::string kRange = "-222,\"Data out of range\"";
inline const std::string kParameter = "-220,\"Parameter error\"";
inline const std::string kProtected = "-203,\"Command protected\"";

struct ParsedCommand {
    uint32_t id = 0;
    bool query = false;
    std::vector<int32_t> suffixes;
    std::vector<ScpiParamItem> items;  // data copied into `bytes`
    std::vector<std::string> bytes;
};

class FakeChannel {
  public:
    explicit FakeChannel(uint32_t channelId = kChanLan);
    ~FakeChannel();
    FakeChannel(const FakeChannel&) = delete;
    FakeChannel& operator=(const FakeChannel&) = delete;

    void Feed(std::string_view bytes) { input.append(bytes); }
    // Feeds and parses as far as the input goes with the recording handler.
    void Send(std::string_view bytes);
    // One pass of the real channel loop over the queued input.
    bool Pass();
    // Feeds and runs real passes (and the menu/control thread's while a command is posted) until the
    // input is consumed and the parser waits for more, transmitting after each committed pass; returns
    // what reached the socket.
    std::string Exec(std::string_view bytes);
    // "reply|errors" of one program message run by Exec, without the reply's line feed.
    std::string Run(const std::string& message);
    // Exec hands a posted command to the menu/control thread between its passes, as the running thread
    // takes it, and runs a pass only when none was taken.
    bool betweenPasses = false;
    // Sets betweenPasses and runs the menu/control thread past the control task's start-up wait.
    void HandOverBetweenPasses();
    // Run, then the menu/control thread's passes in which the control task takes every change.
    std::string RunTaken(const std::string& message);

    // Error index a handler reports for a command (0: success).
    std::function<uint32_t(const ParsedCommand&)> handler;

    // The recorded commands, one line each: "id[?] [s(a,b,c)] params", params as i<int> c<choice>
    // r<real> t"<text>" b<len>:<bytes> o (omitted), separated by "; " between commands.
    std::string Describe() const;
    // Pops every queued error as its table text, joined with " | ".
    std::string PopErrors();
    // Transmits everything committed and returns the records that reached the socket, joined with "|".
    std::string Transmit();

    // Clears input, parser and port and starts the channel again, as a fresh one.
    void Reset();
    // What a block-reply handler leaves: `length` bytes of 'z' in the claimed shared buffer (returned,
    // nullptr when none), the command a query at the message's end waiting to be queued by reference.
    uint8_t* PrepareLargeReply(uint32_t length);

    // Runs a handler on the channel's context with one parameter of `type` (kItemOmitted: none) and
    // returns "reply|error row"; a set command as the menu/control thread runs it.
    template <typename T = int32_t>
    std::string Call(const std::function<int(ScpiInterface*)>& run, bool query, uint8_t type = kItemOmitted,
                     T value = 0) {
        cmd->query = query ? 1 : 0;
        cmd->paramCount = type == kItemOmitted ? 0 : 1;
        std::memcpy(cmd->data, &value, sizeof value);
        cmd->items[0] = ScpiParamItem{type, sizeof value, cmd->data};
        parse.errIndex = 0;
        ifc.replyCount = 0;
        // A set command runs on the menu/control thread: this thread plays it, and the screen requests the
        // handler asks for run at once.
        if (!query) ScreenRequest_SetTaker();
        run(&ifc);
        ifc.io.write(nullptr, 0, kPortCommit);
        return Transmit() + "|" + std::to_string(parse.errIndex);
    }

    ScpiInterface ifc{};
    ScpiParseState parse{};
    ScpiLexer lexer{};
    std::unique_ptr<ScpiCmdBlock> cmd;
    ScpiStatusBlock status{};
    RemotePort port{};
    std::vector<ParsedCommand> commands;
    std::string input;
    size_t inputPos = 0;
    int peer = -1;  // the client's end of the socket
    // Control codes the channel issued, with their arguments.
    std::vector<std::pair<int32_t, uintptr_t>> controls;
    // Longest the port read may hand out per call (1 = byte by byte for every read).
    uint32_t readChunk = 1u << 30;

  private:
    void Execute();
    void Flush();
    std::string Received();
};

// What the real execution loop needs around it: the message queue, the hand-over semaphores, the
// panel link and the menu/control thread started (identity text, command set). Removes the queue at
// the end.
class MenuEnv {
  public:
    MenuEnv();
    ~MenuEnv();
};

// Writes on the program's side of a device node until the line refuses more: its side, the bridge and the
// client's side are full.
void FillLine(int fd);

// Runs one fuzz input through a channel and checks the parser's invariants; aborts on a violation.
void FuzzOneInput(const uint8_t* data, size_t size);

}  // namespace scpitest
