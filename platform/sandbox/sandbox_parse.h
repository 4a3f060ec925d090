#pragma once
// The command-line grammar the sandbox understands: words with quotes, escapes and $(...)
// substitutions, redirections of standard output and error, pipes, and sequences joined by ";",
// newlines, "&", "&&" and "||". Nothing here runs a command; substitutions are handed back to the
// caller.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace plat::sandbox {

struct Word {
    std::string text;     // after quote removal and substitution
    std::string pattern;  // the text with its quoted glob characters escaped
    bool glob = false;    // holds an unquoted '*', '?' or '['
};

enum class RedirectKind { kOut, kAppend, kErrOut, kErrAppend, kErrToOut };

struct Redirect {
    RedirectKind kind;
    std::string target;  // empty for kErrToOut
};

struct SimpleCommand {
    std::vector<Word> words;
    std::vector<Redirect> redirects;
};

// How a pipeline depends on the status of the one before it.
enum class Connector { kAlways, kIfSuccess, kIfFailure };

struct Pipeline {
    Connector connector = Connector::kAlways;
    bool background = false;  // ended by "&": its status does not count
    std::vector<SimpleCommand> stages;
};

// Runs the command line of a $(...) substitution and returns its standard output.
using Substitute = std::function<std::string(const std::string& commandLine)>;

// Parses a command line. Returns false with the reason in *error on a syntax error or an
// unsupported construct (input redirection, backquotes).
bool ParseCommandLine(std::string_view line, const Substitute& substitute, std::vector<Pipeline>* pipelines,
                      std::string* error);

}  // namespace plat::sandbox
