#include "sysadmin/net/net_commands.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "core/system/util/text_util.h"
#include "platform/sandbox/sandbox.h"
#include "storage/nv/nv_blocks.h"
#include "sysadmin/text_file.h"

namespace {

constexpr size_t kSerialLen = sizeof g_SerialNo;
constexpr size_t kMacLen = sizeof g_MacText;

// The serial number, terminated: its field need not hold a NUL.
std::string Serial() {
    char text[kSerialLen + 1] = {};
    IdentityTextRead(g_SerialNo, kSerialLen, text);
    return text;
}

std::string MacText() {
    char text[kMacLen + 1] = {};
    IdentityTextRead(g_MacText, kMacLen, text);
    return text;
}

bool OnlyOf(const std::string& text, bool (*allowed)(unsigned char)) {
    for (unsigned char c : text)
        if (!allowed(c)) return false;
    return true;
}

bool HostChar(unsigned char c) {
    return std::isalnum(c) != 0 || c == '-';
}

bool MacChar(unsigned char c) {
    return std::isxdigit(c) != 0 || c == ':';
}

}  // namespace

int NetIfconfigCmdBuild(char* buf, size_t n, const sysadmin::LanCfg& cfg) {
    char ip[16], mask[16];
    IpToString(ip, cfg.IP);
    IpToString(mask, cfg.MASK);
    const int len = std::snprintf(buf, n, "ifconfig eth0 %s netmask %s\n", ip, mask);
    return len < 0 || static_cast<size_t>(len) >= n ? -1 : len;
}

int NetIfconfigApply() {
    char cmd[128];
    if (NetIfconfigCmdBuild(cmd, sizeof cmd, LanCfgRead()) < 0) return -1;
    return plat::System(cmd);
}

int NetIfUp() {
    char ip[16], mask[16], cmd[128];
    const sysadmin::LanCfg lan = LanCfgRead();
    IpToString(ip, lan.IP);
    IpToString(mask, lan.MASK);
    std::snprintf(cmd, sizeof cmd, "ifconfig eth0 %s netmask %s up", ip, mask);
    return plat::System(cmd);
}

int NetIfDown() {
    return plat::System("ifconfig eth0 down");
}

int RouteSetDefault() {
    char gw[16], cmd[64];
    plat::System("route del default");
    plat::System("sync");
    IpToString(gw, LanCfgRead().GW);
    std::snprintf(cmd, sizeof cmd, "route add default gw %s eth0", gw);
    return plat::System(cmd);
}

int HostnameBuild(char out[16]) {
    char model[sizeof g_ModelName + 1] = {};
    IdentityTextRead(g_ModelName, sizeof g_ModelName, model);
    const std::string serial = Serial();
    std::string name(1, model[0]);
    name += '-';
    if (serial.size() >= 2)
        name += serial.substr(2);
    else if (serial.size() == 1)
        name += serial;
    // The serial is settable remotely: a name that is not a plain host name never reaches the shell.
    if (model[0] == '\0' || !OnlyOf(name, HostChar)) return -1;
    name.resize(std::min<size_t>(name.size(), 15));
    std::memcpy(out, name.c_str(), name.size() + 1);
    return 0;
}

int HostnameApply() {
    // A held block 0 leaves the unit without its model and serial: the name the configuration text keeps
    // stays in force rather than one built from no identity, which the next save would store over it.
    if (NvBlockHeld(0)) return -1;
    char name[16] = {};
    if (HostnameBuild(name) != 0) return -1;
    {
        std::lock_guard<std::mutex> hold(g_LanCfgLock);
        std::memcpy(g_LanCfg.HOSTNAME, name, sizeof name);
    }
    const std::string cmd = std::string("hostname ") + name + "\n";
    return plat::System(cmd.c_str());
}

int MacTextNormalise() {
    std::string mac = MacText();
    mac.resize(std::min(mac.find_first_of("\r\n"), mac.size()));
    for (char& c : mac)
        if (c == '-') c = ':';
    IdentityTextWrite(g_MacText, kMacLen, mac.c_str(), mac.size());
    return mac.size() > 5 ? 0 : -1;
}

int SetMacAddress() {
    if (MacTextNormalise() != 0) return -1;
    const std::string mac = MacText();
    if (!OnlyOf(mac, MacChar)) return -1;
    const std::string cmd = "ifconfig eth0 hw ether " + mac + "\n";
    const int status = plat::System(cmd.c_str());
    plat::System("sync");
    return status == 0 ? 0 : -1;
}

int ReadMacAddress() {
    std::string text;
    if (!TextFileRead("/sys/class/net/eth0/address", &text, 18)) return -1;
    text.resize(std::min(text.find_first_of("\r\n"), text.size()));
    IdentityTextWrite(g_MacText, kMacLen, text.c_str(), text.size());
    return 0;
}
