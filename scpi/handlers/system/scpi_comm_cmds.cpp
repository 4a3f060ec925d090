// SYSTem:COMMunicate: the LAN addresses and switches, the remote/local state, the RS232 line, the SCPI
// socket port and the USB ports. A set form never touches the interface in force: it stages the value in
// g_LanPending and raises its change bit, and the next start applies the record. The set forms run on the
// menu/control thread, the one that applies the record, so the record needs no lock.
#include <atomic>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <mutex>

#include "core/system/config/identity.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/config/lan_pending.h"
#include "core/system/config/model_table.h"
#include "core/system/links/remote_state.h"
#include "core/system/links/usb_state.h"
#include "core/system/state/output_flags.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/handlers/scpi_refusals.h"
#include "scpi/handlers/scpi_setting_value.h"
#include "scpi/parser/scpi_errors.h"
#include "sysadmin/net/net_addr.h"
#include "sysadmin/net/net_state.h"

namespace scpi {
namespace {

// Change bits of g_LanPending.mask.
enum PendingBit : uint32_t {
    kPendDhcp = 1,
    kPendWebPwEnable = 6,
    kPendWebPassword = 7,
    kPendIp = 8,
    kPendMask = 10,
    kPendGateway = 11,
    kPendDns = 12,
    kPendUsb = 13,
    kPendBaud = 18,
    kPendDataBits = 19,
    kPendParity = 20,
    kPendStopBits = 21,
};

constexpr uint32_t kBaudRates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

int Fail(ScpiInterface* ifc, uint32_t row) {
    scpiSetError(ifc, row);
    return 0;
}

void Stage(PendingBit bit) {
    LanPendingMark(bit, true);
}

// A value equal to the setting in force stages nothing and drops what an earlier command staged for it.
void Unstage(PendingBit bit) {
    LanPendingMark(bit, false);
}

// A staged LAN switch: the flag's bit of the staged flags takes the value, only when it differs from the
// setting in force.
void StageFlag(PendingBit bit, uint8_t inForce, uint32_t on) {
    if ((inForce != 0) == (on != 0)) return Unstage(bit);
    g_LanPending.flags = on != 0 ? (g_LanPending.flags | (1u << bit)) : (g_LanPending.flags & ~(1u << bit));
    Stage(bit);
}

// The RS232 codes are applied on the menu/control thread while an interface thread answers a query.
uint8_t Rs232Code(uint8_t& code) {
    return std::atomic_ref<uint8_t>(code).load(std::memory_order_relaxed);
}

void StageCode(PendingBit bit, uint8_t& staged, uint8_t& inForce, int32_t v) {
    if (Rs232Code(inForce) == static_cast<uint8_t>(v)) return Unstage(bit);
    staged = static_cast<uint8_t>(v);
    Stage(bit);
}

bool Rs232Absent() {
    return g_Rs232Present.load(std::memory_order_acquire) == 0;
}

// The four LAN address commands: the configured address, or the one in effect under DHCP.
int AddressCmd(ScpiInterface* ifc, PendingBit bit, sysadmin::LanAddr actual,
               uint8_t (sysadmin::LanCfg::*configured)[4], uint8_t (&staged)[4]) {
    if (scpiIsQuery(ifc) == 1) {
        const sysadmin::LanCfg cfg = LanCfgRead();
        uint8_t a[4];
        if (cfg.DHCP != 0) {
            std::lock_guard<std::mutex> hold(g_LanActualLock);
            std::memcpy(a, g_LanActual[actual], 4);
        } else {
            std::memcpy(a, cfg.*configured, 4);
        }
        char text[20];
        std::snprintf(text, sizeof text, "%u.%u.%u.%u", a[0], a[1], a[2], a[3]);
        return WriteTextReply(ifc, text), 0;
    }
    if (RemoteSettingBlocked()) return Fail(ifc, RemoteBlockedRow());
    const char* s;
    const int n = scpiGetString(ifc, 0, &s);
    if (n < 0) return Fail(ifc, kScpiErrSystem);
    char text[128];
    if (static_cast<size_t>(n) >= sizeof text) return Fail(ifc, kScpiErrInvalidString);
    std::memcpy(text, s, static_cast<size_t>(n));
    text[n] = '\0';
    uint8_t a[4];
    if (ParseDottedQuad(text, a) != 0) return Fail(ifc, kScpiErrInvalidString);
    // Addresses are staged even when equal: the record then carries the whole static setting.
    std::memcpy(staged, a, 4);
    Stage(bit);
    return 0;
}

}  // namespace

int CmdSystCommLanDhcp(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) return WriteSignedReply(ifc, LanCfgRead().DHCP != 0 ? 1 : 0), 0;
    if (RemoteSettingBlocked()) return Fail(ifc, RemoteBlockedRow());
    int32_t v;
    if (ChoiceOrNumber(ifc, 0, &v) != 0) return Fail(ifc, kScpiErrParameter);
    StageFlag(kPendDhcp, LanCfgRead().DHCP, static_cast<uint32_t>(v) & 1u);
    return 0;
}

