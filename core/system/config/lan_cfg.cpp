#include "core/system/lan_cfg.h"

sysadmin::LanCfg g_LanCfg;
