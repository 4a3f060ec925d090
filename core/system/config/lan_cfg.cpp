#include "core/system/config/lan_cfg.h"

sysadmin::LanCfg g_LanCfg;
std::mutex g_LanCfgLock;

sysadmin::LanCfg LanCfgRead() {
    std::lock_guard<std::mutex> hold(g_LanCfgLock);
    return g_LanCfg;
}
