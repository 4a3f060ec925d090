// tar runs as the real program, without a shell, with every path rewritten into the root and
// only the options the instrument uses: create, extract or list (c, x, t), gzip (z), verbose (v),
// the archive (f) and the folder (C).
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/host/root.h"
#include "platform/sandbox/sandbox_paths.h"
#include "platform/sandbox/tools/sandbox_tools.h"

namespace plat::sandbox {
namespace fs = std::filesystem;
namespace {

struct TarCommand {
    char mode = 0;                     // 'c', 'x' or 't'
    bool archive = false;              // an 'f' was given
    std::string folder = Root();       // the folder of the last 'C': relative paths start there
    std::string tarFolder = Root();    // the folder the real tar is in at the end of argv so far
    std::vector<std::string> argv;     // the rewritten arguments for the real tar
    std::vector<std::string> folders;  // host folders that an extraction writes into

    // Moves the real tar into `dir` when it is not there yet. The 'C' options are placed just
    // before the members they apply to, since tar refuses one that no member follows.
    void ChangeTo(const std::string& dir) {
        if (tarFolder == dir) return;
        argv.insert(argv.end(), {"-C", dir});
        tarFolder = dir;
    }
};

bool OptionWithPath(char option, const std::string& value, TarCommand* cmd, ToolIo& io) {
    if (value.empty() || value == "-") {
        io.err += std::string("tar: option '") + option + "' needs a path (standard input is not offered)\n";
        return false;
    }
    std::string host;
    if (!ResolvePathFrom("tar", cmd->folder, value, &host, io)) return false;
    if (option == 'C') {
        cmd->folder = host;
        cmd->folders.push_back(host);
        return true;
    }
    cmd->archive = true;
    cmd->argv.insert(cmd->argv.end(), {"-f", host});
    return true;
}

bool Option(char option, TarCommand* cmd, ToolIo& io) {
    if (option == 'c' || option == 'x' || option == 't') {
        if (cmd->mode != 0 && cmd->mode != option) {
            io.err += "tar: only one of c, x and t may be given\n";
            return false;
        }
        cmd->mode = option;
    } else if (option != 'z' && option != 'v') {
        io.err += std::string("tar: option '") + option + "' is not supported here\n";
        return false;
    }
    cmd->argv.push_back(std::string("-") + option);
    return true;
}

// A member is a path to read when creating, a name inside the archive otherwise.
bool Member(const std::string& member, TarCommand* cmd, ToolIo& io) {
    std::string host;
    if (cmd->mode == 'c' && !ResolvePathFrom("tar", cmd->folder, member, &host, io)) return false;
    if (cmd->mode == 'c' && member[0] == '/') {
        // Stored as on the board: relative to "/", which is the root here.
        cmd->ChangeTo(Root());
        cmd->argv.push_back(fs::relative(host, Root()).string());
        return true;
    }
    cmd->ChangeTo(cmd->folder);
    cmd->argv.push_back(member);
    return true;
}

// Takes "xzvf ARCHIVE" (first argument without a dash) and "-xzvf ARCHIVE" bundles; an 'f' or 'C'
// takes the rest of its bundle or the next argument. Long options are refused.
bool Rewrite(const Args& args, TarCommand* cmd, ToolIo& io) {
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty()) continue;
        if (arg.rfind("--", 0) == 0) {
            io.err += "tar: option '" + arg + "' is not supported here\n";
            return false;
        }
        if (arg[0] != '-' && i > 1) {
            if (!Member(arg, cmd, io)) return false;
            continue;
        }
        for (size_t k = arg[0] == '-' ? 1 : 0; k < arg.size(); ++k) {
            char option = arg[k];
            if (option != 'f' && option != 'C') {
                if (!Option(option, cmd, io)) return false;
                continue;
            }
            std::string value = k + 1 < arg.size() ? arg.substr(k + 1) : i + 1 < args.size() ? args[++i] : "";
            if (!OptionWithPath(option, value, cmd, io)) return false;
            break;
        }
    }
    if (cmd->mode == 0 || !cmd->archive) {
        io.err += "tar: needs one of c, x, t and an archive (f)\n";
        return false;
    }
    if (cmd->mode != 'c') cmd->ChangeTo(cmd->folder);
    if (cmd->folders.empty()) cmd->folders.push_back(Root());
    return true;
}

// A symbolic link that leads out of the root would let a later write escape through it; an
// extraction may leave one (the real tar creates such links last), so they are removed.
void RemoveEscapingLinks(const std::string& folder, ToolIo& io) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_symlink(ec) || IsInsideRoot(it->path().string())) continue;
        std::error_code removeEc;
        fs::remove(it->path(), removeEc);
        io.err += "tar: removed link '" + it->path().string() + "' that leads outside the instrument root\n";
    }
}

const char* TarProgram() {
    for (const char* path : {"/usr/bin/tar", "/bin/tar"})
        if (access(path, X_OK) == 0) return path;
    return nullptr;
}

std::string ReadAll(int fd) {
    std::string data;
    lseek(fd, 0, SEEK_SET);
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        data.append(buffer, static_cast<size_t>(n));
    return data;
}

// Runs the real tar in the root with a clean environment; its output and errors are captured in
// anonymous memory files so that a long listing cannot block it.
int RunTar(const char* program, const TarCommand& cmd, ToolIo& io) {
    std::vector<char*> argv;
    std::string name = "tar";
    argv.push_back(name.data());
    for (const std::string& arg : cmd.argv)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    char path[] = "PATH=/usr/bin:/bin";
    char locale[] = "LC_ALL=C";
    char* envp[] = {path, locale, nullptr};

    const std::string root = Root();
    int out = memfd_create("tar-out", MFD_CLOEXEC);
    int err = memfd_create("tar-err", MFD_CLOEXEC);
    int null = open("/dev/null", O_RDONLY | O_CLOEXEC);
    pid_t pid = out < 0 || err < 0 || null < 0 ? -1 : fork();
    if (pid == 0) {
        sigset_t none;
        sigemptyset(&none);
        pthread_sigmask(SIG_SETMASK, &none, nullptr);
        if (chdir(root.c_str()) != 0 || dup2(null, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(126);
        execve(program, argv.data(), envp);
        _exit(126);
    }
    int status = -1;
    if (pid > 0)
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    if (pid > 0) {
        io.out += ReadAll(out);
        io.err += ReadAll(err);
    }
    for (int fd : {out, err, null})
        if (fd >= 0) close(fd);
    if (pid < 0) {
        io.err += "tar: cannot start\n";
        return 126;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

int Tar(const Args& args, ToolIo& io) {
    TarCommand cmd;
    if (!Rewrite(args, &cmd, io)) return kRefused;
    const char* program = TarProgram();
    if (program == nullptr) {
        io.err += "tar: not installed on this machine\n";
        return 126;
    }
    if (cmd.mode == 'x')
        for (const std::string& folder : cmd.folders)
            RemoveEscapingLinks(folder, io);
    int status = RunTar(program, cmd, io);
    if (cmd.mode == 'x')
        for (const std::string& folder : cmd.folders)
            RemoveEscapingLinks(folder, io);
    return status;
}

}  // namespace plat::sandbox
