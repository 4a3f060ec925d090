#include "screens/menu/values/menu_value_rows.h"

#include "core/system/state/menu_state_ids.h"
#include "screens/menu/page/menu_windows.h"
#include "screens/menu/rows/menu_row_table.h"

namespace menu {
namespace {

using S = ValueSource;
using T = TextTable;

// A MISC row: the setting is S + 1, the focused value a short box.
constexpr ValueRow Misc(uint16_t s, int8_t column, int8_t row, int8_t win, S src, T table, int8_t edit,
                        Dim dim = Dim::kNever) {
    return {s, column, row, win, src, table, 0, 1, edit, dim};
}
// An interface row: long boxes.
constexpr ValueRow Iface(uint16_t s, int8_t column, int8_t row, int8_t win, S src, T table, uint8_t arg,
                         int8_t edit, Dim dim = Dim::kNever) {
    return {s, column, row, win, src, table, arg, 0, edit, dim};
}
// An Output Impedance value with its unit (1 inductance, 2 resistance).
constexpr ValueRow Unit(uint16_t s, int8_t column, int8_t row, int8_t win, uint8_t unit) {
    return {s, column, row, win, S::kParamNumber, T::kNone, unit, 1, 6, Dim::kNever};
}
constexpr ValueRow Caption(int8_t column, int8_t row, S src) {
    return {0, column, row, -1, src, T::kNone, 0, 0, 0, Dim::kNever};
}

constexpr ValueRow kRows[] = {
    Misc(kMenuIpkHold, kColMisc1, 0, 0, S::kParamInt, T::kNone, 5),
    Misc(kMenuOutputPhase, kColMisc1, 1, 1, S::kPhase, T::kOutputPhase, 3),
    Misc(kMenuPhaseMode, kColMisc1, 2, 2, S::kParamTable, T::kPhaseMode, 3, Dim::kUnless3P4W),
    Misc(kMenuIpkhClr, kColMisc1, 3, 3, S::kParamTable, T::kPeakClear, 3),
    Misc(kMenuPowerOn, kColMisc1, 4, 4, S::kParamTable, T::kPowerOn, 3),
    Misc(kMenuBuzzer, kColMisc1, 5, 5, S::kParamTable, T::kOffOn, 3),
    Misc(kMenuRemoteSense, kColMisc1, 6, 6, S::kParamTable, T::kOffOn, 3),
    Misc(kMenuSlewRate, kColMisc1, 7, 7, S::kParamTable, T::kResponse, 3),
    Misc(kMenuOutputRelay, kColMisc1, 8, 8, S::kParamTable, T::kRelay, 3),
    Misc(kMenuHarmMode, kColMisc1, 9, 9, S::kParamTable, T::kThdFormat, 3),
    Misc(kMenuExtControl, kColMisc1, 10, 10, S::kParamTable, T::kOffOn, 3),
    Misc(kMenuAcvUnit, kColMisc1, 11, 11, S::kParamTable, T::kVoltUnit, 3),
    Misc(kMenuSetChangePhase, kColMisc1, 12, 12, S::kParamTable, T::kOffOn, 3),
    Misc(kMenuMonitorSource1, kColMisc1, 13, 13, S::kParamTable, T::kMonitorSource, 3),
    Misc(kMenuMonitorSource2, kColMisc1, 14, 14, S::kParamTable, T::kMonitorSource, 3),
    Misc(kMenuMonitorAmp, kColMisc2, 15, 0, S::kParamTable, T::kMonitorAmp, 3),
    Misc(kMenuTriggerWidth, kColMisc2, 16, 1, S::kParamNumber, T::kNone, 6, Dim::kTriggerOff),
    Misc(kMenuTriggerSource, kColMisc2, 17, 2, S::kParamTable, T::kTrigSource, 3, Dim::kTriggerOff),
    Misc(kMenuRelock, kColMisc2, 18, 3, S::kParamTable, T::kOffOn, 3, Dim::kIn1P2W),
    Misc(kMenuAvgCount, kColMisc2, 19, 4, S::kParamInt, T::kNone, 5),
    Misc(kMenuUpdateRate, kColMisc2, 20, 5, S::kParamTable, T::kUpdateRate, 3),

    Caption(kColLan, 0, S::kLanLink),
    Caption(kColLan, 1, S::kMac),
    Iface(kMenuLanDhcp, kColLan, 2, 0, S::kDhcp, T::kOffOn, 0, 2),
    Iface(kMenuLanIp, kColLan, 3, 1, S::kLanAddr, T::kNone, 0, -1),
    Iface(kMenuLanMask, kColLan, 4, 2, S::kLanAddr, T::kNone, 1, -1),
    Iface(kMenuLanGate, kColLan, 5, 3, S::kLanAddr, T::kNone, 2, -1),
    Iface(kMenuLanDns, kColLan, 6, 4, S::kLanAddr, T::kNone, 3, -1),
    Iface(kMenuLanSocket, kColLan, 7, 5, S::kLanPort, T::kNone, 0, 7),
    Iface(kMenuLanWebPassword, kColLan, 8, 6, S::kWebPassword, T::kNone, 0, 7),

    Caption(kColUsb, 0, S::kUsbLink),
    Iface(kMenuUsbSpeed, kColUsb, 1, 0, S::kUsbSpeed, T::kUsbSpeed, 0, 2),
    Iface(kMenuUsbMode, kColUsb, 2, 1, S::kUsbMode, T::kUsbMode, 0, 2),

    Iface(kMenuRs232Baud, kColRs232, 0, 0, S::kRs232, T::kRs232Baud, 0, 2, Dim::kRs232Off),
    Iface(kMenuRs232DataBits, kColRs232, 1, 1, S::kRs232, T::kDataBits, 1, 2, Dim::kRs232Off),
    Iface(kMenuRs232Parity, kColRs232, 2, 2, S::kRs232, T::kParity, 2, 2, Dim::kRs232Off),
    Iface(kMenuRs232StopBits, kColRs232, 3, 3, S::kRs232, T::kStopBits, 3, 2, Dim::kRs232Off),

    Iface(kMenuGpibAddress, kColGpib, 0, 0, S::kGpib, T::kNone, 0, 2),

    Caption(kColCan, 0, S::kCanProtocol),
    Iface(kMenuCanopenBaud, kColCan, 1, 0, S::kCanBaud, T::kCanBaud, 0, 2),
    Iface(kMenuCanopenNode, kColCan, 2, 1, S::kCanNode, T::kNone, 0, 9),

    Iface(kMenuDevicenetBaud, kColDnet, 0, 0, S::kDnetBaud, T::kDnetBaud, 0, 2),
    Iface(kMenuDevicenetMac, kColDnet, 1, 1, S::kDnetMac, T::kNone, 0, 9),

    Misc(kMenuImpedanceOn, kColImpedance, 0, 0, S::kParamTable, T::kOffOn, 3),
    Unit(kMenuL1Inductance, kColImpedance, 1, 1, 1),
    Unit(kMenuL2Inductance, kColImpedance, 2, 2, 1),
    Unit(kMenuL3Inductance, kColImpedance, 3, 3, 1),
    Unit(kMenuL1Resistance, kColImpedance, 4, 4, 2),
    Unit(kMenuL2Resistance, kColImpedance, 5, 5, 2),
    Unit(kMenuL3Resistance, kColImpedance, 6, 6, 2),

    Misc(kMenuParallelPosition, kColParallel, 0, 0, S::kParamTable, T::kPosition, 3),
    Misc(kMenuParallelNumber, kColParallel, 1, 1, S::kParallelInt, T::kNone, 5, Dim::kSlave),
    Misc(kMenuParallelEnable, kColParallel, 2, 2, S::kParallelTable, T::kOffOn, 3, Dim::kSlave),

    Iface(kMenuLcdContrast, kColLcd, 0, 0, S::kLcd, T::kNone, 0, 4),
    Iface(kMenuLcdBrightness, kColLcd, 1, 1, S::kLcd, T::kNone, 1, 4),
    Iface(kMenuLcdSaturation, kColLcd, 2, 2, S::kLcd, T::kNone, 2, 4),

    Iface(kMenuSavRecType, kColSaveRecall, 0, 0, S::kSaveRecallType, T::kSaveRecallType, 0, 2),
    Iface(kMenuSavRecAction, kColSaveRecall, 1, 1, S::kSaveRecallAction, T::kSaveRecallAction, 0, 2),
    Iface(kMenuSavRecMemory, kColSaveRecall, 2, 2, S::kSaveRecallMemory, T::kNone, 0, 2),

    Iface(kMenuBarcodeFirst, kColBarcode, 0, 0, S::kBarcode, T::kNone, 0, 2),
    Iface(MenuStateAt(kMenuBarcodeFirst, 2), kColBarcode, 1, 1, S::kBarcode, T::kNone, 1, 2),
    Iface(MenuStateAt(kMenuBarcodeFirst, 4), kColBarcode, 2, 2, S::kBarcode, T::kNone, 2, 2),
    Iface(MenuStateAt(kMenuBarcodeFirst, 6), kColBarcode, 3, 3, S::kBarcode, T::kNone, 3, 2),
    Iface(MenuStateAt(kMenuBarcodeFirst, 8), kColBarcode, 4, 4, S::kBarcode, T::kNone, 4, 2),
    Iface(MenuStateAt(kMenuBarcodeFirst, 10), kColBarcode, 5, 5, S::kBarcode, T::kNone, 5, 2),
    Iface(MenuStateAt(kMenuBarcodeFirst, 12), kColBarcode, 6, 6, S::kBarcode, T::kNone, 6, 2),
    Iface(MenuStateAt(kMenuBarcodeFirst, 14), kColBarcode, 7, 7, S::kBarcode, T::kNone, 7, 2),
    Iface(MenuStateAt(kMenuBarcodeFirst, 16), kColBarcode, 8, 8, S::kBarcode, T::kNone, 8, 2),
    Iface(MenuStateAt(kMenuBarcodeFirst, 18), kColBarcode, 9, 9, S::kBarcode, T::kNone, 9, 2),
    Iface(MenuStateAt(kMenuBarcodeFirst, 20), kColBarcode, 10, 10, S::kBarcode, T::kNone, 10, 2),
    Iface(MenuStateAt(kMenuBarcodeFirst, 22), kColBarcode, 11, 11, S::kBarcode, T::kNone, 11, 2),
};

// Every row window has exactly one row.
constexpr bool EveryWindowOnce() {
    for (int c = 0; c < kColumns; ++c)
        for (int w = 0; w < kColumnRows[c]; ++w) {
            int n = 0;
            for (const ValueRow& r : kRows)
                if (r.column == c && r.window == w) ++n;
            if (n != 1) return false;
        }
    return true;
}
static_assert(EveryWindowOnce(), "one value row per row window");

// Every list row with a value window has the value row of its state in that window, and every value row
// of a state is a list row's.
constexpr bool AgreesWithListRows() {
    for (const menu_rows::MenuRow& m : menu_rows::kMenuRows) {
        if (m.column < 0) continue;
        int n = 0;
        for (const ValueRow& r : kRows)
            n += r.select == m.state && r.column == m.column && r.window == m.window;
        if (n != 1) return false;
    }
    for (const ValueRow& r : kRows) {
        if (r.select == 0) continue;
        int n = 0;
        for (const menu_rows::MenuRow& m : menu_rows::kMenuRows)
            n += m.state == r.select && m.column == r.column && m.window == r.window;
        if (n != 1) return false;
    }
    return true;
}
static_assert(AgreesWithListRows(), "the value rows and the list rows disagree");

}  // namespace

std::span<const ValueRow> ValueRows() {
    return kRows;
}

const ValueRow* ValueRowOfWindow(int column, int window) {
    for (const ValueRow& r : kRows)
        if (r.column == column && r.window == window && window >= 0) return &r;
    return nullptr;
}

}  // namespace menu
