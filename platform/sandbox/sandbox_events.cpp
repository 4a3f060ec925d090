#include "platform/sandbox/sandbox_events.h"

#include <arpa/inet.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/host/root.h"
#include "platform/sandbox/sandbox_state.h"

namespace plat {
namespace {

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

bool IsAddress(const std::string& text) {
    in_addr a{};
    return inet_pton(AF_INET, text.c_str(), &a) == 1;
}

int Fail(std::string* error, const char* usage) {
    *error = usage;
    return -1;
}

// Sysfs stand-ins are whole values: written to a temporary name and renamed over the old one.
void WriteValue(const char* path, const std::string& value) {
    const std::string host = MapPath(path);
    std::ofstream(host + ".new", std::ios::trunc) << value << "\n";
    std::error_code ec;
    std::filesystem::rename(host + ".new", host, ec);
}

}  // namespace

int SandboxNetEvent(const std::string& args, std::string* error) {
    const std::vector<std::string> w = Words(args);
    if (w.size() == 5 && w[0] == "dhcp") {
        for (size_t i = 1; i < 4; ++i)
            if (!IsAddress(w[i])) return Fail(error, "net dhcp IP MASK GW DNS|none");
        if (w[4] != "none" && !IsAddress(w[4])) return Fail(error, "net dhcp IP MASK GW DNS|none");
        return sandbox::UpdateState([&](sandbox::State& state) {
            state["net.lease"] = w[1] + " " + w[2] + " " + w[3] + " " + w[4];
            return 0;
        });
    }
    if (w.size() == 2 && w[0] == "link" && (w[1] == "up" || w[1] == "down")) {
        WriteValue("/sys/class/net/eth0/operstate", w[1]);
        return 0;
    }
    if (w.size() == 2 && w[0] == "avahi" && (w[1] == "none" || IsAddress(w[1]))) {
        return sandbox::UpdateState([&](sandbox::State& state) {
            if (w[1] == "none") {
                state.erase("if.eth0:avahi.addr");
                state.erase("proc.avahi-autoipd");
                return 0;
            }
            state["if.eth0:avahi.addr"] = w[1];
            state["if.eth0:avahi.mask"] = "255.255.0.0";
            state["if.eth0:avahi.bcast"] = "169.254.255.255";
            state["proc.avahi-autoipd"] = "701";
            return 0;
        });
    }
    return Fail(error, "net dhcp IP MASK GW DNS|none, net link up|down or net avahi IP|none");
}

int SandboxUsbEvent(const std::string& args, std::string* error) {
    const std::vector<std::string> w = Words(args);
    if ((w.size() == 2 || w.size() == 3) && w[0] == "insert" && (w[1] == "sda1" || w[1] == "sda")) {
        const std::string type = w.size() == 3 ? w[2] : "vfat";
        if (type.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789") != std::string::npos)
            return Fail(error, "usb insert sda1|sda [TYPE]");
        std::error_code ec;
        std::filesystem::create_directories(MapPath("/dev"), ec);
        WriteValue(("/dev/" + w[1]).c_str(), type);
        return 0;
    }
    if (w.size() == 1 && w[0] == "remove") {
        std::error_code ec;
        std::filesystem::remove(MapPath("/dev/sda1"), ec);
        std::filesystem::remove(MapPath("/dev/sda"), ec);
        return 0;
    }
    if (w.size() == 2 && w[0] == "host" && (w[1] == "on" || w[1] == "off")) {
        WriteValue("/sys/class/udc/musb-hdrc.1.auto/device/info", w[1] == "on" ? "3,1,0,152" : "0,0,0,0");
        return 0;
    }
    return Fail(error, "usb insert sda1|sda [TYPE], usb remove or usb host on|off");
}

}  // namespace plat
