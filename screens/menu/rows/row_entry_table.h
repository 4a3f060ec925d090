#pragma once
// The one table of the MENU lists' row entries: per row or editor state, how it is entered, the value it
// starts with, the guard it keeps and the editor limits it sets.
#include <cstdint>

#include "core/system/state/menu_state_ids.h"

namespace menu_rows {

enum class RowHow : uint8_t {
    kValue,        // the state with the source's value as choice and edit value
    kRecord,       // the state with its parameter record
    kRecordPhase,  // the record, then the wiring as start and working value
    kRecordChoice  // the record, then the working value as choice value
};
enum class RowSrc : uint8_t {
    kZero,
    kOne,
    kIndex,  // the position in the run of states (state - first)
    kDhcp,
    kIpOctet,
    kMaskOctet,
    kGateOctet,
    kDnsOctet,
    kSocketPort,
    kWebPassword,
    kUsbClass,
    kRs232Baud,
    kRs232DataBits,
    kRs232Parity,
    kRs232StopBits,
    kGpibAddress,
    kCanBaud,
    kCanNodeId,
    kDnetBaud,
    kDnetMacId,
    kLcdPercent,  // contrast, brightness, saturation by (state - 215) / 2
    kBrandId,
    kSavRecType,
    kSavRecAction,
    kSavRecMemory,
    kArbField,  // the builder's field of the edit/field pair (state - 495) / 2
    kArbType,
};
enum class RowGuard : uint8_t {
    kNone,
    kMaster,            // only on the parallel master
    kWiring3P4W,        // else the row before
    kNot1P2W,           // else the row before
    kTrigOut,           // no SEQ/SIM and an output mode with trigger out, else the row before
    kOutputOff,         // refused with a message while the output is on
    kRemoteSense,       // the remote-sense check's message
    kOptionInterface,   // master only; the row of the interface fitted
    kStandalone,        // master only; refused with a message while parallel operation is active
    kParallelPosition,  // refused while the output is on; a parallel system enabled keeps the top row
    kPositionEdit,      // a stand-alone single unit, else as the position row
    kNumberEdit,        // master, not enabled, single unit, else the row before
    kEnableEdit,        // master, and while enabled only in parallel operation, else the row before
    kNotAllData,        // not for the Save/Recall type "All Data"
};
enum class RowLimits : uint8_t { kKeep, kFixed, kSavRecAction, kSavRecMemory };

struct RowEntry {
    uint16_t first, last;  // the states of the run, inclusive
    uint8_t step;          // 1, or 2 for every other state
    RowHow how;
    RowSrc src;
    RowGuard guard;
    RowLimits limits;
    int32_t max, min, digits;  // with kFixed; the digit count only where it is not negative
};

namespace rows {
using H = RowHow;
using S = RowSrc;
using G = RowGuard;
using L = RowLimits;
constexpr RowEntry Row(uint16_t s, G g = G::kNone) {
    return {s, s, 1, H::kValue, S::kZero, g, L::kKeep, 0, 0, -1};
}
constexpr RowEntry Rec(uint16_t first, uint16_t last, G g = G::kNone, uint8_t step = 1) {
    return {first, last, step, H::kRecord, S::kZero, g, L::kKeep, 0, 0, -1};
}
constexpr RowEntry Val(uint16_t first, uint16_t last, S src, G g = G::kNone) {
    return {first, last, 1, H::kValue, src, g, L::kKeep, 0, 0, -1};
}
constexpr RowEntry Lim(uint16_t s, S src, int32_t max, int32_t min, int32_t digits = -1) {
    return {s, s, 1, H::kValue, src, G::kNone, L::kFixed, max, min, digits};
}
}  // namespace rows

inline constexpr RowEntry kRowEntries[] = {
    rows::Row(kMenuSystemInfo),
    rows::Row(kMenuMisc),
    rows::Row(kMenuLan),
    rows::Row(kMenuUsb),
    rows::Row(kMenuUsbSpeed),
    rows::Row(kMenuRs232),
    rows::Row(kMenuOption),
    rows::Row(kMenuImpedance),
    rows::Row(kMenuParallel),
    rows::Row(kMenuArbEdit),
    rows::Row(kMenuLcdContrast),
    rows::Row(kMenuDefaultSetting),
    rows::Row(kMenuDefaultSetEnter),
    rows::Row(kMenuSpecialFunction),
    rows::Lim(kMenuPassword, RowSrc::kZero, 9999, 0, 4),
    rows::Row(kMenuFirmType),
    rows::Lim(kMenuModelTypeEdit, RowSrc::kZero, 9999, 0, 4),
    rows::Row(kMenuSaveRecall),
    // MISC Configuration
    rows::Rec(kMenuIpkHold, kMenuIpkHold, RowGuard::kMaster),
    rows::Rec(kMenuIpkHoldEdit, kMenuOutputPhase),
    {kMenuOutputPhaseEdit, kMenuOutputPhaseEdit, 1, RowHow::kRecordPhase, RowSrc::kZero, RowGuard::kNone,
     RowLimits::kKeep, 0, 0, -1},
    rows::Rec(kMenuPhaseMode, kMenuPhaseMode),
    rows::Rec(kMenuPhaseModeEdit, kMenuPhaseModeEdit, RowGuard::kWiring3P4W),
    rows::Rec(kMenuIpkhClr, kMenuRemoteSense),
    rows::Rec(kMenuRemoteSenseEdit, kMenuRemoteSenseEdit, RowGuard::kRemoteSense),
    rows::Rec(kMenuSlewRate, kMenuSlewRate),
    rows::Rec(kMenuSlewRateEdit, kMenuSlewRateEdit, RowGuard::kOutputOff),
    rows::Rec(kMenuOutputRelay, kMenuTriggerWidth),
    rows::Rec(kMenuTriggerWidthEdit, kMenuTriggerWidthEdit, RowGuard::kTrigOut),
    rows::Rec(kMenuTriggerSource, kMenuTriggerSource),
    rows::Rec(kMenuTriggerSourceEdit, kMenuTriggerSourceEdit, RowGuard::kTrigOut),
    rows::Rec(kMenuRelock, kMenuRelock),
    rows::Rec(kMenuRelockEdit, kMenuRelockEdit, RowGuard::kNot1P2W),
    rows::Rec(kMenuAvgCount, kMenuUpdateRateEdit),
    // LAN
    rows::Val(kMenuLanDhcp, kMenuLanDhcp, RowSrc::kDhcp, RowGuard::kMaster),
    rows::Val(kMenuLanDhcpEdit, kMenuLanDhcpEdit, RowSrc::kDhcp),
    rows::Row(kMenuLanIp),
    rows::Row(kMenuLanMask),
    rows::Row(kMenuLanGate),
    rows::Row(kMenuLanDns),
    rows::Val(kMenuLanIp1Edit, kMenuLanIp4Edit, RowSrc::kIpOctet),
    rows::Val(kMenuLanMask1Edit, kMenuLanMask4Edit, RowSrc::kMaskOctet),
    rows::Val(kMenuLanGate1Edit, kMenuLanGate4Edit, RowSrc::kGateOctet),
    rows::Val(kMenuLanDns1Edit, kMenuLanDns4Edit, RowSrc::kDnsOctet),
    rows::Val(kMenuLanSocket, kMenuLanSocket, RowSrc::kSocketPort),
    rows::Val(kMenuLanWebPassword, kMenuLanWebPassword, RowSrc::kWebPassword),
    // USB device, RS232C
    rows::Row(kMenuUsbMode, RowGuard::kMaster),
    rows::Lim(kMenuUsbModeEdit, RowSrc::kUsbClass, 1, 0, 0),
    rows::Row(kMenuRs232Baud, RowGuard::kMaster),
    rows::Lim(kMenuRs232BaudEdit, RowSrc::kRs232Baud, 7, 0, 0),
    rows::Lim(kMenuRs232DataBitsEdit, RowSrc::kRs232DataBits, 1, 0, 0),
    rows::Lim(kMenuRs232ParityEdit, RowSrc::kRs232Parity, 2, 0, 0),
    rows::Lim(kMenuRs232StopBitsEdit, RowSrc::kRs232StopBits, 1, 0, 0),
    rows::Row(kMenuRs232DataBits),
    rows::Row(kMenuRs232Parity),
    rows::Row(kMenuRs232StopBits),
    // Option interface
    rows::Row(kMenuGpibAddress, RowGuard::kOptionInterface),
    rows::Row(kMenuCanopenBaud, RowGuard::kOptionInterface),
    rows::Row(kMenuDevicenetBaud, RowGuard::kOptionInterface),
    rows::Lim(kMenuGpibAddressEdit, RowSrc::kGpibAddress, 30, 0),
    rows::Row(kMenuCanopen),
    rows::Row(kMenuCanopenNode),
    rows::Row(kMenuDevicenet),
    rows::Row(kMenuDevicenetMac),
    rows::Lim(kMenuCanopenBaudEdit, RowSrc::kCanBaud, 4, 0),
    rows::Lim(kMenuCanopenNodeEdit, RowSrc::kCanNodeId, 127, 1, 3),
    rows::Lim(kMenuDevicenetBaudEdit, RowSrc::kDnetBaud, 3, 0),
    rows::Lim(kMenuDevicenetMacEdit, RowSrc::kDnetMacId, 63, 0, 2),
    // Output impedance, parallel
    rows::Row(kMenuImpedanceOn, RowGuard::kStandalone),
    rows::Rec(kMenuImpedanceOnEdit, kMenuL3ResistanceEdit, RowGuard::kNone, 2),
    {kMenuL1Inductance, kMenuL3Resistance, 2, RowHow::kValue, RowSrc::kZero, RowGuard::kNone,
     RowLimits::kKeep, 0, 0, -1},
    rows::Row(kMenuParallelPosition, RowGuard::kParallelPosition),
    rows::Rec(kMenuParallelPositionEdit, kMenuParallelPositionEdit, RowGuard::kPositionEdit),
    rows::Row(kMenuParallelNumber),
    rows::Row(kMenuParallelEnable),
    rows::Rec(kMenuParallelNumberEdit, kMenuParallelNumberEdit, RowGuard::kNumberEdit),
    rows::Rec(kMenuParallelEnableEdit, kMenuParallelEnableEdit, RowGuard::kEnableEdit),
    // LCD, brand and model, service lists
    rows::Lim(kMenuLcdContrastEdit, RowSrc::kLcdPercent, 100, 1, 3),
    rows::Lim(kMenuLcdBrightnessEdit, RowSrc::kLcdPercent, 100, 1, 3),
    rows::Lim(kMenuLcdSaturationEdit, RowSrc::kLcdPercent, 100, 1, 3),
    rows::Val(kMenuLcdBrightness, kMenuLcdBrightness, RowSrc::kLcdPercent),
    rows::Val(kMenuLcdSaturation, kMenuLcdSaturation, RowSrc::kLcdPercent),
    rows::Lim(kMenuFirmTypeEdit, RowSrc::kBrandId, 2, 0),
    rows::Val(kMenuModelType, kMenuModelType, RowSrc::kOne),
    rows::Val(kMenuServiceFirst, kMenuServiceLast, RowSrc::kIndex),
    {kMenuUpdateFirst, kMenuUpdateLast, 1, RowHow::kRecordChoice, RowSrc::kZero, RowGuard::kNone,
     RowLimits::kKeep, 0, 0, -1},
    rows::Val(kMenuDataFirst, kMenuDataLast, RowSrc::kIndex),
    // Save/Recall
    rows::Val(kMenuSavRecType, kMenuSavRecType, RowSrc::kSavRecType),
    rows::Lim(kMenuSavRecTypeEdit, RowSrc::kSavRecType, 4, 0, 0),
    rows::Val(kMenuSavRecAction, kMenuSavRecAction, RowSrc::kSavRecAction),
    {kMenuSavRecActionEdit, kMenuSavRecActionEdit, 1, RowHow::kValue, RowSrc::kSavRecAction, RowGuard::kNone,
     RowLimits::kSavRecAction, 0, 0, -1},
    rows::Val(kMenuSavRecMemory, kMenuSavRecMemory, RowSrc::kSavRecMemory, RowGuard::kNotAllData),
    {kMenuSavRecMemoryEdit, kMenuSavRecMemoryEdit, 1, RowHow::kValue, RowSrc::kSavRecMemory, RowGuard::kNone,
     RowLimits::kSavRecMemory, 0, 0, -1},
    // Barcodes
    {kMenuBarcodeFirst, MenuStateAt(kMenuBarcodeFirst, 22), 2, RowHow::kValue, RowSrc::kZero,
     RowGuard::kMaster, RowLimits::kKeep, 0, 0, -1},
    rows::Rec(MenuStateAt(kMenuBarcodeFirst, 1), kMenuBarcodeLast, RowGuard::kNone, 2),
    // Waveform builder
    rows::Val(kMenuArbTriangleEdit, kMenuArbArbNo, RowSrc::kArbField),
    rows::Val(kMenuArbTypeEdit, kMenuArbTypeEdit, RowSrc::kArbType),
    rows::Val(kMenuArbType, kMenuArbType, RowSrc::kArbType, RowGuard::kMaster),
};

// True when the entry covers the state.
constexpr bool RowEntryHolds(const RowEntry& e, uint32_t state) {
    return state >= e.first && state <= e.last && (state - e.first) % e.step == 0;
}
// Whether a state has a row entry, at compile time too (a pointer compared with null is no constant
// expression in an instrumented build).
constexpr bool HasRowEntry(uint32_t state) {
    for (const RowEntry& e : kRowEntries)
        if (RowEntryHolds(e, state)) return true;
    return false;
}
constexpr const RowEntry* FindRowEntry(uint32_t state) {
    for (const RowEntry& e : kRowEntries)
        if (RowEntryHolds(e, state)) return &e;
    return nullptr;
}

}  // namespace menu_rows
