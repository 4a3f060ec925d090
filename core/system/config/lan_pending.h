#pragma once
// Interface settings changed remotely but not yet in effect: a changed value waits in its staged field
// with its bit set in the change mask until the pending change is applied. The record is kept in the
// configuration text, so that a change made just before a restart survives it.
#include <cstdint>

namespace core {

struct LanPending {
    // Byte 0 bits 0-6 the seven LAN flags (values in flags bits 0-6), bit 7 the web password; byte 1 bit 0
    // IP, 1 broadcast, 2 mask, 3 gateway, 4 DNS, 5 USB setting, 6 the flag of flags bit 14, 7 GPIB
    // address; byte 2 bit 0 port, 1 the flag of flags bit 17, 2-5 the four RS232 codes.
    uint32_t mask;
    uint32_t flags;  // bits 0-6 LAN_EN, DHCP, VISA, SOCKETS, TELNET, WEB, PW_EN; bits 14, 17 interfaces
    uint32_t usb;    // USB setting (2 bits)
    uint32_t gpibAddress;
    int32_t port;
    uint8_t ip[4];
    uint8_t bcast[4];
    uint8_t netmask[4];
    uint8_t gateway[4];
    uint8_t dns[4];
    uint8_t rs232Baud;  // 0-7
    uint8_t rs232DataBits;
    uint8_t rs232Parity;
    uint8_t rs232StopBits;
    uint32_t password;
};

}  // namespace core

extern core::LanPending g_LanPending;

// A command's staging of one field (its change bit): changed, the staged value waits for the next apply;
// not changed (the value set is the one in force), whatever was staged for the field before is dropped,
// so that the field's last command is the one that counts.
void LanPendingMark(uint32_t bit, bool changed);
