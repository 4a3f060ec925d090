#include "screens/menu/values/menu_value_rows.h"

#include "screens/menu/page/menu_windows.h"

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
    Misc(96, kColMisc1, 0, 0, S::kParamInt, T::kNone, 5),
    Misc(98, kColMisc1, 1, 1, S::kPhase, T::kOutputPhase, 3),
    Misc(100, kColMisc1, 2, 2, S::kParamTable, T::kPhaseMode, 3, Dim::kUnless3P4W),
    Misc(102, kColMisc1, 3, 3, S::kParamTable, T::kPeakClear, 3),
    Misc(104, kColMisc1, 4, 4, S::kParamTable, T::kPowerOn, 3),
    Misc(106, kColMisc1, 5, 5, S::kParamTable, T::kOffOn, 3),
    Misc(108, kColMisc1, 6, 6, S::kParamTable, T::kOffOn, 3),
    Misc(110, kColMisc1, 7, 7, S::kParamTable, T::kResponse, 3),
    Misc(112, kColMisc1, 8, 8, S::kParamTable, T::kRelay, 3),
    Misc(114, kColMisc1, 9, 9, S::kParamTable, T::kThdFormat, 3),
    Misc(116, kColMisc1, 10, 10, S::kParamTable, T::kOffOn, 3),
    Misc(118, kColMisc1, 11, 11, S::kParamTable, T::kVoltUnit, 3),
    Misc(120, kColMisc1, 12, 12, S::kParamTable, T::kOffOn, 3),
    Misc(122, kColMisc1, 13, 13, S::kParamTable, T::kMonitorSource, 3),
    Misc(124, kColMisc1, 14, 14, S::kParamTable, T::kMonitorSource, 3),
    Misc(126, kColMisc2, 15, 0, S::kParamTable, T::kMonitorAmp, 3),
    Misc(128, kColMisc2, 16, 1, S::kParamNumber, T::kNone, 6, Dim::kTriggerOff),
    Misc(130, kColMisc2, 17, 2, S::kParamTable, T::kTrigSource, 3, Dim::kTriggerOff),
    Misc(132, kColMisc2, 18, 3, S::kParamTable, T::kOffOn, 3, Dim::kIn1P2W),
    Misc(134, kColMisc2, 19, 4, S::kParamInt, T::kNone, 5),
    Misc(136, kColMisc2, 20, 5, S::kParamTable, T::kUpdateRate, 3),

    Caption(kColLan, 0, S::kLanLink),
    Caption(kColLan, 1, S::kMac),
    Iface(139, kColLan, 2, 0, S::kDhcp, T::kOffOn, 0, 2),
    Iface(141, kColLan, 3, 1, S::kLanAddr, T::kNone, 0, -1),
    Iface(146, kColLan, 4, 2, S::kLanAddr, T::kNone, 1, -1),
    Iface(151, kColLan, 5, 3, S::kLanAddr, T::kNone, 2, -1),
    Iface(156, kColLan, 6, 4, S::kLanAddr, T::kNone, 3, -1),
    Iface(161, kColLan, 7, 5, S::kLanPort, T::kNone, 0, 7),
    Iface(163, kColLan, 8, 6, S::kWebPassword, T::kNone, 0, 7),

    Caption(kColUsb, 0, S::kUsbLink),
    Iface(166, kColUsb, 1, 0, S::kUsbSpeed, T::kUsbSpeed, 0, 2),
    Iface(168, kColUsb, 2, 1, S::kUsbMode, T::kUsbMode, 0, 2),

    Iface(171, kColRs232, 0, 0, S::kRs232, T::kRs232Baud, 0, 2, Dim::kRs232Off),
    Iface(173, kColRs232, 1, 1, S::kRs232, T::kDataBits, 1, 2, Dim::kRs232Off),
    Iface(175, kColRs232, 2, 2, S::kRs232, T::kParity, 2, 2, Dim::kRs232Off),
    Iface(177, kColRs232, 3, 3, S::kRs232, T::kStopBits, 3, 2, Dim::kRs232Off),

    Iface(180, kColGpib, 0, 0, S::kGpib, T::kNone, 0, 2),

    Caption(kColCan, 0, S::kCanProtocol),
    Iface(183, kColCan, 1, 0, S::kCanBaud, T::kCanBaud, 0, 2),
    Iface(185, kColCan, 2, 1, S::kCanNode, T::kNone, 0, 9),

    Iface(188, kColDnet, 0, 0, S::kDnetBaud, T::kDnetBaud, 0, 2),
    Iface(190, kColDnet, 1, 1, S::kDnetMac, T::kNone, 0, 9),

    Misc(193, kColImpedance, 0, 0, S::kParamTable, T::kOffOn, 3),
    Unit(195, kColImpedance, 1, 1, 1),
    Unit(197, kColImpedance, 2, 2, 1),
    Unit(199, kColImpedance, 3, 3, 1),
    Unit(201, kColImpedance, 4, 4, 2),
    Unit(203, kColImpedance, 5, 5, 2),
    Unit(205, kColImpedance, 6, 6, 2),

    Misc(208, kColParallel, 0, 0, S::kParamTable, T::kPosition, 3),
    Misc(210, kColParallel, 1, 1, S::kParallelInt, T::kNone, 5, Dim::kSlave),
    Misc(212, kColParallel, 2, 2, S::kParallelTable, T::kOffOn, 3, Dim::kSlave),

    Iface(215, kColLcd, 0, 0, S::kLcd, T::kNone, 0, 4),
    Iface(217, kColLcd, 1, 1, S::kLcd, T::kNone, 1, 4),
    Iface(219, kColLcd, 2, 2, S::kLcd, T::kNone, 2, 4),

    Iface(285, kColSaveRecall, 0, 0, S::kSaveRecallType, T::kSaveRecallType, 0, 2),
    Iface(287, kColSaveRecall, 1, 1, S::kSaveRecallAction, T::kSaveRecallAction, 0, 2),
    Iface(289, kColSaveRecall, 2, 2, S::kSaveRecallMemory, T::kNone, 0, 2),

    Iface(292, kColBarcode, 0, 0, S::kBarcode, T::kNone, 0, 2),
    Iface(294, kColBarcode, 1, 1, S::kBarcode, T::kNone, 1, 2),
    Iface(296, kColBarcode, 2, 2, S::kBarcode, T::kNone, 2, 2),
    Iface(298, kColBarcode, 3, 3, S::kBarcode, T::kNone, 3, 2),
    Iface(300, kColBarcode, 4, 4, S::kBarcode, T::kNone, 4, 2),
    Iface(302, kColBarcode, 5, 5, S::kBarcode, T::kNone, 5, 2),
    Iface(304, kColBarcode, 6, 6, S::kBarcode, T::kNone, 6, 2),
    Iface(306, kColBarcode, 7, 7, S::kBarcode, T::kNone, 7, 2),
    Iface(308, kColBarcode, 8, 8, S::kBarcode, T::kNone, 8, 2),
    Iface(310, kColBarcode, 9, 9, S::kBarcode, T::kNone, 9, 2),
    Iface(312, kColBarcode, 10, 10, S::kBarcode, T::kNone, 10, 2),
    Iface(314, kColBarcode, 11, 11, S::kBarcode, T::kNone, 11, 2),
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
