#include "platform/sandbox/tools/sandbox_tools.h"

#include <cstddef>

namespace plat::sandbox {
namespace {

// Adding a tool is adding a row. Simulated tools print nothing and succeed unless their row's
// handler says otherwise.
constexpr Tool kTools[] = {
    {"cat", Cat, false, true},
    {"cjpeg", Cjpeg, false},
    {"cp", Cp, false},
    {"dd", Dd, false},
    {"echo", Echo, false},
    {"grep", Grep, false, true},
    {"md5sum", Md5sum, false},
    {"mkdir", Mkdir, false},
    {"mv", Mv, false},
    {"rm", Rm, false},
    {"sync", Sync, false},
    {"tar", Tar, false},
    {"avahi-autoipd", StartProcess, true},
    {"avahi-daemon", StartProcess, true},
    {"flash_eraseall", FlashEraseall, true},
    {"flashcp", Flashcp, true},
    {"fw_printenv", FwPrintenv, true},
    {"fw_setenv", FwSetenv, true},
    {"hostname", Record, true},
    {"ifconfig", Ifconfig, true},
    {"insmod", Insmod, true},
    {"kill", Kill, true},
    {"killall", Record, true},
    {"ls", FixedTool, true},
    {"modprobe", Record, true},
    {"mount", Mount, true},
    {"net.sh", Record, true},
    {"nslookup", Nslookup, true},
    {"pgrep", Pgrep, true},
    {"qx_jtag", QxJtag, true},
    {"reboot", Record, true},
    {"rmmod", Rmmod, true},
    {"route", Route, true},
    {"strings", FixedTool, true},
    {"udhcpc", Udhcpc, true},
    {"umount", Umount, true},
    {"uname", FixedTool, true},
};

}  // namespace

const Tool* FindTool(std::string_view command) {
    size_t slash = command.rfind('/');
    std::string_view name = slash == std::string_view::npos ? command : command.substr(slash + 1);
    for (const Tool& tool : kTools)
        if (name == tool.name) return &tool;
    return nullptr;
}

bool SplitOptions(const Args& args, std::string_view allowed, std::string* options, Args* operands,
                  ToolIo& io) {
    size_t i = 1;
    for (; i < args.size() && args[i].size() > 1 && args[i][0] == '-'; ++i) {
        if (args[i] == "--") {
            ++i;
            break;
        }
        for (char c : std::string_view(args[i]).substr(1)) {
            if (allowed.find(c) == std::string_view::npos) {
                io.err += args[0] + ": invalid option -- '" + c + "'\n";
                return false;
            }
            *options += c;
        }
    }
    operands->assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    return true;
}

}  // namespace plat::sandbox
