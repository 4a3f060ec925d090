#pragma once
// Where the sandbox's path arguments lead on the host: absolute instrument paths go through the
// root mapping, relative ones start at the root, and nothing may end outside the root.
#include <string>
#include <vector>

#include "platform/sandbox/sandbox_parse.h"
#include "platform/sandbox/tools/sandbox_tools.h"

namespace plat::sandbox {

// The host path of one path argument of `tool`. False, with the refusal in io.err, when the path
// (symbolic links followed) lies outside the root.
bool ResolvePath(const std::string& tool, const std::string& arg, std::string* host, ToolIo& io);

// The same with relative paths taken from the host folder `base` (inside the root).
bool ResolvePathFrom(const std::string& tool, const std::string& base, const std::string& arg,
                     std::string* host, ToolIo& io);

// All of `args` resolved; false when any one is refused, so that nothing is done in part.
bool ResolvePaths(const std::string& tool, const Args& args, std::vector<std::string>* hosts, ToolIo& io);

// The word's expansions: its glob matched inside the root (sorted, in the word's own form, absolute
// or relative), or the word itself when it has no glob or nothing matches.
void ExpandWord(const Word& word, std::vector<std::string>* out);

}  // namespace plat::sandbox
