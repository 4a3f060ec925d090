#pragma once
// The LAN settings record, persisted as keys of the configuration text and applied to the operating system.
#include <cstdint>
#include <mutex>

namespace sysadmin {

struct LanCfg {
    uint8_t LAN_EN;  // LAN enabled
    uint8_t DHCP;    // addresses from DHCP, else static
    uint8_t VISA;
    uint8_t SOCKETS;  // SCPI socket enabled
    uint8_t TELNET;
    uint8_t WEB;    // web server enabled
    uint8_t PW_EN;  // web password required
    uint32_t PW;    // web password, 4 decimal digits
    uint8_t IP[4];  // most significant octet first
    uint8_t BCAST[4];
    uint8_t MASK[4];
    uint8_t GW[4];
    uint8_t DNS[4];
    char HOSTNAME[16];
    uint32_t PORT;  // SCPI socket port
};

}  // namespace sysadmin

extern sysadmin::LanCfg g_LanCfg;
// The record is rewritten while other threads read it (the start-up load on the menu/control thread, a
// factory default and the network read-back on the supervisor thread; the timer thread answers the
// parallel master with the address): a writer changes it under g_LanCfgLock, and a reader takes a whole
// copy under the same lock through LanCfgRead, so that none gets a record half old and half new.
extern std::mutex g_LanCfgLock;
sysadmin::LanCfg LanCfgRead();
