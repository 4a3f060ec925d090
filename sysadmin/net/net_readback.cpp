#include "sysadmin/net/net_readback.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "sysadmin/command_output.h"
#include "sysadmin/net/net_addr.h"
#include "sysadmin/net/net_state.h"
#include "sysadmin/text_file.h"

namespace {

constexpr size_t kLineMax = 128;

// The address after key in line, from pos on; pos moves past the key. False when the key is missing.
bool AddressAfter(const std::string& line, const char* key, size_t* pos, char out[17]) {
    const size_t at = line.find(key, *pos);
    if (at == std::string::npos) return false;
    *pos = at + std::strlen(key);
    if (IpTextExtract(line.c_str() + *pos, out, line.size() - *pos) == 0) out[0] = '\0';
    return true;
}

int ReadBack(const char* command, bool alias) {
    std::string line;
    if (!CommandFirstLine(command, &line, kLineMax)) return -1;
    char addr[sysadmin::kLanAddrs][17] = {};
    size_t pos = 0;
    if (AddressAfter(line, "inet addr:", &pos, addr[sysadmin::kAddrIp])) {
        if (!alias) std::memcpy(g_LastIpText, addr[sysadmin::kAddrIp], sizeof g_LastIpText);
        if (AddressAfter(line, "Bcast:", &pos, addr[sysadmin::kAddrBcast]))
            AddressAfter(line, "Mask:", &pos, addr[sysadmin::kAddrMask]);
    }
    if (CommandFirstLine("route | grep default", &line, kLineMax)) {
        pos = 0;
        AddressAfter(line, "default", &pos, addr[sysadmin::kAddrGw]);
    }
    std::string resolv;
    TextFileRead("/etc/resolv.conf", &resolv, kLineMax);
    pos = 0;
    if (!resolv.empty()) {
        AddressAfter(resolv, "nameserver", &pos, addr[sysadmin::kAddrDns]);
    } else {
        if (!CommandFirstLine("nslookup localhost | grep 'Server:'", &line, kLineMax)) return -1;
        AddressAfter(line, "Server:", &pos, addr[sysadmin::kAddrDns]);
    }
    std::lock_guard<std::mutex> lock(g_LanActualLock);
    for (int i = 0; i < sysadmin::kLanAddrs; ++i) {
        std::memcpy(g_LanActualText[i], addr[i], 16);
        ParseDottedQuadLoose(addr[i], g_LanActual[i]);
    }
    return 0;
}

}  // namespace

int LinkOperState() {
    std::string text;
    if (!TextFileRead("/sys/class/net/eth0/operstate", &text, 16)) return 2;
    if (text.empty()) return -1;
    text.resize(std::min(text.find('\n'), text.size()));
    if (text == "up") return 1;
    if (text == "down") return 0;
    if (text == "unknown") return 2;
    return -2;
}

int AvahiAddrPresent() {
    std::string line;
    return CommandFirstLine("ifconfig | grep 'eth0:avahi'", &line, kLineMax) ? 1 : 0;
}

int NetReadBack() {
    return ReadBack("ifconfig eth0 | grep 'inet addr:'", false);
}

int NetReadBackAvahi() {
    return ReadBack("ifconfig eth0:avahi | grep 'inet addr:'", true) == 0 ? 1 : 0;
}

int NetAddrChanged() {
    std::string line;
    if (!CommandFirstLine("ifconfig eth0 | grep 'inet addr:'", &line, kLineMax)) return -1;
    const size_t at = line.find("inet addr:");
    char addr[17] = {};
    if (at == std::string::npos) return 0;
    const size_t len = IpTextExtract(line.c_str() + at + 10, addr, line.size() - at - 10);
    if (len == 0 || std::strncmp(addr, g_LastIpText, len) == 0) return 0;
    std::memcpy(g_LastIpText, addr, sizeof g_LastIpText);
    return 1;
}
