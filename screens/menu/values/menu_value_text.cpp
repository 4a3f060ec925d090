#include "screens/menu/values/menu_value_text.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "core/control/barcode_table.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/config/identity.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/links/usb_state.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "core/system/util/format_number.h"
#include "panel/draw/value_format.h"
#include "panel/menu/menu_page_words.h"
#include "platform/stage/wiring_codes.h"
#include "sysadmin/net/net_state.h"

namespace menu {
namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr int kLanAddrSlot[4] = {sysadmin::kAddrIp, sysadmin::kAddrMask, sysadmin::kAddrGw,
                                 sysadmin::kAddrDns};
// The units of the Output Impedance values: the font's micro and ohm glyphs.
constexpr const char* kUnits[] = {nullptr, "\xB4H", "\xB5"};

void Put(char* out, size_t size, const char* text) {
    std::snprintf(out, size, "%s", text);
}

void Int(char* out, size_t size, int64_t value) {
    std::snprintf(out, size, "%lld", static_cast<long long>(value));
}

void Number(const ValueRow& row, int32_t value, char* out, size_t size) {
    ParamRec rec{};
    paramGetRecord(row.select + 1u, &rec, 0);
    char text[kNumberTextSize];
    const char* unit = row.arg < std::size(kUnits) ? kUnits[row.arg] : nullptr;
    FormatNumber(0, text, rec.decimals, unit, static_cast<float>(value) * rec.scale);
    Put(out, size, text);
}

bool Slave() {
    return paramGetValue(kParamParallelPosition, 0) == 0;
}

void BarcodeText(int slot, char* out, size_t size) {
    char text[kBarcodeTextLen + 1] = {};
    if (slot >= 0 && slot < kBarcodeActions) {
        std::lock_guard<std::mutex> lock(g_BarcodeLock);
        std::memcpy(text, g_BarcodeTable.rows[slot + 1], kBarcodeTextLen);
    }
    Put(out, size, text);
}

uint8_t Rs232Byte(int which) {
    uint8_t* bytes[4] = {&g_IfaceCfg.rs232Baud, &g_IfaceCfg.rs232DataBits, &g_IfaceCfg.rs232Parity,
                         &g_IfaceCfg.rs232StopBits};
    return std::atomic_ref<uint8_t>(*bytes[which & 3]).load(kRelaxed);
}

uint32_t IfaceWord(uint32_t& word) {
    return std::atomic_ref<uint32_t>(word).load(kRelaxed);
}

// The text a source shows for value v where the value is one number.
void TextOfValue(const ValueRow& row, int64_t v, char* out, size_t size) {
    if (row.table != TextTable::kNone)
        Put(out, size, TableText(row.table, v));
    else
        Int(out, size, v);
}

}  // namespace

const char* PhaseText() {
    return TableText(TextTable::kOutputPhase, GetPhaseMode());
}

void MacText(char* out, size_t size) {
    char raw[sizeof g_MacText + 1] = {};
    IdentityTextRead(g_MacText, sizeof g_MacText, raw);
    raw[sizeof g_MacText] = '\0';
    char upper[sizeof raw];
    StrCopyUpper(upper, raw, static_cast<int>(strnlen(raw, sizeof g_MacText)));
    Put(out, size, upper);
}

void LanAddressShown(int which, uint8_t out[4]) {
    which &= 3;
    const sysadmin::LanCfg cfg = LanCfgRead();
    if (cfg.DHCP != 0) {
        std::lock_guard<std::mutex> lock(g_LanActualLock);
        std::memcpy(out, g_LanActual[kLanAddrSlot[which]], 4);
        return;
    }
    const uint8_t* configured[4] = {cfg.IP, cfg.MASK, cfg.GW, cfg.DNS};
    std::memcpy(out, configured[which], 4);
}

bool LanLinkUp() {
    return g_NetSeq.linkState.load(kRelaxed) != 0;
}

bool UsbLinkUp() {
    return (g_UsbState.statusC.load(kRelaxed) & 0x06u) != 0;
}

const char* UsbSpeedText() {
    return TableText(TextTable::kUsbSpeed, (IfaceUsbByte(0) >> 1) & 3);
}

const char* UsbModeText() {
    return TableText(TextTable::kUsbMode, (IfaceUsbByte(2) & 0x10u) != 0 ? 1 : 0);
}

const char* Rs232Text(int which) {
    constexpr TextTable kTables[4] = {TextTable::kRs232Baud, TextTable::kDataBits, TextTable::kParity,
                                      TextTable::kStopBits};
    return TableText(kTables[which & 3], Rs232Byte(which));
}

