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

namespace {

// The netconf slots of the four shown addresses.
const char* AddressText(int slot, int actual, const uint8_t* configured) {
    char* out = g_NetInfoText[slot];
    if (g_LanCfg.DHCP == 1) {
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
    return AddressText(0, sysadmin::kAddrIp, g_LanCfg.IP);
}

const char* NetGetMaskText() {
    return AddressText(1, sysadmin::kAddrMask, g_LanCfg.MASK);
}

const char* NetGetDnsText() {
    return AddressText(2, sysadmin::kAddrDns, g_LanCfg.DNS);
}

const char* NetGetGatewayText() {
    return AddressText(3, sysadmin::kAddrGw, g_LanCfg.GW);
}
