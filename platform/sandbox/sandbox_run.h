#pragma once
// Runs a command line inside the sandbox: sequences, pipelines, redirections, substitutions, and
// each simple command through its tool (or refused), logging every command.
#include <string_view>

#include "platform/sandbox/tools/sandbox_tools.h"

namespace plat::sandbox {

// Runs `line` with io.in as its standard input; its output and errors are appended to io.out and
// io.err. Returns the exit status of the last pipeline, kRefused for a line that cannot be parsed.
int RunLine(std::string_view line, ToolIo& io);

}  // namespace plat::sandbox
