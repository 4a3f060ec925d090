// The flash tools, simulated on the partition files <root>/dev/mtdN: flash_eraseall erases one,
// flashcp erases it, writes a file into it and reads it back (the state line "flashcp.stop=K" stops it
// after K bytes, as a power cut or a failing chip would); qx_jtag, which programs the power
// stage's FPGA over JTAG, prints a transcript.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/devices/flash_parts.h"
#include "platform/host/root.h"
#include "platform/sandbox/sandbox_paths.h"
#include "platform/sandbox/sandbox_state.h"
#include "platform/sandbox/tools/sandbox_tools.h"

namespace plat::sandbox {
namespace {

// The host file of a partition node "/dev/mtdN"; false (message in io.err) for anything else.
bool PartitionFile(const std::string& tool, const std::string& node, std::string* host, ToolIo& io) {
    if (node.rfind("/dev/mtd", 0) == 0 && node.size() > 8 &&
        node.find_first_not_of("0123456789", 8) == std::string::npos && ResolvePath(tool, node, host, io)) {
        std::ifstream probe(*host, std::ios::binary);
        if (probe) return true;
    }
    io.err += tool + ": " + node + ": no such flash partition\n";
    return false;
}

bool ReadFile(const std::string& host, std::string* data) {
    std::ifstream in(host, std::ios::binary);
    if (!in) return false;
    data->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// The byte count after which flashcp stops writing; the whole image without the state line.
size_t StopAfter(size_t size) {
    return static_cast<size_t>(InspectState([&](const State& state) {
        auto it = state.find("flashcp.stop");
        if (it == state.end()) return static_cast<long>(size);
        return std::min(static_cast<long>(size), std::max(0L, std::strtol(it->second.c_str(), nullptr, 10)));
    }));
}

}  // namespace

int FlashEraseall(const Args& args, ToolIo& io) {
    std::string host;
    if (args.size() != 2 || !PartitionFile("flash_eraseall", args[1], &host, io)) return 1;
    if (!EraseFlashFile(host)) {
        io.err += "flash_eraseall: " + args[1] + ": erase failed\n";
        return 1;
    }
    return Record(args, io);
}

int Flashcp(const Args& args, ToolIo& io) {
    Args operands;
    std::string options;
    if (!SplitOptions(args, "v", &options, &operands, io)) return 1;
    std::string source, part, image, content;
    if (operands.size() != 2 || !ResolvePath("flashcp", operands[0], &source, io) ||
        !PartitionFile("flashcp", operands[1], &part, io))
        return 1;
    if (!ReadFile(source, &image)) {
        io.err += "flashcp: " + operands[0] + ": no such file\n";
        return 1;
    }
    if (!ReadFile(part, &content) || image.size() > content.size()) {
        io.err += "flashcp: " + operands[0] + ": larger than the partition\n";
        return 1;
    }
    if (!EraseFlashFile(part)) return 1;
    {
        std::fstream out(part, std::ios::binary | std::ios::in | std::ios::out);
        out.write(image.data(), static_cast<std::streamsize>(StopAfter(image.size())));
        out.flush();
    }
    if (!ReadFile(part, &content) || content.compare(0, image.size(), image) != 0) {
        io.err += "flashcp: " + operands[1] + ": verify failed\n";
        return 1;
    }
    return Record(args, io);
}

}  // namespace plat::sandbox

namespace plat::sandbox {

int QxJtag(const Args& args, ToolIo& io) {
    // The tool's transcript; its last line comes from the state line "qx_jtag.exit" ("none": the tool
    // ends without one), by default a successful programming.
    std::string exitLine = "Exit code = 0... Success";
    InspectState([&](const State& state) {
        auto it = state.find("qx_jtag.exit");
        if (it != state.end()) exitLine = it->second;
        return 0;
    });
    io.out += "Jam STAPL Player Version 2.5\nDevice #1 IDCODE is 020A50DD\nProgramming " +
              (args.size() > 1 ? args.back() : std::string()) + "\nDevice #1 verified successfully\n";
    if (exitLine != "none") io.out += exitLine + "\n";
    return 0;
}

}  // namespace plat::sandbox