int CmdSystCommLanDns(ScpiInterface* ifc) {
    return AddressCmd(ifc, kPendDns, sysadmin::kAddrDns, &sysadmin::LanCfg::DNS, g_LanPending.dns);
}
int CmdSystCommLanGat(ScpiInterface* ifc) {
    return AddressCmd(ifc, kPendGateway, sysadmin::kAddrGw, &sysadmin::LanCfg::GW, g_LanPending.gateway);
}
int CmdSystCommLanIpad(ScpiInterface* ifc) {
    return AddressCmd(ifc, kPendIp, sysadmin::kAddrIp, &sysadmin::LanCfg::IP, g_LanPending.ip);
}
int CmdSystCommLanSmas(ScpiInterface* ifc) {
    return AddressCmd(ifc, kPendMask, sysadmin::kAddrMask, &sysadmin::LanCfg::MASK, g_LanPending.netmask);
}

int CmdSystCommLanMac(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    char mac[sizeof g_MacText + 1] = {};
    IdentityTextRead(g_MacText, sizeof g_MacText, mac);
    for (size_t i = 0; i < sizeof g_MacText && mac[i] != '\0'; ++i) {
        if (mac[i] >= 'a' && mac[i] <= 'f') mac[i] = static_cast<char>(mac[i] - 'a' + 'A');
        if (mac[i] == ':') mac[i] = '-';
    }
    return WriteTextReply(ifc, mac), 0;
}

// Neither web form checks for a parallel slave: the web server runs on every unit.
int CmdSystCommLanWebPact(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) return scpiRefuseHeader(ifc);
    int32_t v;
    if (ChoiceOrNumber(ifc, 0, &v) != 0) return Fail(ifc, kScpiErrSystem);
    StageFlag(kPendWebPwEnable, LanCfgRead().PW_EN, v != 0 ? 1u : 0u);
    return 0;
}

int CmdSystCommLanWebPass(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) return scpiRefuseHeader(ifc);
    int32_t v;
    if (scpiGetInt(ifc, 0, &v) != 0) return Fail(ifc, kScpiErrSystem);
    if (v < 0 || v > 9999) return Fail(ifc, kScpiErrDataOutOfRange);
    if (LanCfgRead().PW == static_cast<uint32_t>(v)) return Unstage(kPendWebPassword), 0;
    g_LanPending.password = static_cast<uint32_t>(v);
    Stage(kPendWebPassword);
    return 0;
}

int CmdSystCommRlst(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) {
        static constexpr const char* kNames[] = {"LOC", "REM", "RWL", "LREM"};
        const uint32_t state = RemoteStateGet();
        if (state == kRemoteLocal) OutputFlagClear(kOutFlagRemote);
        return WriteTextReply(ifc, kNames[state & 3u]), 0;
    }
    int32_t v;
    if (ChoiceOrNumber(ifc, 0, &v) != 0) return Fail(ifc, kScpiErrSystem);
    if (v < 0 || v > 3) return Fail(ifc, kScpiErrDataOutOfRange);
    if (v == 0)
        OutputFlagClear(kOutFlagRemote);
    else
        OutputFlagSet(kOutFlagRemote);
    RemoteStateSet(static_cast<uint32_t>(v));
    return 0;
}

