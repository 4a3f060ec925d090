// Simulated system tools: network, mounts, kernel modules, flash, boot-loader environment, reboot
// and signals. None of them touches the host; each records what it was asked in the simulated
// state, <root>/var/lib/sandbox/state (key=value lines), so that tests and later commands can see it.
#include <filesystem>
#include <fstream>

#include "platform/host/device_node.h"
#include "platform/host/root.h"
#include "platform/sandbox/sandbox_paths.h"
#include "platform/sandbox/sandbox_state.h"
#include "platform/sandbox/tools/sandbox_tools.h"

namespace plat::sandbox {
namespace fs = std::filesystem;
namespace {

std::string Join(const Args& args, size_t from) {
    std::string text;
    for (size_t i = from; i < args.size(); ++i)
        text += (i > from ? " " : "") + args[i];
    return text;
}

std::string ModuleName(const std::string& path) {
    std::string name = fs::path(path).filename().string();
    if (name.size() > 3 && name.compare(name.size() - 3, 3, ".ko") == 0) name.resize(name.size() - 3);
    return name;
}

}  // namespace

int Record(const Args& args, ToolIo&) {
    return UpdateState([&](State& state) {
        state[args[0]] = Join(args, 1);
        return 0;
    });
}

int Insmod(const Args& args, ToolIo& io) {
    if (args.size() < 2) {
        io.err += "insmod: missing module\n";
        return 1;
    }
    const int status = UpdateState([&](State& state) {
        state["module." + ModuleName(args[1])] = Join(args, 1);
        return 0;
    });
    // A module with a device node (the USB-GPIB adapter's driver) makes its node.
    DeviceModuleInserted(ModuleName(args[1]));
    return status;
}

int Rmmod(const Args& args, ToolIo& io) {
    return UpdateState([&](State& state) {
        int status = 0;
        for (size_t i = 1; i < args.size(); ++i) {
            if (state.erase("module." + ModuleName(args[i])) == 0) {
                io.err += "rmmod: ERROR: Module " + args[i] + " is not currently loaded\n";
                status = 1;
            } else {
                DeviceModuleRemoved(ModuleName(args[i]));
            }
        }
        return status;
    });
}

// mount [-t TYPE] [-o OPTIONS] DEVICE FOLDER: succeeds when the device node exists under the root.
int Mount(const Args& args, ToolIo& io) {
    Args operands;
    std::string type = "auto";
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "-t" && i + 1 < args.size())
            type = args[++i];
        else if (args[i] == "-o" && i + 1 < args.size())
            ++i;
        else
            operands.push_back(args[i]);
    }
    if (operands.empty()) return 0;
    if (operands.size() != 2) {
        io.err += "mount: expects a device and a folder\n";
        return 1;
    }
    std::string device;
    if (!ResolvePath("mount", operands[0], &device, io)) return kRefused;
    std::error_code ec;
    if (!fs::exists(device, ec)) {
        io.err += "mount: " + operands[0] + ": special device does not exist\n";
        return 32;
    }
    // The node holds the stick's file-system type ("usb insert"); an empty node takes any type.
    std::string held;
    std::getline(std::ifstream(device), held);
    if (!held.empty() && type != "auto" && held != type) {
        io.err += "mount: " + operands[0] + ": wrong fs type, bad option, bad superblock\n";
        return 32;
    }
    return UpdateState([&](State& state) {
        // Recorded before the stick's files move, so that a power cut between the two leaves a mount
        // the next boot ends, the files going back to the stick.
        state["mount." + operands[1]] = operands[0] + " " + type;
        SaveState(state);
        StickAttach(operands[1]);
        return 0;
    });
}

// umount TARGET: TARGET is the folder or the device of a simulated mount.
int Umount(const Args& args, ToolIo& io) {
    if (args.size() != 2) {
        io.err += "umount: expects one folder or device\n";
        return 1;
    }
    const std::string& target = args[1];
    return UpdateState([&](State& state) {
        for (auto it = state.begin(); it != state.end(); ++it) {
            if (it->first.rfind("mount.", 0) != 0) continue;
            if (it->first.substr(6) == target || it->second.substr(0, it->second.find(' ')) == target) {
                StickDetach(it->first.substr(6));
                state.erase(it);
                return 0;
            }
        }
        io.err += "umount: " + target + ": not mounted\n";
        return 32;
    });
}

void EndMounts() {
    UpdateState([](State& state) {
        for (auto it = state.begin(); it != state.end();) {
            if (it->first.rfind("mount.", 0) != 0) {
                ++it;
                continue;
            }
            StickDetach(it->first.substr(6));
            it = state.erase(it);
        }
        return 0;
    });
}

// The boot-loader environment, kept as "fw_env.NAME" keys of the simulated state.
int FwPrintenv(const Args& args, ToolIo& io) {
    return InspectState([&](const State& state) {
        int status = 0;
        if (args.size() == 1) {
            for (const auto& [key, value] : state)
                if (key.rfind("fw_env.", 0) == 0) io.out += key.substr(7) + "=" + value + "\n";
        }
        for (size_t i = 1; i < args.size(); ++i) {
            auto it = state.find("fw_env." + args[i]);
            if (it == state.end()) {
                io.err += "## Error: \"" + args[i] + "\" not defined\n";
                status = 1;
            } else {
                io.out += args[i] + "=" + it->second + "\n";
            }
        }
        return status;
    });
}

// fw_setenv NAME [VALUE...]: without a value the variable is removed.
int FwSetenv(const Args& args, ToolIo& io) {
    if (args.size() < 2) {
        io.err += "fw_setenv: missing variable name\n";
        return 1;
    }
    return UpdateState([&](State& state) {
        if (args.size() == 2)
            state.erase("fw_env." + args[1]);
        else
            state["fw_env." + args[1]] = Join(args, 2);
        return 0;
    });
}

std::mutex& StateMutex() {
    static std::mutex mutex;
    return mutex;
}

State LoadState() {
    State state;
    std::ifstream file(MapPath("/var/lib/sandbox/state"));
    for (std::string line; std::getline(file, line);) {
        size_t eq = line.find('=');
        if (eq != std::string::npos) state[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return state;
}

void SaveState(const State& state) {
    std::string path = MapPath("/var/lib/sandbox/state");
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    {
        std::ofstream file(path + ".new", std::ios::trunc);
        for (const auto& [key, value] : state)
            file << key << '=' << value << '\n';
    }
    fs::rename(path + ".new", path, ec);
}

}  // namespace plat::sandbox
