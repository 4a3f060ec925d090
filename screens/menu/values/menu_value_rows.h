#pragma once
// Where each value of the configuration lists comes from and how it is drawn: one row per value, in its
// column and, for a row that takes the focus, in its own row window. Both painters walk this table.
#include <cstdint>
#include <span>

#include "screens/menu/values/menu_value_texts.h"

namespace menu {

enum class ValueSource : uint8_t {
    kParamTable,   // table text of setting S + 1
    kParamInt,     // "%d" of setting S + 1
    kParamNumber,  // setting S + 1 formatted with its decimals; arg: unit 0 none, 1 inductance, 2 resistance
    kPhase,        // table text of the output phase
    kParallelInt,  // "%d" of setting S + 1, "---" while the unit is a slave
    kParallelTable,  // table text of setting S + 1, "---" while the unit is a slave
    kLanLink,
    kMac,
    kDhcp,
    kLanAddr,  // arg: 0 address, 1 mask, 2 gateway, 3 name server
    kLanPort,
    kWebPassword,
    kUsbLink,
    kUsbSpeed,
    kUsbMode,
    kRs232,  // arg: 0 baud, 1 data bits, 2 parity, 3 stop bits
    kGpib,
    kCanProtocol,
    kCanBaud,
    kCanNode,
    kDnetBaud,
    kDnetMac,
    kLcd,  // arg: byte 0-2
    kSaveRecallType,
    kSaveRecallAction,
    kSaveRecallMemory,
    kBarcode,  // arg: slot 0-11
};

// When a column draws a value dim.
enum class Dim : uint8_t { kNever, kUnless3P4W, kTriggerOff, kIn1P2W, kRs232Off, kSlave };

struct ValueRow {
    uint16_t select;  // select state S (S + 1 edits it); 0 for a caption row without a window
    int8_t column;
    int8_t labelRow;  // row in the column as the row labels count them
    int8_t window;    // row window of the column, -1 none
    ValueSource source;
    TextTable table;
    uint8_t arg;
    int8_t styleSelect;  // value box style on S
    int8_t styleEdit;    // on S + 1
    Dim dim;
};

std::span<const ValueRow> ValueRows();
// The row whose window is row window `window` of column `column`, null for none.
const ValueRow* ValueRowOfWindow(int column, int window);

}  // namespace menu
