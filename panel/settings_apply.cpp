#include "panel/settings_apply.h"

#include <cstring>
#include <mutex>

#include "core/params/access/param_access.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/config/lan_pending.h"
#include "storage/nv/config_text.h"

void ApplyAllSettings() {
    // Each setter posts its value again, so the control task writes every register on its next passes,
    // in this order.
    SetOutputMode(GetOutputMode());
    SetVoltRange(GetVoltRangeCode());
    for (int phase = 0; phase < 3; ++phase) {
        SetAcv(GetAcv(phase), phase);
        SetDcv(GetDcv(phase), phase);
        SetMainSrc(GetMainSrc(phase), phase);
        SetWaveform(GetWaveform(phase), phase);
        SetIpkMax(GetIpkMax(phase), phase);
        SetIpkMin(GetIpkMin(phase), phase);
    }
    SetFrequency(GetFrequency_L1());
    SetCurrLimit_L1(GetCurrLimit_L1());
    SetOnPhase(GetOnPhase(0), 0);
    SetOnPhaseState(GetOnPhaseState(0), 0);
    SetOffPhase(GetOffPhase(0), 0);
    SetOffPhaseState(GetOffPhaseState(0), 0);
    SetBalance_L1(0);
    SetPhaseAngle_L2(GetPhaseAngle_L2());
    SetPhaseAngle_L3(GetPhaseAngle_L3());
    SetMainSig(GetMainSig(), 0);
    SetGain_L1(GetGain_L1());  // the gain of the external input
    SetIrmsLimitMode(GetIrmsLimitMode());
    SetIpkLimitMode(GetIpkLimitMode());
    SetRelock(GetRelock());
    SetPeakHoldTime(GetPeakHoldTime());
    SetRemoteSense(GetRemoteSense());
    SetSlewRate(GetSlewRate());
    SetOutputRelay(GetOutputRelay());
    SetExtControl(GetExtControl());
    SetTriggerWidth(GetTriggerWidth());
    SetTriggerSource(GetTriggerSource());
}

namespace {
constexpr uint32_t Bit(uint32_t n) {
    return 1u << n;
}
void CopyIf(uint32_t mask, uint32_t bit, uint8_t* to, const uint8_t* from) {
    if (mask & Bit(bit)) std::memcpy(to, from, 4);
}
}  // namespace

void ApplyPendingIfaceConfig() {
    const core::LanPending p = g_LanPending;
    const uint32_t mask = p.mask;
    if (mask == 0) return;
    {
        std::lock_guard<std::mutex> hold(g_LanCfgLock);
        uint8_t* lanSwitches[7] = {&g_LanCfg.LAN_EN,  &g_LanCfg.DHCP, &g_LanCfg.VISA, &g_LanCfg.SOCKETS,
                                   &g_LanCfg.TELNET, &g_LanCfg.WEB,  &g_LanCfg.PW_EN};
        for (uint32_t i = 0; i < 7; ++i)
            if (mask & Bit(i)) *lanSwitches[i] = (p.flags >> i) & 1u;
        if (mask & Bit(7)) g_LanCfg.PW = p.password;
        CopyIf(mask, 8, g_LanCfg.IP, p.ip);
        CopyIf(mask, 9, g_LanCfg.BCAST, p.bcast);
        CopyIf(mask, 10, g_LanCfg.MASK, p.netmask);
        CopyIf(mask, 11, g_LanCfg.GW, p.gateway);
        CopyIf(mask, 12, g_LanCfg.DNS, p.dns);
        if (mask & Bit(16)) g_LanCfg.PORT = static_cast<uint32_t>(p.port);
    }
    if (mask & Bit(13)) {
        const uint8_t usb = IfaceUsbByte(0);
        IfaceUsbByteSet(0, static_cast<uint8_t>((usb & ~storage::kUsbSpeedMask) |
                                                ((p.usb << storage::kUsbSpeedShift) & storage::kUsbSpeedMask)));
    }
    // Bit 14 stages an interface option that this unit has no setting for: it is dropped with the record.
    if (mask & Bit(15)) std::atomic_ref<uint32_t>(g_IfaceCfg.gpibAddress).store(p.gpibAddress);
    if (mask & Bit(17))
        std::atomic_ref<uint8_t>(g_IfaceCfg.rs232Enable).store((p.flags >> 17) & 1u, std::memory_order_relaxed);
    if (mask & Bit(18)) g_IfaceCfg.rs232Baud = p.rs232Baud;
    if (mask & Bit(19)) g_IfaceCfg.rs232DataBits = p.rs232DataBits;
    if (mask & Bit(20)) g_IfaceCfg.rs232Parity = p.rs232Parity;
    if (mask & Bit(21)) g_IfaceCfg.rs232StopBits = p.rs232StopBits;
    g_LanPending = core::LanPending{};
    SaveSystemConfig();
}
