#pragma once
// The network state beside the LAN settings: the addresses in effect as read back from the operating
// system, the texts of /tmp/netconf, and the words of the network sequencer.
#include <atomic>
#include <cstdint>
#include <mutex>

namespace sysadmin {

enum LanAddr : int { kAddrIp = 0, kAddrBcast = 1, kAddrMask = 2, kAddrGw = 3, kAddrDns = 4, kLanAddrs = 5 };
constexpr int kNetInfoSlots = 14;
constexpr int kNetInfoLen = 64;

// The network sequencer. Requests come from the menu/control and remote threads, the steps run in the
// supervisor loop: a request stores wait and retries before it publishes the step (release).
struct NetSeq {
    std::atomic<uint32_t> step{0};  // 0 idle
    std::atomic<uint32_t> wait{0};
    std::atomic<uint32_t> retries{0};
    std::atomic<uint32_t> linkPoll{200};  // reloaded by NetStateInit on the menu/control thread at start
    uint32_t dhcpRecheck = 1000;
    std::atomic<uint32_t> avahiWatch{0};
    uint32_t avahiPoll = 2000;
    // Written by the supervisor's network monitor, read by the panel.
    std::atomic<int32_t> linkState{0};
    int32_t lastLinkState = 0;
    int32_t avahiState = 0;
    int32_t lastAvahiState = 0;
    std::atomic<uint32_t> addrChanged{0};  // read (and cleared) by the LAN information page
    std::atomic<uint32_t> reapplyReq{0};
};

}  // namespace sysadmin

// The addresses in effect (address, broadcast, netmask, gateway, name server) and their texts, under
// g_LanActualLock: the supervisor reads them back while the panel and remote threads show them.
extern std::mutex g_LanActualLock;
extern uint8_t g_LanActual[sysadmin::kLanAddrs][4];
extern char g_LanActualText[sysadmin::kLanAddrs][16];
extern char g_LastIpText[16];  // the last address seen on eth0 (supervisor loop only)
// One text per key of /tmp/netconf, in the key table's order.
extern char g_NetInfoText[sysadmin::kNetInfoSlots][sysadmin::kNetInfoLen];
extern sysadmin::NetSeq g_NetSeq;
// The network monitor's state word for the panel: 1 while eth0's link is up, else 0; stored after each
// pass of the monitor, so that other threads read it instead of the sequencer's own words.
extern std::atomic<uint32_t> g_NetMonState;

// The address texts shown by the LAN pages: the read-back text under DHCP, else the configured address.
// Each returns its slot of g_NetInfoText.
const char* NetGetIpText();
const char* NetGetMaskText();
const char* NetGetDnsText();
const char* NetGetGatewayText();
