#include "sysadmin/net/net_state.h"

#include <cstring>

#include "core/system/config/lan_cfg.h"
#include "core/system/util/text_util.h"

std::mutex g_LanActualLock;
uint8_t g_LanActual[sysadmin::kLanAddrs][4];
char g_LanActualText[sysadmin::kLanAddrs][16];
char g_LastIpText[16];
char g_NetInfoText[sysadmin::kNetInfoSlots][sysadmin::kNetInfoLen];
sysadmin::NetSeq g_NetSeq;
std::atomic<uint32_t> g_NetMonState{0};

namespace {

// The netconf slots of the four shown addresses.
const char* AddressText(int slot, int actual, const sysadmin::LanCfg& lan, const uint8_t* configured) {
    char* out = g_NetInfoText[slot];
    if (lan.DHCP == 1) {
        std::lock_guard<std::mutex> lock(g_LanActualLock);
        std::memcpy(out, g_LanActualText[actual], sizeof g_LanActualText[actual]);
        out[15] = '\0';
    } else {
        IpToString(out, configured);
    }
    return out;
}

}  // namespace

const char* NetGetIpText() {
    const sysadmin::LanCfg lan = LanCfgRead();
    return AddressText(0, sysadmin::kAddrIp, lan, lan.IP);
}

const char* NetGetMaskText() {
    const sysadmin::LanCfg lan = LanCfgRead();
    return AddressText(1, sysadmin::kAddrMask, lan, lan.MASK);
}

const char* NetGetDnsText() {
    const sysadmin::LanCfg lan = LanCfgRead();
    return AddressText(2, sysadmin::kAddrDns, lan, lan.DNS);
}

const char* NetGetGatewayText() {
    const sysadmin::LanCfg lan = LanCfgRead();
    return AddressText(3, sysadmin::kAddrGw, lan, lan.GW);
}
