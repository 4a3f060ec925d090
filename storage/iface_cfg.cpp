#include "storage/iface_cfg.h"

storage::IfaceCfg g_IfaceCfg;
