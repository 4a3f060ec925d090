#pragma once
// The one table of the MENU lists' rows: every row of every list, in display order, list after list. A
// row names its state, the list it is in, what the page draws for it (label and value window) and what
// the keys open from it. The navigation table, the drawn list tables and the key slots of the rows are
// built from this table at compile time; a new row is one line here.
#include <cstdint>

#include "core/system/state/menu_state_ids.h"
#include "panel/menu_entries.h"
#include "screens/menu/page/menu_windows.h"
#include "screens/menu/rows/row_entries.h"
#include "screens/menu/service/service_entries.h"

namespace menu_rows {

// The lists as the keys walk them; the knob never leaves the list it is in.
enum class NavList : uint8_t {
    kTop,
    kMisc,
    kLan,
    kUsb,
    kRs232,
    kGpib,
    kCan,
    kDnet,
    kImpedance,
    kParallel,
    kLcd,
    kBarcode,
    kModelBrand,
    kServiceSwitches,
    kServiceData,
    kUpdate,
    kSaveRecall,
    kCount
};

// Per list, in NavList order: the entry of its owner (where the left key leads) and the list number
// the page draws it under (-1: drawn by the special-function sub-page).
struct ListInfo {
    MenuEntryFn owner;
    int drawn;
};
inline constexpr ListInfo kLists[] = {
    {menuReturnHome, 0},
    {menuEnterRow<kMenuMisc>, 10},
    {menuEnterRow<kMenuLan>, 1},
    {menuEnterRow<kMenuUsb>, 8},
    {menuEnterRow<kMenuRs232>, 2},
    {menuEnterRow<kMenuOption>, 3},
    {menuEnterRow<kMenuCanopen>, 4},
    {menuEnterRow<kMenuDevicenet>, 5},
    {menuEnterRow<kMenuImpedance>, 6},
    {menuEnterRow<kMenuParallel>, 7},
    {menuEnterRow<kMenuArbEdit>, 9},
    {menuEnterRow<kMenuSpecialFunction>, 13},
    {menuEnterRow<kMenuSpecialFunction>, -1},
    {menuEnterRow<kMenuSpecialFunction>, -1},
    {menuEnterRow<kMenuSpecialFunction>, -1},
    {menuEnterRow<kMenuSpecialFunction>, -1},
    {menuEnterRow<kMenuSaveRecall>, 12},
};
static_assert(sizeof kLists / sizeof kLists[0] == static_cast<size_t>(NavList::kCount));

enum class Walk : uint8_t {
    kRow,       // a row the keys walk
    kOptional,  // a top-list row the knob passes over when its interface or function is not there
    kShown,     // drawn only: a caption (state 0) or a value the keys do not reach
};
enum class Opens : uint8_t {
    kEditor,   // the row's editor, state S + 1
    kNothing,  // no child
    kEntry,    // the entry `open`
};

struct MenuRow {
    uint32_t state;
    NavList list;
    Walk walk;
    const char* label;  // as the page draws it; null for the service lists the sub-page draws
    int8_t column;      // value column and row window; -1 none
    int8_t window;
    Opens opens;
    MenuEntryFn open;  // with Opens::kEntry
};

namespace make {
using L = NavList;
using menu::kColBarcode, menu::kColCan, menu::kColDnet, menu::kColGpib, menu::kColImpedance, menu::kColLan,
    menu::kColLcd, menu::kColMisc1, menu::kColMisc2, menu::kColParallel, menu::kColRs232,
    menu::kColSaveRecall, menu::kColUsb;
// A top-list row and what it opens.
constexpr MenuRow Top(MenuState s, const char* label, Walk w = Walk::kRow, Opens o = Opens::kEditor,
                      MenuEntryFn open = nullptr) {
    return {s, L::kTop, w, label, -1, -1, o, open};
}
// A value row opening its editor.
constexpr MenuRow Value(L list, MenuState s, const char* label, int column, int window,
                        Opens o = Opens::kEditor) {
    return {s, list, Walk::kRow, label, static_cast<int8_t>(column), static_cast<int8_t>(window), o, nullptr};
}
constexpr MenuRow Shown(L list, MenuState s, const char* label, int column, int window) {
    return {s,
            list,
            Walk::kShown,
            label,
            static_cast<int8_t>(column),
            static_cast<int8_t>(window),
            Opens::kNothing,
            nullptr};
}
constexpr MenuRow Caption(L list, const char* label) {
    return {0, list, Walk::kShown, label, -1, -1, Opens::kNothing, nullptr};
}
// A service row the sub-page draws.
constexpr MenuRow Service(L list, MenuState s, MenuEntryFn open) {
    return {s, list, Walk::kRow, nullptr, -1, -1, Opens::kEntry, open};
}
constexpr MenuRow Service(L list, MenuState s) {
    return {s, list, Walk::kRow, nullptr, -1, -1, Opens::kEditor, nullptr};
}
constexpr MenuRow Barcode(int n, const char* label) {
    return Value(L::kBarcode, MenuStateAt(kMenuBarcodeFirst, 2 * static_cast<uint32_t>(n)), label,
                 kColBarcode, n);
}
constexpr MenuRow Switch(int n, MenuEntryFn open = menuServiceToggle) {
    return Service(L::kServiceSwitches, MenuStateAt(kMenuServiceFirst, static_cast<uint32_t>(n)), open);
}
constexpr MenuRow Data(int n) {
    return Service(L::kServiceData, MenuStateAt(kMenuDataFirst, static_cast<uint32_t>(n)),
                   menuServiceDataListAction);
}
constexpr MenuRow Update(int n) {
    return Service(L::kUpdate, MenuStateAt(kMenuUpdateFirst, static_cast<uint32_t>(n)), menuUpdateListAction);
}
}  // namespace make

// clang-format off
inline constexpr MenuRow kMenuRows[] = {
    make::Top(kMenuSystemInfo, "System Information", Walk::kRow, Opens::kNothing),
    make::Top(kMenuMisc, "MISC Configuration"),
    make::Top(kMenuLan, "LAN"),
    make::Top(kMenuUsb, "USB Device", Walk::kRow, Opens::kEntry, menuEnterRow<kMenuUsbMode>),
    make::Top(kMenuRs232, "RS232C", Walk::kOptional),
    make::Top(kMenuOption, "Option Interface", Walk::kOptional),
    make::Top(kMenuImpedance, "Output Impedance", Walk::kOptional),
    make::Top(kMenuParallel, "Parallel", Walk::kOptional),
    make::Top(kMenuArbEdit, "Arbitrary Edit", Walk::kRow, Opens::kEntry, menuEnterRow<kMenuArbType>),
    make::Top(kMenuDefaultSetting, "Default Setting"),
    make::Top(kMenuSpecialFunction, "Special Function"),
    make::Top(kMenuSaveRecall, "Save/Recall Files"),

    make::Value(make::L::kMisc, kMenuIpkHold, "T peak,hold(msec)", make::kColMisc1, 0),
    make::Value(make::L::kMisc, kMenuOutputPhase, "Output Phase", make::kColMisc1, 1),
    make::Value(make::L::kMisc, kMenuPhaseMode, "Phase Mode", make::kColMisc1, 2),
    make::Value(make::L::kMisc, kMenuIpkhClr, "Peak CLR", make::kColMisc1, 3),
    make::Value(make::L::kMisc, kMenuPowerOn, "Power ON", make::kColMisc1, 4),
    make::Value(make::L::kMisc, kMenuBuzzer, "Buzzer", make::kColMisc1, 5),
    make::Value(make::L::kMisc, kMenuRemoteSense, "Remote Sense", make::kColMisc1, 6),
    make::Value(make::L::kMisc, kMenuSlewRate, "V Response", make::kColMisc1, 7),
    make::Value(make::L::kMisc, kMenuOutputRelay, "Output Relay", make::kColMisc1, 8),
    make::Value(make::L::kMisc, kMenuHarmMode, "THD Format", make::kColMisc1, 9),
    make::Value(make::L::kMisc, kMenuExtControl, "External Control", make::kColMisc1, 10),
    make::Value(make::L::kMisc, kMenuAcvUnit, "V Unit(TRI, ARB)", make::kColMisc1, 11),
    make::Value(make::L::kMisc, kMenuSetChangePhase, "Set Change Phase", make::kColMisc1, 12),
    make::Value(make::L::kMisc, kMenuMonitorSource1, "Monitor Output 1", make::kColMisc1, 13),
    make::Value(make::L::kMisc, kMenuMonitorSource2, "Monitor Output 2", make::kColMisc1, 14),
    make::Value(make::L::kMisc, kMenuMonitorAmp, "Monitor Output Amp", make::kColMisc2, 0),
    make::Value(make::L::kMisc, kMenuTriggerWidth, "TrgOut Width(ms)", make::kColMisc2, 1),
    make::Value(make::L::kMisc, kMenuTriggerSource, "TrgOut Source", make::kColMisc2, 2),
    make::Value(make::L::kMisc, kMenuRelock, "Re-lock", make::kColMisc2, 3),
    make::Value(make::L::kMisc, kMenuAvgCount, "Data Average Count", make::kColMisc2, 4),
    make::Value(make::L::kMisc, kMenuUpdateRate, "Data Update Rate", make::kColMisc2, 5),

    make::Caption(make::L::kLan, "Connection Status"),
    make::Caption(make::L::kLan, "MAC"),
    make::Value(make::L::kLan, kMenuLanDhcp, "DHCP", make::kColLan, 0),
    make::Value(make::L::kLan, kMenuLanIp, "IP Address", make::kColLan, 1),
    make::Value(make::L::kLan, kMenuLanMask, "Subnet Mask", make::kColLan, 2),
    make::Value(make::L::kLan, kMenuLanGate, "Gateway", make::kColLan, 3),
    make::Value(make::L::kLan, kMenuLanDns, "DNS", make::kColLan, 4),
    make::Value(make::L::kLan, kMenuLanSocket, "Socket Port", make::kColLan, 5, Opens::kNothing),
    make::Value(make::L::kLan, kMenuLanWebPassword, "Web Password", make::kColLan, 6, Opens::kNothing),

    make::Caption(make::L::kUsb, "Connection Status"),
    make::Shown(make::L::kUsb, kMenuUsbSpeed, "Speed", make::kColUsb, 0),
    make::Value(make::L::kUsb, kMenuUsbMode, "Mode", make::kColUsb, 1),

    make::Value(make::L::kRs232, kMenuRs232Baud, "Baudrate", make::kColRs232, 0),
    make::Value(make::L::kRs232, kMenuRs232DataBits, "Databits", make::kColRs232, 1),
    make::Value(make::L::kRs232, kMenuRs232Parity, "Parity", make::kColRs232, 2),
    make::Value(make::L::kRs232, kMenuRs232StopBits, "Stopbits", make::kColRs232, 3),

    make::Value(make::L::kGpib, kMenuGpibAddress, "Address", make::kColGpib, 0),

    make::Caption(make::L::kCan, "Protocol"),
    make::Value(make::L::kCan, kMenuCanopenBaud, "Baudrate", make::kColCan, 0),
    make::Value(make::L::kCan, kMenuCanopenNode, "Node ID", make::kColCan, 1),

    make::Value(make::L::kDnet, kMenuDevicenetBaud, "Baudrate", make::kColDnet, 0),
    make::Value(make::L::kDnet, kMenuDevicenetMac, "MAC ID", make::kColDnet, 1),

    make::Value(make::L::kImpedance, kMenuImpedanceOn, "Output Impedance", make::kColImpedance, 0),
    make::Value(make::L::kImpedance, kMenuL1Inductance, "L1 Output Inductance", make::kColImpedance, 1),
    make::Value(make::L::kImpedance, kMenuL2Inductance, "L2 Output Inductance", make::kColImpedance, 2),
    make::Value(make::L::kImpedance, kMenuL3Inductance, "L3 Output Inductance", make::kColImpedance, 3),
    make::Value(make::L::kImpedance, kMenuL1Resistance, "L1 Output Resistance", make::kColImpedance, 4),
    make::Value(make::L::kImpedance, kMenuL2Resistance, "L2 Output Resistance", make::kColImpedance, 5),
    make::Value(make::L::kImpedance, kMenuL3Resistance, "L3 Output Resistance", make::kColImpedance, 6),

    make::Value(make::L::kParallel, kMenuParallelPosition, "Position", make::kColParallel, 0),
    make::Value(make::L::kParallel, kMenuParallelNumber, "Parallel Number", make::kColParallel, 1),
    make::Value(make::L::kParallel, kMenuParallelEnable, "Enable", make::kColParallel, 2),

    make::Value(make::L::kLcd, kMenuLcdContrast, "Contrast(%)", make::kColLcd, 0),
    make::Value(make::L::kLcd, kMenuLcdBrightness, "Brightness(%)", make::kColLcd, 1),
    make::Value(make::L::kLcd, kMenuLcdSaturation, "Saturation(%)", make::kColLcd, 2),

    make::Barcode(0, "Preset0 Barcode"),
    make::Barcode(1, "Preset1 Barcode"),
    make::Barcode(2, "Preset2 Barcode"),
    make::Barcode(3, "Preset3 Barcode"),
    make::Barcode(4, "Preset4 Barcode"),
    make::Barcode(5, "Preset5 Barcode"),
    make::Barcode(6, "Preset6 Barcode"),
    make::Barcode(7, "Preset7 Barcode"),
    make::Barcode(8, "Preset8 Barcode"),
    make::Barcode(9, "Preset9 Barcode"),
    make::Barcode(10, "Output ON Barcode"),
    make::Barcode(11, "Output OFF Barcode"),

    make::Service(make::L::kModelBrand, kMenuFirmType),
    make::Service(make::L::kModelBrand, kMenuModelType),

    make::Switch(0), make::Switch(1), make::Switch(2), make::Switch(3), make::Switch(4),
    make::Switch(5, Enter_KeyProcess_9371_VoltSlewEdit),
    make::Switch(6, Enter_KeyProcess_9371_FanSlewEdit),
    make::Switch(7, Enter_KeyProcess_9371_FanDutyMaxEdit),
    make::Switch(8, Enter_KeyProcess_9371_FanDutyMinEdit),
    make::Switch(9), make::Switch(10), make::Switch(11), make::Switch(12), make::Switch(13),
    make::Switch(14), make::Switch(15), make::Switch(16),
    make::Switch(17, Enter_KeyProcess_9371_AvgCurrComp_kpEdit),
    make::Switch(18, Enter_KeyProcess_9371_AvgCurrComp_kiEdit),
    make::Switch(19), make::Switch(20), make::Switch(21),
    make::Switch(22, Enter_KeyProcess_9371_RD_Define1Edit),
    make::Switch(23, Enter_KeyProcess_9371_RD_Define2Edit),
    make::Switch(24, Enter_KeyProcess_9371_RD_Define3Edit),
    make::Switch(25, Enter_KeyProcess_9371_RD_Define4Edit),
    make::Switch(26, Enter_KeyProcess_9371_RD_Define5Edit),

    make::Data(0), make::Data(1), make::Data(2), make::Data(3), make::Data(4), make::Data(5),
    make::Data(6), make::Data(7), make::Data(8), make::Data(9), make::Data(10), make::Data(11),

    make::Update(0), make::Update(1), make::Update(2), make::Update(3),

    make::Value(make::L::kSaveRecall, kMenuSavRecType, "Type", make::kColSaveRecall, 0),
    make::Value(make::L::kSaveRecall, kMenuSavRecAction, "Action", make::kColSaveRecall, 1),
    make::Value(make::L::kSaveRecall, kMenuSavRecMemory, "Memory No.", make::kColSaveRecall, 2),
};
// clang-format on
inline constexpr uint32_t kMenuRowCount = sizeof kMenuRows / sizeof kMenuRows[0];

}  // namespace menu_rows
