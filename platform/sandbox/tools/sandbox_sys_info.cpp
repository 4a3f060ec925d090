// Simulated tools that report on the system: the kernel (uname, the module tree), the boot loader's
// banner in its flash partition (strings), and the processes (pgrep, kill). Their answers are fixed
// texts of a board as delivered; kill ends only a simulated process and never signals a host one.
#include <iterator>
#include <string>

#include "platform/sandbox/sandbox_state.h"
#include "platform/sandbox/tools/sandbox_tools.h"

namespace plat::sandbox {
namespace {

struct FixedAnswer {
    const char* tool;
    const char* operands;  // the arguments after the tool's name, joined by blanks
    const char* out;
};

// Adding an answer is adding a row.
constexpr FixedAnswer kAnswers[] = {
    {"uname", "-s", "Linux\n"},
    {"uname", "-r", "4.14.108-qx\n"},
    {"uname", "-v", "#1 Thu Mar 16 10:32:51 CST 2023\n"},
    {"ls", "/lib/modules/", "4.14.108-qx\n"},
    {"ls", "/lib/modules", "4.14.108-qx\n"},
    {"strings", "/dev/mtd5",
     "U-Boot SPL 2014.07-00001-g4a8e5b89e5-dirty (Mar 07 2023 - 15:12:33)\n"
     "U-Boot 2014.07-00001-g4a8e5b89e5-dirty (Mar 07 2023 - 15:12:33)\n"
     "bootcmd=run findfdt; run mmcboot\n"
     "upg_ver=0x260\n"},
};

// The processes of the board that the instrument looks for by name; the ones started through the
// sandbox (udhcpc, the avahi programs) are kept as "proc.NAME" keys of the state.
struct SimProcess {
    const char* name;
    const char* pid;
};
constexpr SimProcess kProcesses[] = {
    {"boa", "612"},
};

std::string Operands(const Args& args) {
    std::string text;
    for (size_t i = 1; i < args.size(); ++i)
        text += (i > 1 ? " " : "") + args[i];
    return text;
}

bool Ended(const State& state, const char* pid) {
    return state.count(std::string("ended.") + pid) != 0;
}

}  // namespace

int FixedTool(const Args& args, ToolIo& io) {
    const std::string operands = Operands(args);
    for (const FixedAnswer& a : kAnswers) {
        if (args[0] == a.tool && operands == a.operands) {
            io.out += a.out;
            return 0;
        }
    }
    io.err += args[0] + ": " + operands + ": not available\n";
    return args[0] == "ls" ? 2 : 1;
}

// pgrep NAME: the ids of the simulated processes of that name still running; status 1 when none.
int Pgrep(const Args& args, ToolIo& io) {
    if (args.size() != 2) {
        io.err += "pgrep: expects one process name\n";
        return 2;
    }
    return InspectState([&](const State& state) {
        int status = 1;
        auto started = state.find("proc." + args[1]);
        if (started != state.end()) {
            io.out += started->second + "\n";
            status = 0;
        }
        for (const SimProcess& p : kProcesses) {
            if (args[1] == p.name && !Ended(state, p.pid)) {
                io.out += std::string(p.pid) + "\n";
                status = 0;
            }
        }
        return status;
    });
}

// kill [-SIGNAL] PID...: recorded; a simulated process with that id ends.
int Kill(const Args& args, ToolIo&) {
    return UpdateState([&](State& state) {
        state[args[0]] = Operands(args);
        for (size_t i = 1; i < args.size(); ++i) {
            for (const SimProcess& p : kProcesses)
                if (args[i] == p.pid) state[std::string("ended.") + p.pid] = args[0];
            for (auto it = state.begin(); it != state.end();)
                it = it->first.rfind("proc.", 0) == 0 && it->second == args[i] ? state.erase(it)
                                                                               : std::next(it);
        }
        return 0;
    });
}

}  // namespace plat::sandbox
