#include "platform/sandbox/sandbox_paths.h"

#include <glob.h>

#include <filesystem>

#include "platform/host/root.h"

namespace plat::sandbox {
namespace {

// Relative paths are not clamped as instrument paths are: one that climbs out of the root is refused.
std::string HostForm(const std::string& arg, const std::string& base) {
    if (!arg.empty() && arg[0] == '/') return MapPath(arg);
    std::string host = (std::filesystem::path(base) / arg).lexically_normal().string();
    while (host.size() > 1 && host.back() == '/')
        host.pop_back();
    return host;
}

}  // namespace

bool ResolvePathFrom(const std::string& tool, const std::string& base, const std::string& arg,
                     std::string* host, ToolIo& io) {
    *host = HostForm(arg, base);
    if (!arg.empty() && IsInsideRoot(*host)) return true;
    io.err += tool + ": " + arg + ": outside the instrument root\n";
    return false;
}

bool ResolvePath(const std::string& tool, const std::string& arg, std::string* host, ToolIo& io) {
    return ResolvePathFrom(tool, Root(), arg, host, io);
}

bool ResolvePaths(const std::string& tool, const Args& args, std::vector<std::string>* hosts, ToolIo& io) {
    hosts->resize(args.size());
    bool ok = true;
    for (size_t i = 0; i < args.size(); ++i)
        ok = ResolvePath(tool, args[i], &(*hosts)[i], io) && ok;
    return ok;
}

void ExpandWord(const Word& word, std::vector<std::string>* out) {
    std::string pattern = HostForm(word.pattern, Root());
    if (!word.glob || !IsInsideRoot(pattern)) {
        out->push_back(word.text);
        return;
    }
    // Matches are given back in the word's own form: instrument paths for absolute words, paths
    // relative to the root for relative ones.
    size_t strip = Root().size() + (word.pattern[0] == '/' ? 0 : 1);
    glob_t matches{};
    if (glob(pattern.c_str(), 0, nullptr, &matches) == 0) {
        for (size_t i = 0; i < matches.gl_pathc; ++i) {
            std::string match = matches.gl_pathv[i];
            out->push_back(match.size() > strip ? match.substr(strip) : "/");
        }
    } else {
        out->push_back(word.text);
    }
    globfree(&matches);
}

}  // namespace plat::sandbox
