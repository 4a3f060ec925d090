// The file-system tools: cp, mv, rm, mkdir and sync, carried out in-process inside the root. The state
// line "cp.flip=K" inverts byte K of every file cp writes that is longer than K, as a stick with a bad
// read would give it.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/host/root.h"
#include "platform/sandbox/sandbox_paths.h"
#include "platform/sandbox/sandbox_state.h"
#include "platform/sandbox/tools/sandbox_tools.h"

namespace plat::sandbox {
namespace fs = std::filesystem;
namespace {

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

// Resolves the operands of a tool that takes sources and one destination; the destination must be
// a folder when there are several sources.
int SourcesAndDestination(const std::string& tool, const Args& operands, std::vector<std::string>* hosts,
                          bool* intoFolder, ToolIo& io) {
    if (operands.size() < 2) {
        io.err += tool + ": missing destination file operand\n";
        return 1;
    }
    if (!ResolvePaths(tool, operands, hosts, io)) return kRefused;
    *intoFolder = fs::is_directory(hosts->back());
    if (hosts->size() > 2 && !*intoFolder) {
        io.err += tool + ": target " + Quoted(operands.back()) + " is not a directory\n";
        return 1;
    }
    return 0;
}

fs::path Target(const std::string& source, const std::string& destination, bool intoFolder) {
    return intoFolder ? fs::path(destination) / fs::path(source).filename() : fs::path(destination);
}

// The byte offset of the "cp.flip" state line, or -1 without it.
long FlipOffset() {
    return InspectState([](const State& state) {
        auto it = state.find("cp.flip");
        return it == state.end() ? -1 : static_cast<int>(std::strtol(it->second.c_str(), nullptr, 10));
    });
}

void FlipByte(const fs::path& file, long offset) {
    std::error_code ec;
    if (offset < 0 || !fs::is_regular_file(file, ec) ||
        fs::file_size(file, ec) <= static_cast<uintmax_t>(offset))
        return;
    std::fstream io(file, std::ios::in | std::ios::out | std::ios::binary);
    io.seekg(offset);
    const int byte = io.get();
    io.seekp(offset);
    io.put(static_cast<char>(byte ^ 0xFF));
}

bool IsRoot(const std::string& host) {
    std::error_code ec;
    return fs::weakly_canonical(host, ec) == fs::weakly_canonical(Root(), ec);
}

}  // namespace

int Cp(const Args& args, ToolIo& io) {
    std::string options;
    Args operands;
    if (!SplitOptions(args, "rRafpd", &options, &operands, io)) return 1;
    std::vector<std::string> hosts;
    bool intoFolder = false;
    if (int status = SourcesAndDestination("cp", operands, &hosts, &intoFolder, io)) return status;
    bool recursive = options.find_first_of("rRa") != std::string::npos;
    const long flip = FlipOffset();
    int status = 0;
    for (size_t i = 0; i + 1 < hosts.size(); ++i) {
        std::error_code ec;
        fs::file_type type = fs::status(hosts[i], ec).type();
        if (type == fs::file_type::not_found) {
            io.err += "cp: cannot stat " + Quoted(operands[i]) + ": No such file or directory\n";
            status = 1;
            continue;
        }
        if (type == fs::file_type::directory && !recursive) {
            io.err += "cp: -r not specified; omitting directory " + Quoted(operands[i]) + "\n";
            status = 1;
            continue;
        }
        const fs::path target = Target(hosts[i], hosts.back(), intoFolder);
        fs::copy(hosts[i], target,
                 fs::copy_options::overwrite_existing | fs::copy_options::recursive |
                     fs::copy_options::copy_symlinks,
                 ec);
        if (ec) {
            io.err += "cp: cannot copy " + Quoted(operands[i]) + ": " + ec.message() + "\n";
            status = 1;
        } else {
            FlipByte(target, flip);
        }
    }
    return status;
}

int Mv(const Args& args, ToolIo& io) {
    std::string options;
    Args operands;
    if (!SplitOptions(args, "f", &options, &operands, io)) return 1;
    std::vector<std::string> hosts;
    bool intoFolder = false;
    if (int status = SourcesAndDestination("mv", operands, &hosts, &intoFolder, io)) return status;
    int status = 0;
    for (size_t i = 0; i + 1 < hosts.size(); ++i) {
        std::error_code ec;
        if (IsRoot(hosts[i])) {
            io.err += "mv: cannot move the instrument root\n";
            return kRefused;
        }
        fs::rename(hosts[i], Target(hosts[i], hosts.back(), intoFolder), ec);
        if (ec) {
            io.err += "mv: cannot move " + Quoted(operands[i]) + ": " + ec.message() + "\n";
            status = 1;
        }
    }
    return status;
}

int Rm(const Args& args, ToolIo& io) {
    std::string options;
    Args operands;
    if (!SplitOptions(args, "rRf", &options, &operands, io)) return 1;
    bool force = options.find('f') != std::string::npos;
    bool recursive = options.find_first_of("rR") != std::string::npos;
    if (operands.empty() && !force) {
        io.err += "rm: missing operand\n";
        return 1;
    }
    std::vector<std::string> hosts;
    if (!ResolvePaths("rm", operands, &hosts, io)) return kRefused;
    for (const std::string& host : hosts)
        if (IsRoot(host)) {
            io.err += "rm: refusing to remove the instrument root\n";
            return kRefused;
        }
    int status = 0;
    for (size_t i = 0; i < hosts.size(); ++i) {
        std::error_code ec;
        fs::file_type type = fs::symlink_status(hosts[i], ec).type();
        if (type == fs::file_type::not_found) {
            if (!force)
                io.err += "rm: cannot remove " + Quoted(operands[i]) + ": No such file or directory\n";
            status = force ? status : 1;
            continue;
        }
        if (type == fs::file_type::directory && !recursive) {
            io.err += "rm: cannot remove " + Quoted(operands[i]) + ": Is a directory\n";
            status = 1;
            continue;
        }
        fs::remove_all(hosts[i], ec);
        if (ec) {
            io.err += "rm: cannot remove " + Quoted(operands[i]) + ": " + ec.message() + "\n";
            status = 1;
        }
    }
    return status;
}

int Mkdir(const Args& args, ToolIo& io) {
    std::string options;
    Args operands;
    if (!SplitOptions(args, "p", &options, &operands, io)) return 1;
    if (operands.empty()) {
        io.err += "mkdir: missing operand\n";
        return 1;
    }
    std::vector<std::string> hosts;
    if (!ResolvePaths("mkdir", operands, &hosts, io)) return kRefused;
    bool parents = !options.empty();
    int status = 0;
    for (size_t i = 0; i < hosts.size(); ++i) {
        std::error_code ec;
        if (!parents && fs::exists(fs::symlink_status(hosts[i], ec)))
            ec = std::make_error_code(std::errc::file_exists);
        else if (parents)
            fs::create_directories(hosts[i], ec);
        else
            fs::create_directory(hosts[i], ec);
        if (ec) {
            io.err += "mkdir: cannot create directory " + Quoted(operands[i]) + ": " + ec.message() + "\n";
            status = 1;
        }
    }
    return status;
}

// The root's files need no flush for the program to read them back, so sync only succeeds.
int Sync(const Args&, ToolIo&) {
    return 0;
}

}  // namespace plat::sandbox
