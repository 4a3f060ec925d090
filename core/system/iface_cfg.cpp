#include "core/system/iface_cfg.h"

storage::IfaceCfg g_IfaceCfg;