void SettingText(const ValueRow& row, char* out, size_t size) {
    if (out == nullptr || size == 0) return;
    out[0] = '\0';
    const uint32_t id = row.select + 1u;
    switch (row.source) {
        case ValueSource::kParamTable:
        case ValueSource::kParamInt:
            return TextOfValue(row, paramGetValue(id, 0), out, size);
        case ValueSource::kParamNumber:
            return Number(row, paramGetValue(id, 0), out, size);
        case ValueSource::kPhase:
            return Put(out, size, PhaseText());
        case ValueSource::kParallelInt:
        case ValueSource::kParallelTable:
            if (Slave()) return Put(out, size, "---");
            return TextOfValue(row, paramGetValue(id, 0), out, size);
        case ValueSource::kLanLink:
        case ValueSource::kUsbLink: {
            const bool up = row.source == ValueSource::kLanLink ? LanLinkUp() : UsbLinkUp();
            return Put(out, size, up ? "Online" : "Offline");
        }
        case ValueSource::kMac:
            return MacText(out, size);
        case ValueSource::kDhcp:
            return Put(out, size, LanCfgRead().DHCP != 0 ? "ON" : "OFF");
        case ValueSource::kLanAddr: {
            uint8_t a[4];
            LanAddressShown(row.arg, a);
            std::snprintf(out, size, "%d.%d.%d.%d", a[0], a[1], a[2], a[3]);
            return;
        }
        case ValueSource::kLanPort:
            return Int(out, size, LanCfgRead().PORT);
        case ValueSource::kWebPassword:
            std::snprintf(out, size, "%04u", static_cast<unsigned>(LanCfgRead().PW));
            return;
        case ValueSource::kUsbSpeed:
            return Put(out, size, UsbSpeedText());
        case ValueSource::kUsbMode:
            return Put(out, size, UsbModeText());
        case ValueSource::kRs232:
            return Put(out, size, Rs232Text(row.arg));
        case ValueSource::kGpib:
            return Int(out, size, IfaceGpibAddress());
        case ValueSource::kCanProtocol:
            return Put(out, size, "CANopen");
        case ValueSource::kCanBaud:
            return TextOfValue(row, IfaceWord(g_IfaceCfg.canopenBaud), out, size);
        case ValueSource::kCanNode:
            return Int(out, size, IfaceWord(g_IfaceCfg.canopenNodeId));
        case ValueSource::kDnetBaud:
            return TextOfValue(row, IfaceWord(g_IfaceCfg.devicenetBaud), out, size);
        case ValueSource::kDnetMac:
            return Int(out, size, IfaceWord(g_IfaceCfg.devicenetMacId));
        case ValueSource::kLcd:
            return Int(out, size, IfaceLcdByte(row.arg));
        case ValueSource::kSaveRecallType:
            return TextOfValue(row, SaveRecallType.load(kRelaxed), out, size);
        case ValueSource::kSaveRecallAction:
            return TextOfValue(row, SaveRecallAction.load(kRelaxed), out, size);
        case ValueSource::kSaveRecallMemory:
            return Int(out, size, SaveRecallMemory.load(kRelaxed));
        case ValueSource::kBarcode:
            return BarcodeText(row.arg, out, size);
    }
}

void WorkingText(const ValueRow& row, char* out, size_t size) {
    if (out == nullptr || size == 0) return;
    switch (row.source) {
        case ValueSource::kBarcode:
            return BarcodeText(row.arg, out, size);
        case ValueSource::kDhcp:
            return Put(out, size, TableText(TextTable::kOffOn, g_EditShown.buf.choiceValue));
        default:
            return TextOfValue(row, g_EditShown.workValue, out, size);
    }
}

bool ValueDim(const ValueRow& row) {
    switch (row.dim) {
        case Dim::kUnless3P4W:
            return GetPhaseMode() != kWiring3P4W;
        case Dim::kTriggerOff: {
            const uint32_t mode = g_OutputModeIdx.load(kRelaxed);
            return SeqSimIsActive() != 0 || IsDcOrExtMode(mode);
        }
        case Dim::kIn1P2W:
            return GetPhaseMode() == kWiring1P2W;
        case Dim::kRs232Off:
            return std::atomic_ref<uint8_t>(g_IfaceCfg.rs232Enable).load(kRelaxed) != 1;
        case Dim::kSlave:
            return Slave();
        case Dim::kNever:
            return false;
    }
    return false;
}

}  // namespace menu
