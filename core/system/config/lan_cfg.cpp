#include "core/system/config/lan_cfg.h"

sysadmin::LanCfg g_LanCfg;
