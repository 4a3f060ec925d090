// The tools that read and write file contents: cat, echo, grep, md5sum and dd.
#include <regex.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/sandbox/sandbox_paths.h"
#include "platform/sandbox/tools/md5.h"
#include "platform/sandbox/tools/sandbox_tools.h"

namespace plat::sandbox {
namespace {

bool ReadFile(const std::string& host, std::string* data) {
    std::error_code ec;
    if (std::filesystem::is_directory(host, ec)) return false;
    std::ifstream file(host, std::ios::binary);
    if (!file) return false;
    std::ostringstream text;
    text << file.rdbuf();
    *data = std::move(text).str();
    return true;
}

// The contents of each operand in turn (standard input when there are none), handed to `use`
// with the operand's name. Returns 1 when a file could not be read, kRefused when a path lies
// outside the root, else 0.
template <typename Use>
int ForEachInput(const std::string& tool, const Args& operands, ToolIo& io, Use use) {
    if (operands.empty()) {
        use(std::string("-"), io.in);
        return 0;
    }
    std::vector<std::string> hosts;
    if (!ResolvePaths(tool, operands, &hosts, io)) return kRefused;
    int status = 0;
    for (size_t i = 0; i < hosts.size(); ++i) {
        std::string data;
        if (!ReadFile(hosts[i], &data)) {
            io.err += tool + ": " + operands[i] + ": No such file or directory\n";
            status = 1;
            continue;
        }
        use(operands[i], data);
    }
    return status;
}

// A dd size: digits with an optional k (1024) or M (1024 * 1024) suffix.
bool ParseSize(const std::string& text, size_t* size) {
    char* end = nullptr;
    unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (end == text.c_str()) return false;
    if (*end == 'k' || *end == 'K') {
        value *= 1024;
        ++end;
    } else if (*end == 'M') {
        value *= 1024 * 1024;
        ++end;
    }
    *size = static_cast<size_t>(value);
    return *end == '\0';
}

}  // namespace

int Cat(const Args& args, ToolIo& io) {
    Args operands(args.begin() + 1, args.end());
    return ForEachInput("cat", operands, io,
                        [&](const std::string&, const std::string& data) { io.out += data; });
}

int Echo(const Args& args, ToolIo& io) {
    for (size_t i = 1; i < args.size(); ++i)
        io.out += (i > 1 ? " " : "") + args[i];
    io.out += '\n';
    return 0;
}

int Md5sum(const Args& args, ToolIo& io) {
    Args operands(args.begin() + 1, args.end());
    return ForEachInput("md5sum", operands, io, [&](const std::string& name, const std::string& data) {
        io.out += Md5Hex(data) + "  " + name + "\n";
    });
}

// grep PATTERN [FILE...]: the lines matching a basic regular expression; status 0 when a line
// matched, 1 when none did, 2 on an error.
int Grep(const Args& args, ToolIo& io) {
    std::string options;
    Args operands;
    if (!SplitOptions(args, "", &options, &operands, io)) return 2;
    if (operands.empty()) {
        io.err += "grep: missing pattern\n";
        return 2;
    }
    regex_t re;
    if (regcomp(&re, operands[0].c_str(), REG_NOSUB) != 0) {
        io.err += "grep: invalid pattern '" + operands[0] + "'\n";
        return 2;
    }
    Args files(operands.begin() + 1, operands.end());
    bool matched = false;
    int status = ForEachInput("grep", files, io, [&](const std::string& name, const std::string& data) {
        std::istringstream lines(data);
        for (std::string line; std::getline(lines, line);) {
            if (regexec(&re, line.c_str(), 0, nullptr, 0) != 0) continue;
            io.out += (files.size() > 1 ? name + ":" : "") + line + "\n";
            matched = true;
        }
    });
    regfree(&re);
    if (status != 0) return status == kRefused ? kRefused : 2;
    return matched ? 0 : 1;
}

// dd if=FILE of=FILE bs=N count=N, between files (or standard input and output).
int Dd(const Args& args, ToolIo& io) {
    std::string input, output;
    size_t blockSize = 512, count = 0;
    bool counted = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& operand = args[i];
        size_t eq = operand.find('=');
        std::string key = operand.substr(0, eq),
                    value = eq == std::string::npos ? "" : operand.substr(eq + 1);
        bool ok = eq != std::string::npos;
        if (key == "if")
            input = value;
        else if (key == "of")
            output = value;
        else if (key == "bs")
            ok = ok && ParseSize(value, &blockSize) && blockSize > 0;
        else if (key == "count")
            ok = ok && (counted = ParseSize(value, &count));
        else
            ok = false;
        if (!ok) {
            io.err += "dd: invalid operand '" + operand + "'\n";
            return 1;
        }
    }
    std::string inputHost, outputHost;
    bool inside = (input.empty() || ResolvePath("dd", input, &inputHost, io)) &&
                  (output.empty() || ResolvePath("dd", output, &outputHost, io));
    if (!inside) return kRefused;

    std::string data;
    if (input.empty()) {
        data = io.in;
    } else if (!ReadFile(inputHost, &data)) {
        io.err += "dd: failed to open '" + input + "': No such file or directory\n";
        return 1;
    }
    if (counted && data.size() / blockSize >= count) data.resize(blockSize * count);
    if (output.empty()) {
        io.out += data;
        return 0;
    }
    std::ofstream file(outputHost, std::ios::binary | std::ios::trunc);
    if (!file.write(data.data(), static_cast<std::streamsize>(data.size()))) {
        io.err += "dd: failed to write '" + output + "'\n";
        return 1;
    }
    return 0;
}

}  // namespace plat::sandbox
