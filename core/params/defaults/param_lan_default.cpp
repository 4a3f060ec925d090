#include "core/params/defaults/param_init.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/lan_cfg.h"

void LanSetDefault() {
    std::unique_lock<std::mutex> hold(g_LanCfgLock);
    sysadmin::LanCfg& lan = g_LanCfg;
    lan.LAN_EN = 1;
    lan.DHCP = 1;
    lan.SOCKETS = 1;
    const uint8_t ip[4] = {172, 16, 28, 120}, mask[4] = {255, 255, 128, 0}, gw[4] = {172, 16, 0, 254},
                  dns[4] = {172, 16, 1, 252};
    for (int i = 0; i < 4; ++i) {
        lan.IP[i] = ip[i];
        lan.MASK[i] = mask[i];
        lan.GW[i] = gw[i];
        lan.DNS[i] = dns[i];
    }
    lan.PORT = 5025;
    hold.unlock();

    storage::IfaceCfg& cfg = g_IfaceCfg;
    cfg.gpibAddress = 10;
    cfg.canopenBaud = 0;
    cfg.canopenNodeId = 127;
    cfg.devicenetBaud = 0;
    cfg.devicenetMacId = 63;
    cfg.rs232Enable = 1;
    cfg.rs232Baud = 3;
    cfg.rs232DataBits = 1;
    cfg.rs232Parity = 0;
    cfg.rs232StopBits = 0;
}
