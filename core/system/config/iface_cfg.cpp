#include "core/system/config/iface_cfg.h"

storage::IfaceCfg g_IfaceCfg;

void SetLcdAdjust0(uint8_t percent) {
    IfaceLcdByteSet(0, percent);
}
void SetLcdAdjust1(uint8_t percent) {
    IfaceLcdByteSet(1, percent);
}
void SetLcdAdjust2(uint8_t percent) {
    IfaceLcdByteSet(2, percent);
}
