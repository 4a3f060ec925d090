#include "sysadmin/lan_cfg.h"

sysadmin::LanCfg g_LanCfg;
