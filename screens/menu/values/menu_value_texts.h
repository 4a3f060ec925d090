#pragma once
// The texts the MENU page shows for the settings that take one of a few values, by value index.
#include <cstdint>

namespace menu {

enum class TextTable : uint8_t {
    kNone = 0,
    kOutputPhase,
    kPhaseMode,
    kPeakClear,
    kPowerOn,
    kOffOn,
    kResponse,
    kRelay,
    kThdFormat,
    kVoltUnit,
    kMonitorSource,
    kMonitorAmp,
    kTrigSource,
    kUpdateRate,
    kUsbSpeed,
    kUsbMode,
    kRs232Baud,
    kDataBits,
    kParity,
    kStopBits,
    kCanBaud,
    kDnetBaud,
    kPosition,
    kSaveRecallType,
    kSaveRecallAction,
    kCount,
};

// The text of value index in table. Values come from files, remote commands and older stores, so an
// index outside the table (or kNone) gives "" and the row shows nothing.
const char* TableText(TextTable table, int64_t index);

}  // namespace menu
