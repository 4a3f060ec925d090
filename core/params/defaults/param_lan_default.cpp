#include <atomic>

#include "core/params/defaults/param_init.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/lan_cfg.h"

namespace {
template <typename T>
void Store(T& word, T value) {
    std::atomic_ref<T>(word).store(value, std::memory_order_relaxed);
}
}  // namespace

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

    // The GUI thread reads these words while a default setting runs on the supervisor: each is written
    // whole, as an atomic store.
    storage::IfaceCfg& cfg = g_IfaceCfg;
    Store(cfg.gpibAddress, 10u);
    Store(cfg.canopenBaud, 0u);
    Store(cfg.canopenNodeId, 127u);
    Store(cfg.devicenetBaud, 0u);
    Store(cfg.devicenetMacId, 63u);
    Store(cfg.rs232Enable, uint8_t{1});
    Store(cfg.rs232Baud, uint8_t{3});
    Store(cfg.rs232DataBits, uint8_t{1});
    Store(cfg.rs232Parity, uint8_t{0});
    Store(cfg.rs232StopBits, uint8_t{0});
}
