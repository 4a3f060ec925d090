#include "sysadmin/net/net_files.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>

#include "core/system/config/identity.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/config/model_table.h"
#include "core/system/util/text_util.h"
#include "platform/sandbox/sandbox.h"
#include "sysadmin/net/net_addr.h"
#include "sysadmin/net/net_state.h"
#include "sysadmin/text_file.h"

namespace {

using sysadmin::kNetInfoLen;
using sysadmin::kNetInfoSlots;

constexpr const char* kNetconf = "/tmp/netconf";
constexpr const char* kResolv = "/etc/resolv.conf";
constexpr char kSearchDomain[] = "localdomain";

enum Slot { kIp = 0, kMask = 1, kDns = 2, kGw = 3, kMac = 4, kHostname = 13 };

constexpr const char* kKeys[kNetInfoSlots] = {
    "IPADDR=", "NETMASK=", "DNS=",          "GATEWAY=",       "MACADDR=",     "INSTNAME=", "PASSWORD=",
    "DOMAIN=", "PORT=",    "Manufacturer=", "Serial_Number=", "Description=", "Firmware=", "Hostname=",
};

void SetSlot(int slot, const std::string& text) {
    std::snprintf(g_NetInfoText[slot], kNetInfoLen, "%s", text.c_str());
}

std::string Identity(const char* text, size_t size) {
    std::string out(size + 1, '\0');
    IdentityTextRead(text, size, out.data());
    return out.c_str();
}

std::string Address(int actual, const sysadmin::LanCfg& lan, const uint8_t* configured) {
    char text[17] = {};
    if (lan.DHCP == 1) {
        std::lock_guard<std::mutex> lock(g_LanActualLock);
        std::memcpy(text, g_LanActualText[actual], 16);
    } else {
        IpToString(text, configured);
    }
    return text;
}

}  // namespace

const char* LanManufacturerText() {
    static constexpr const char* kMaker[] = {"QX-ORVANE", "TULVE", "PELMA"};
    const uint32_t brand = g_BrandId.load();
    return kMaker[brand < 3 ? brand : 0];
}

const char* NetconfBuild() {
    const std::string model = Identity(g_ModelName, sizeof g_ModelName);
    char pw[8];
    const sysadmin::LanCfg lan = LanCfgRead();
    const uint32_t p = lan.PW;
    if (lan.PW_EN)
        std::snprintf(pw, sizeof pw, "%u%u%u%u", p / 1000 % 10, p / 100 % 10, p / 10 % 10, p % 10);
    else
        std::snprintf(pw, sizeof pw, "0000");
    SetSlot(kIp, Address(sysadmin::kAddrIp, lan, lan.IP));
    SetSlot(kMask, Address(sysadmin::kAddrMask, lan, lan.MASK));
    SetSlot(kDns, Address(sysadmin::kAddrDns, lan, lan.DNS));
    SetSlot(kGw, Address(sysadmin::kAddrGw, lan, lan.GW));
    SetSlot(kMac, Identity(g_MacText, sizeof g_MacText));
    SetSlot(5, model);
    SetSlot(6, pw);
    {
        std::lock_guard<std::mutex> lock(g_LanActualLock);
        SetSlot(7, std::string(g_LanActualText[sysadmin::kAddrBcast], 16).c_str());
    }
    SetSlot(8, "80");
    SetSlot(9, LanManufacturerText());
    SetSlot(10, Identity(g_SerialNo, sizeof g_SerialNo));
    SetSlot(11, std::string(LanManufacturerText()) + "," + model);
    SetSlot(12, kLanFirmwareText);
    SetSlot(kHostname, std::string(lan.HOSTNAME, strnlen(lan.HOSTNAME, sizeof lan.HOSTNAME)));
    return g_NetInfoText[kHostname];
}

int NetconfWrite() {
    std::string mac = Identity(g_MacText, sizeof g_MacText);
    for (char& c : mac)
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    SetSlot(kMac, mac);
    std::string text;
    // The network script reads one KEY=value a line: a value with a control character (a line feed
    // would add a line of its own) is left out, its key kept.
    for (int slot = 0; slot < kNetInfoSlots; ++slot)
        text += std::string(kKeys[slot]) +
                (TextHasControl(g_NetInfoText[slot], kNetInfoLen) ? "" : g_NetInfoText[slot]) + "\n";
    if (TextFileWrite(kNetconf, text) != 0) return -1;
    plat::System("sync");
    return 0;
}

int NetconfRead() {
    std::string text;
    if (!TextFileRead(kNetconf, &text, 64 * 1024)) return -1;
    std::istringstream in(text);
    int matched = 0;
    for (std::string line; matched < kNetInfoSlots && std::getline(in, line);) {
        line.resize(std::min<size_t>(line.size(), 128));
        for (int slot = 0; slot < kNetInfoSlots; ++slot) {
            if (line.find(kKeys[slot]) == std::string::npos) continue;
            const size_t eq = line.find('=');
            std::string value = line.substr(eq + 1);
            value.resize(std::min({value.find_first_of(",\n"), value.size(), size_t{63}}));
            SetSlot(slot, value);
            ++matched;
            break;
        }
    }
    std::lock_guard<std::mutex> hold(g_LanCfgLock);
    ParseDottedQuadLoose(g_NetInfoText[kIp], g_LanCfg.IP);
    ParseDottedQuadLoose(g_NetInfoText[kMask], g_LanCfg.MASK);
    ParseDottedQuadLoose(g_NetInfoText[kDns], g_LanCfg.DNS);
    ParseDottedQuadLoose(g_NetInfoText[kGw], g_LanCfg.GW);
    return 0;
}

int ResolvConfWrite() {
    char dns[16];
    IpToString(dns, LanCfgRead().DNS);
    return TextFileWrite(kResolv, std::string("search ") + kSearchDomain + "\r\nnameserver " + dns + "\r\n");
}

int ResolvConfReadDns() {
    std::string text;
    if (!TextFileRead(kResolv, &text, 64 * 1024)) return -1;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        line.resize(std::min<size_t>(line.size(), 128));
        if (line.find("nameserver") == std::string::npos) continue;
        const char* digit = FindFirstDigit(line.c_str(), 16);
        if (digit == nullptr || *digit < '0' || *digit > '9') return -1;
        std::lock_guard<std::mutex> hold(g_LanCfgLock);
        ParseDottedQuadLoose(digit, g_LanCfg.DNS);
        return 0;
    }
    return -1;
}
