#include "platform/sandbox/tools/sandbox_upgparse.h"

#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "platform/host/root.h"
#include "platform/sandbox/sandbox_log.h"
#include "platform/sandbox/tools/tar_check.h"

namespace plat::sandbox {
namespace {

constexpr size_t kPackageMax = 256u << 20;

// The folder (under /mnt/sd1) and the package named by the script, in its one spelling.
bool Parse(std::string_view line, std::string* folder, std::string* name) {
    static const std::regex kScript(
        R"(^[ \t]*cd[ \t]+(/mnt/sd1/[^ \t\n/]+)[ \t]*\n[ \t]*\n[ \t]*/mnt/disk/app/upgparse[ \t]+([^ \t\n]+)[ \t]*\n[ \t]*\n[ \t]*$)");
    std::cmatch m;
    if (!std::regex_match(line.data(), line.data() + line.size(), m, kScript)) return false;
    *folder = m[1];
    *name = m[2];
    return true;
}

bool ReadPackage(const std::string& host, std::string* bytes, ToolIo& io) {
    std::ifstream in(host, std::ios::binary);
    if (!in) {
        io.err += "upgparse: cannot open the package\n";
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size <= 0 || static_cast<size_t>(size) > kPackageMax) {
        io.err += "upgparse: the package is empty or too large\n";
        return false;
    }
    in.seekg(0);
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return static_cast<std::streamoff>(bytes->size()) == size;
}

int Extract(const std::string& folder, const std::string& name, ToolIo& io) {
    if (name.find('/') != std::string::npos || name == "." || name == "..") {
        io.err += "upgparse: the package must lie in the folder\n";
        return kRefused;
    }
    const std::string package = folder + "/" + name;
    const std::string host = MapPath(package);
    std::string bytes;
    if (host.empty() || !ReadPackage(host, &bytes, io)) return 1;
    if (!TarMembersSafe(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), "")) {
        io.err += "upgparse: the package holds an unsafe or truncated archive\n";
        return 1;
    }
    ToolIo tar;
    const int status = Tar({"tar", "-xf", package, "-C", folder}, tar);
    io.err += tar.err;
    return status == 0 ? 0 : 1;
}

}  // namespace

bool RunUpgparseScript(std::string_view line, ToolIo& io, int* status) {
    std::string folder, name;
    if (!Parse(line, &folder, &name)) return false;
    ToolIo run;
    *status = Extract(folder, name, run);
    io.err += run.err;
    LogCommand(*status == kRefused ? "refused" : "simulated", *status,
               "cd " + folder + " && /mnt/disk/app/upgparse " + name, run.err);
    return true;
}

}  // namespace plat::sandbox
