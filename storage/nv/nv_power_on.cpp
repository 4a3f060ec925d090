#include "storage/nv/nv_power_on.h"

#include <atomic>
#include <cstring>
#include <mutex>

#include "core/params/param_store.h"
#include "core/system/config/iface_cfg.h"

using namespace core;

namespace {

constexpr int kIpkLimitMode = -1;  // the peak-current limit mode kept in unit 0's tail

// One power-on byte that is a setting record: its offset in block 0, the record, and whether it is
// sign-extended when applied.
struct PowerOnByte {
    uint8_t pos;
    int16_t global;  // index into g_ParamStore.global, or kIpkLimitMode
    bool isSigned;
};

constexpr PowerOnByte kPowerOnBytes[] = {
    {58, kGlbPeakClearItem, true},  {59, kGlbPowerOnState, true},    {60, kGlbBuzzer, true},
    {61, kGlbRemoteSense, true},    {62, kGlbSlewRate, true},        {63, kGlbOutputRelay, true},
    {64, kGlbHarmMode, true},       {65, kGlbExtControl, true},      {66, kGlbAcvUnit, true},
    {68, kGlbPhaseSetChange, true}, {69, kGlbMonitorSrc1, true},     {70, kGlbMonitorSrc2, true},
    {71, kGlbMonitorAmp, true},     {72, kGlbIrmsLimitMode, true},   {73, kIpkLimitMode, true},
    {74, kGlbRelock, true},         {81, kGlbOutputImpedance, true}, {82, kGlbBalanceMode, true},
    {84, kGlbAvgCount, false},      {85, kGlbUpdateRate, false},     {86, kGlbParallelPosition, true},
    {87, kGlbParallelEnable, true}, {88, kGlbParallelNumber, false}, {93, kGlbTrigSource, false},
};
// The u32 records from byte 108: inductance L1-L3, resistance L1-L3.
constexpr ParamGlobal kImpedanceWords[6] = {kGlbInductanceL1, kGlbInductanceL2, kGlbInductanceL3,
                                            kGlbResistanceL1, kGlbResistanceL2, kGlbResistanceL3};
constexpr int kPosFirst = 58;

ParamRec& RecordOf(int16_t global) {
    return global == kIpkLimitMode ? g_ParamStore.unit[0].ipkLimitMode : g_ParamStore.global[global];
}

uint8_t& PowerOn(IdentityBlock& b, int pos) {
    return b.powerOn[pos - kPosFirst];
}

}  // namespace

IdentityBlock CollectPowerOn(bool defaults) {
    IdentityBlock b;
    {
        std::lock_guard<std::mutex> lock(g_ParamLock);
        auto pick = [defaults](const ParamRec& r) { return defaults ? r.defaultValue : r.value; };
        for (const PowerOnByte& p : kPowerOnBytes)
            PowerOn(b, p.pos) = static_cast<uint8_t>(pick(RecordOf(p.global)));
        b.peakHoldTime = static_cast<uint32_t>(pick(g_ParamStore.global[kGlbPeakHoldTime]));
        b.trigWidth = static_cast<uint32_t>(pick(g_ParamStore.global[kGlbTrigWidth]));
        for (int i = 0; i < 6; ++i)
            b.lr[i] = pick(g_ParamStore.global[kImpedanceWords[i]]);
    }
    // A reset on the supervisor thread sets the RS232 enable and USB bits while a save runs here.
    PowerOn(b, 75) = std::atomic_ref<uint8_t>(g_IfaceCfg.rs232Enable).load(std::memory_order_relaxed);
    PowerOn(b, 76) = g_IfaceCfg.rs232Baud;
    PowerOn(b, 77) = g_IfaceCfg.rs232DataBits;
    PowerOn(b, 78) = g_IfaceCfg.rs232Parity;
    PowerOn(b, 79) = g_IfaceCfg.rs232StopBits;
    PowerOn(b, 80) = static_cast<uint8_t>(g_IfaceCfg.gpibAddress);
    PowerOn(b, 89) = static_cast<uint8_t>(g_IfaceCfg.canopenBaud);
    PowerOn(b, 90) = static_cast<uint8_t>(g_IfaceCfg.canopenNodeId);
    PowerOn(b, 91) = static_cast<uint8_t>(g_IfaceCfg.devicenetBaud);
    PowerOn(b, 92) = static_cast<uint8_t>(g_IfaceCfg.devicenetMacId);
    b.usbWord = IfaceUsbWord();
    return b;  // byte 67 (delete-all) and byte 83 stay 0
}

void StorePowerOn(const IdentityBlock& from) {
    IdentityBlockEdit(
        [&from](IdentityBlock& b) {
            std::memcpy(b.powerOn, from.powerOn, sizeof b.powerOn);
            b.peakHoldTime = from.peakHoldTime;
            b.usbWord = from.usbWord;
            b.trigWidth = from.trigWidth;
            std::memcpy(b.lr, from.lr, sizeof b.lr);
        },
        false);
}

void ApplyPowerOn(IdentityBlock& b) {
    {
        std::lock_guard<std::mutex> lock(g_ParamLock);
        for (const PowerOnByte& p : kPowerOnBytes) {
            const uint8_t raw = PowerOn(b, p.pos);
            RecordOf(p.global).value = p.isSigned ? static_cast<int8_t>(raw) : raw;
        }
        g_ParamStore.global[kGlbPeakHoldTime].value = static_cast<int32_t>(b.peakHoldTime);
        g_ParamStore.global[kGlbTrigWidth].value = static_cast<int32_t>(b.trigWidth);
        for (int i = 0; i < 6; ++i)
            g_ParamStore.global[kImpedanceWords[i]].value = b.lr[i];
    }
    std::atomic_ref<uint8_t>(g_IfaceCfg.rs232Enable).store(PowerOn(b, 75), std::memory_order_relaxed);
    g_IfaceCfg.rs232Baud = PowerOn(b, 76);
    g_IfaceCfg.rs232DataBits = PowerOn(b, 77);
    g_IfaceCfg.rs232Parity = PowerOn(b, 78);
    g_IfaceCfg.rs232StopBits = PowerOn(b, 79);
    g_IfaceCfg.gpibAddress = static_cast<uint32_t>(static_cast<int8_t>(PowerOn(b, 80)));
    g_IfaceCfg.canopenBaud = static_cast<uint32_t>(static_cast<int8_t>(PowerOn(b, 89)));
    g_IfaceCfg.canopenNodeId = PowerOn(b, 90);
    g_IfaceCfg.devicenetBaud = static_cast<uint32_t>(static_cast<int8_t>(PowerOn(b, 91)));
    g_IfaceCfg.devicenetMacId = PowerOn(b, 92);
    for (int i = 0; i < 4; ++i)
        IfaceUsbByteSet(i, static_cast<uint8_t>(b.usbWord >> (8 * i)));
}

void SpecialDataPack() {
    StorePowerOn(CollectPowerOn(true));
}
