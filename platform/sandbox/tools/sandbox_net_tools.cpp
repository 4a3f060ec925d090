// Simulated network tools: the interface eth0 and its link-local alias (ifconfig), the default route
// (route), the DHCP client (udhcpc, which takes the lease a test or a person offered with the panel
// verb "net dhcp") and the name lookup (nslookup). The addresses are kept in the simulated state as
// "if.<name>.addr/mask/bcast" and "route.default"; the host's network is never looked at.
#include <arpa/inet.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/host/root.h"
#include "platform/sandbox/sandbox_state.h"
#include "platform/sandbox/tools/sandbox_tools.h"

namespace plat::sandbox {
namespace {

std::string Get(const State& state, const std::string& key) {
    auto it = state.find(key);
    return it == state.end() ? std::string() : it->second;
}

bool ValidAddress(const std::string& text) {
    in_addr a{};
    return inet_pton(AF_INET, text.c_str(), &a) == 1;
}

std::string Broadcast(const std::string& addr, const std::string& mask) {
    in_addr a{}, m{};
    if (inet_pton(AF_INET, addr.c_str(), &a) != 1 || inet_pton(AF_INET, mask.c_str(), &m) != 1) return "";
    in_addr b{};
    b.s_addr = a.s_addr | ~m.s_addr;
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &b, text, sizeof text);
    return text;
}

void PrintInterface(const State& state, const std::string& name, std::string& out) {
    out += name + std::string(name.size() < 10 ? 10 - name.size() : 1, ' ') + "Link encap:Ethernet\n";
    const std::string addr = Get(state, "if." + name + ".addr");
    if (!addr.empty())
        out += "          inet addr:" + addr + "  Bcast:" + Get(state, "if." + name + ".bcast") +
               "  Mask:" + Get(state, "if." + name + ".mask") + "\n";
    out += "\n";
}

void SetAddress(State& state, const std::string& name, const std::string& addr, const std::string& mask) {
    state["if." + name + ".addr"] = addr;
    state["if." + name + ".mask"] = mask;
    state["if." + name + ".bcast"] = Broadcast(addr, mask);
}

}  // namespace

// ifconfig [IF [ADDR netmask MASK] [up|down] | IF hw ether MAC]
int Ifconfig(const Args& args, ToolIo& io) {
    return UpdateState([&](State& state) {
        if (args.size() == 1) {
            for (const char* name : {"eth0", "eth0:avahi"})
                if (name == std::string("eth0") || !Get(state, std::string("if.") + name + ".addr").empty())
                    PrintInterface(state, name, io.out);
            return 0;
        }
        const std::string& name = args[1];
        if (name != "eth0" && name != "eth0:avahi") {
            io.err += "ifconfig: " + name + ": error fetching interface information: Device not found\n";
            return 1;
        }
        if (args.size() == 2) {
            if (name != "eth0" && Get(state, "if." + name + ".addr").empty()) {
                io.err += "ifconfig: " + name + ": error fetching interface information: Device not found\n";
                return 1;
            }
            PrintInterface(state, name, io.out);
            return 0;
        }
        if (args.size() == 5 && args[2] == "hw" && args[3] == "ether") {
            std::ofstream(MapPath("/sys/class/net/" + name + "/address"), std::ios::trunc) << args[4] << "\n";
            return 0;
        }
        size_t i = 2;
        if (args[i] != "up" && args[i] != "down") {
            if (args.size() < 5 || args[3] != "netmask" || !ValidAddress(args[2]) || !ValidAddress(args[4])) {
                io.err += "ifconfig: bad address\n";
                return 1;
            }
            SetAddress(state, name, args[2], args[4]);
            i = 5;
        }
        for (; i < args.size(); ++i) {
            if (args[i] != "up" && args[i] != "down") {
                io.err += "ifconfig: unknown option " + args[i] + "\n";
                return 1;
            }
            state["if." + name + ".up"] = args[i] == "up" ? "1" : "0";
        }
        return 0;
    });
}

// route [add default gw GW IF | del default]
int Route(const Args& args, ToolIo& io) {
    return UpdateState([&](State& state) {
        if (args.size() == 1) {
            io.out +=
                "Kernel IP routing table\nDestination     Gateway         Genmask         Flags Metric Ref   "
                " Use Iface\n";
            const std::string gw = Get(state, "route.default");
            if (!gw.empty())
                io.out += "default         " + gw + "    0.0.0.0         UG    0      0        0 eth0\n";
            return 0;
        }
        if (args.size() == 3 && args[1] == "del" && args[2] == "default") {
            if (state.erase("route.default") != 0) return 0;
            io.err += "route: SIOCDELRT: No such process\n";
            return 1;
        }
        if (args.size() >= 5 && args[1] == "add" && args[2] == "default" && args[3] == "gw" &&
            ValidAddress(args[4])) {
            state["route.default"] = args[4];
            return 0;
        }
        io.err += "route: bad arguments\n";
        return 1;
    });
}

// udhcpc: takes the offered lease ("net dhcp"): prints its lease line, sets eth0, the route and
// /etc/resolv.conf, and keeps running in the background. Without an offer it prints nothing.
int Udhcpc(const Args&, ToolIo& io) {
    return UpdateState([&](State& state) {
        state["proc.udhcpc"] = "700";
        std::istringstream lease(Get(state, "net.lease"));
        std::string ip, mask, gw, dns;
        if (!(lease >> ip >> mask >> gw >> dns)) return 0;
        io.out += "udhcpc: lease of " + ip + " obtained, lease time 86400\n";
        SetAddress(state, "eth0", ip, mask);
        state["route.default"] = gw;
        if (dns != "none") {
            std::ofstream(MapPath("/etc/resolv.conf"), std::ios::trunc) << "nameserver " << dns << "\n";
        }
        return 0;
    });
}

// nslookup NAME: the name server comes from /etc/resolv.conf, else the local resolver.
int Nslookup(const Args& args, ToolIo& io) {
    std::ifstream resolv(MapPath("/etc/resolv.conf"));
    std::string server = "127.0.0.1";
    for (std::string line; std::getline(resolv, line);)
        if (line.rfind("nameserver ", 0) == 0) {
            server = line.substr(11, line.find_first_of("\r\n ", 11) - 11);
            break;
        }
    io.out += "Server:    " + server + "\nAddress 1: " + server +
              "\n\nName:      " + (args.size() > 1 ? args[1] : "") + "\nAddress 1: 127.0.0.1 localhost\n";
    return 0;
}

// A program that keeps running in the background once started (avahi-daemon, avahi-autoipd).
int StartProcess(const Args& args, ToolIo&) {
    return UpdateState([&](State& state) {
        const std::string name = std::filesystem::path(args[0]).filename().string();
        state["proc." + name] = name == "avahi-daemon" ? "702" : "701";
        return 0;
    });
}

}  // namespace plat::sandbox
