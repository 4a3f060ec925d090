#include "platform/sandbox/sandbox_run.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/sandbox/sandbox_log.h"
#include "platform/sandbox/sandbox_parse.h"
#include "platform/sandbox/sandbox_paths.h"
#include "platform/sandbox/tools/sandbox_upgparse.h"

namespace plat::sandbox {
namespace {

// Where one output stream of a command goes.
struct Sink {
    enum Kind { kStdout, kStderr, kDiscard, kFile } kind;
    int fd = -1;
};

// The files a command's redirections opened; closed when the command is done.
class Redirections {
  public:
    ~Redirections() {
        for (int fd : fds_)
            close(fd);
    }

    Sink out{Sink::kStdout};
    Sink err{Sink::kStderr};

    // Opens the targets in order, as the shell does before it runs the command. Returns 0,
    // kRefused for a target outside the root, or 1 when a file cannot be made.
    int Open(const std::vector<Redirect>& redirects, ToolIo& io) {
        for (const Redirect& r : redirects) {
            if (r.kind == RedirectKind::kErrToOut) {
                err = out;
                continue;
            }
            bool toErr = r.kind == RedirectKind::kErrOut || r.kind == RedirectKind::kErrAppend;
            Sink& sink = toErr ? err : out;
            if (r.target == "/dev/null") {
                sink = Sink{Sink::kDiscard};
                continue;
            }
            std::string host;
            if (!ResolvePath("sh", r.target, &host, io)) return kRefused;
            bool append = r.kind == RedirectKind::kAppend || r.kind == RedirectKind::kErrAppend;
            int fd = open(host.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC), 0644);
            if (fd < 0) {
                io.err += "sh: can't create " + r.target + ": " + std::strerror(errno) + "\n";
                return 1;
            }
            fds_.push_back(fd);
            sink = Sink{Sink::kFile, fd};
        }
        return 0;
    }

    static void Deliver(const Sink& sink, const std::string& data, ToolIo& caller) {
        if (sink.kind == Sink::kStdout) caller.out += data;
        if (sink.kind == Sink::kStderr) caller.err += data;
        if (sink.kind == Sink::kFile && !data.empty() && write(sink.fd, data.data(), data.size()) < 0)
            caller.err += std::string("sh: write error: ") + std::strerror(errno) + "\n";
    }

  private:
    std::vector<int> fds_;
};

// The command as the log shows it: its words after expansion and its redirections.
std::string Describe(const Args& args, const std::vector<Redirect>& redirects) {
    static const char* const kRedirect[] = {" > ", " >> ", " 2> ", " 2>> ", " 2>&1"};
    std::string text;
    for (const std::string& arg : args) {
        if (!text.empty()) text += ' ';
        bool plain = !arg.empty() && arg.find_first_of(" \t\n'\"\\$;&|<>*?[") == std::string::npos;
        text += plain ? arg : "'" + arg + "'";
    }
    for (const Redirect& r : redirects)
        text += kRedirect[static_cast<int>(r.kind)] + r.target;
    return text;
}

int RunCommand(const SimpleCommand& command, ToolIo& io) {
    Args args;
    for (const Word& word : command.words)
        ExpandWord(word, &args);
    ToolIo run{std::move(io.in), {}, {}};
    Redirections redirections;
    const Tool* tool = args.empty() ? nullptr : FindTool(args[0]);
    int status = redirections.Open(command.redirects, run);
    if (status == 0 && !args.empty()) {
        if (tool != nullptr) {
            status = tool->run(args, run);
        } else {
            run.err += args[0] + ": not available on this instrument\n";
            status = kRefused;
        }
    }
    Redirections::Deliver(redirections.out, run.out, io);
    Redirections::Deliver(redirections.err, run.err, io);
    const char* verdict = status == kRefused                   ? "refused"
                          : tool != nullptr && tool->simulated ? "simulated"
                                                               : "ran";
    const std::string described = Describe(args, command.redirects);
    // A redirection writes a file: never a mere poll.
    const bool poll = tool != nullptr && tool->reads && command.redirects.empty();
    if (!poll || !RepeatsLastAnswer(described, status, run.out, run.err))
        LogCommand(verdict, status, described, run.err);
    return status;
}

int RunPipeline(Pipeline& pipeline, ToolIo& io) {
    int status = 0;
    std::string input = std::move(io.in);
    for (size_t i = 0; i < pipeline.stages.size(); ++i) {
        ToolIo stage{std::move(input), {}, {}};
        status = RunCommand(pipeline.stages[i], stage);
        io.err += stage.err;
        if (i + 1 == pipeline.stages.size())
            io.out += stage.out;
        else
            input = std::move(stage.out);
    }
    return status;
}

constexpr int kMaxSubstitutionDepth = 32;
thread_local int t_substitutionDepth = 0;

}  // namespace

int RunLine(std::string_view line, ToolIo& io) {
    int script = 0;
    if (RunUpgparseScript(line, io, &script)) return script;
    Substitute substitute = [&io](const std::string& inner) {
        ToolIo sub;
        // Each $( ) runs a line of its own, one level deeper in the stack: a line nested deeper
        // than any the instrument writes is refused instead of ending the process.
        if (t_substitutionDepth >= kMaxSubstitutionDepth) {
            io.err += "sh: substitutions nested too deeply\n";
            LogCommand("refused", kRefused, inner, "substitutions nested too deeply");
            return std::string();
        }
        ++t_substitutionDepth;
        RunLine(inner, sub);
        --t_substitutionDepth;
        io.err += sub.err;
        return sub.out;
    };
    std::vector<Pipeline> pipelines;
    std::string error;
    if (!ParseCommandLine(line, substitute, &pipelines, &error)) {
        io.err += "sh: " + error + "\n";
        LogCommand("refused", kRefused, line, error);
        return kRefused;
    }
    int status = 0;
    for (Pipeline& pipeline : pipelines) {
        if (pipeline.connector == Connector::kIfSuccess && status != 0) continue;
        if (pipeline.connector == Connector::kIfFailure && status == 0) continue;
        // Background commands run to their end here: the simulated tools return at once, and a
        // file tool finishing before the next command only removes a race the board has.
        int result = RunPipeline(pipeline, io);
        status = pipeline.background ? 0 : result;
    }
    return status;
}

}  // namespace plat::sandbox