int CmdSystCommSerBaud(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) {
        if (Rs232Absent()) return Fail(ifc, kScpiErrExecution);
        const uint8_t code = Rs232Code(g_IfaceCfg.rs232Baud);
        if (code >= std::size(kBaudRates)) return Fail(ifc, kScpiErrQueryUnterm);
        char text[12];
        std::snprintf(text, sizeof text, "%u", kBaudRates[code]);
        return WriteTextReply(ifc, text), 0;
    }
    if (RemoteSettingBlocked()) return Fail(ifc, RemoteBlockedRow());
    int32_t v;
    if (scpiGetInt(ifc, 0, &v) != 0) return Fail(ifc, kScpiErrParameter);
    if (Rs232Absent()) return Fail(ifc, kScpiErrExecution);
    int32_t code = -1;
    for (size_t i = 0; i < std::size(kBaudRates); ++i)
        if (static_cast<int64_t>(v) == kBaudRates[i]) code = static_cast<int32_t>(i);
    // A rate off the list is refused, not rounded to a neighbour.
    if (code < 0) return Fail(ifc, kScpiErrParameter);
    StageCode(kPendBaud, g_LanPending.rs232Baud, g_IfaceCfg.rs232Baud, code);
    return 0;
}

namespace {
int SerCodeCmd(ScpiInterface* ifc, bool choiceToo, int32_t max, PendingBit bit, uint8_t& staged,
               uint8_t& inForce) {
    if (scpiIsQuery(ifc) == 1) {
        if (Rs232Absent()) return Fail(ifc, kScpiErrExecution);
        return WriteSignedReply(ifc, Rs232Code(inForce)), 0;
    }
    if (RemoteSettingBlocked()) return Fail(ifc, RemoteBlockedRow());
    int32_t v;
    const bool read = choiceToo ? ChoiceOrNumber(ifc, 0, &v) == 0 : scpiGetInt(ifc, 0, &v) == 0;
    if (!read) return Fail(ifc, kScpiErrParameter);
    if (Rs232Absent()) return Fail(ifc, kScpiErrExecution);
    if (v < 0 || v > max) return Fail(ifc, kScpiErrDataOutOfRange);
    StageCode(bit, staged, inForce, v);
    return 0;
}
}  // namespace

int CmdSystCommSerBits(ScpiInterface* ifc) {
    return SerCodeCmd(ifc, false, 1, kPendDataBits, g_LanPending.rs232DataBits, g_IfaceCfg.rs232DataBits);
}
int CmdSystCommSerPar(ScpiInterface* ifc) {
    return SerCodeCmd(ifc, true, 2, kPendParity, g_LanPending.rs232Parity, g_IfaceCfg.rs232Parity);
}
int CmdSystCommSerSbit(ScpiInterface* ifc) {
    return SerCodeCmd(ifc, false, 1, kPendStopBits, g_LanPending.rs232StopBits, g_IfaceCfg.rs232StopBits);
}

int CmdSystCommTcpCont(ScpiInterface* ifc) {
    // The socket the client talks through cannot be moved from under it.
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    char text[12];
    std::snprintf(text, sizeof text, "%u", LanCfgRead().PORT);
    return WriteTextReply(ifc, text), 0;
}

int CmdSystCommUsbFronStat(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    return WriteSignedReply(ifc, (g_UsbState.statusC.load(std::memory_order_acquire) & 1u) != 0 ? 1 : 0), 0;
}

int CmdSystCommUsbRearStat(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    return WriteSignedReply(ifc, (g_UsbState.statusC.load(std::memory_order_acquire) & 6u) != 0 ? 1 : 0), 0;
}

int CmdSystCommUsbRearMode(ScpiInterface* ifc) {
    const uint32_t speed = (IfaceUsbByte(0) & storage::kUsbSpeedMask) >> storage::kUsbSpeedShift;
    if (scpiIsQuery(ifc) == 1) return WriteSignedReply(ifc, speed != 0 ? 1 : 0), 0;
    int32_t v;
    if (ChoiceOrNumber(ifc, 0, &v) != 0) return Fail(ifc, kScpiErrSystem);
    // Full speed is the only mode the rear port can be given remotely.
    if (v != 1) return Fail(ifc, kScpiErrDataOutOfRange);
    if (speed == 1) return 0;
    g_LanPending.usb = 1;
    Stage(kPendUsb);
    return 0;
}

}  // namespace scpi
